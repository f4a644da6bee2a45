#pragma once

#include "common/Progress.h"
#include "common/Prompter.h"
#include "image/EepromImage.h"
#include "settings/SettingsForm.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orb {

/// The filter and default suffix of the settings-file dialogs; a name typed without a suffix gets ".eep".
inline constexpr const char* SettingsFileFilter = "EEPROM (*.eep)";
inline constexpr const char* SettingsFileSuffix = "eep";

/// The open and save dialogs of the settings files; the window shows the platform's own.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    /// Asks where to save; nothing when the user cancels. Must not ask about overwriting itself.
    virtual std::optional<std::string> chooseSaveFile() = 0;
    /// Asks for an existing file to load; nothing when the user cancels.
    virtual std::optional<std::string> chooseOpenFile() = 0;
    /// Learns the file that now holds the settings or gave them, once a save or a load succeeded.
    virtual void settingsFileUsed(const std::string& /*name*/) {}
};

/// Encodes the settings into the image and saves its used part to a file the user chooses (btFileSave);
/// once saved, the form's settings count as kept and the dialogs learn the file. Returns true once the
/// file holds the settings.
bool SaveSettingsFile(SettingsForm& form, EepromImage& image, Progress& progress, FileDialogs& dialogs);

/// Loads a file the user chooses into the image and decodes it into the form (btFileLoad); once decoded
/// whole, the form's settings count as kept and the dialogs learn the file.
void LoadSettingsFile(SettingsForm& form, EepromImage& image, Progress& progress, FileDialogs& dialogs);
/// Loads the named file as btFileLoad does once the user has chosen it, with the same messages: settings
/// changed since they were last kept are first offered for saving (dialogs give the save dialog), and stay
/// when the user keeps them.
void LoadSettingsFile(SettingsForm& form, EepromImage& image, Progress& progress, FileDialogs& dialogs,
                      const std::string& name);

/// Writes image bytes 0..length-1 to the file. The old file stays untouched until the new content is
/// complete on disk. Returns false on a file error.
bool WriteImageFile(const std::string& name, const EepromImage& image, std::int32_t length,
                    Progress& progress);

/// Tells whether a file of `length` bytes just read into the image from address 0 is a settings file:
/// a whole header with the signature, and every byte the decoder reads within the file. A truncated copy
/// fails here, so the bytes the buffer held beyond the file's end never reach the settings.
bool HoldsWholeImage(const EepromImage& image, std::int32_t length);

/// Reads a whole file of at most 65,536 bytes into the image from address 0; bytes beyond its end keep
/// their value. Returns the number of bytes read, or nothing, with the image untouched, when the file
/// cannot be read or is too long.
std::optional<std::int32_t> ReadImageFile(const std::string& name, EepromImage& image, Progress& progress);

} // namespace orb
