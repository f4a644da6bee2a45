#include "files/SettingsFile.h"

#include "common/ShownProgress.h"
#include "files/FileMessages.h"
#include "files/RawFile.h"
#include "files/UnsavedSettings.h"
#include "files/WriteTarget.h"
#include "image/conversion/SettingsConversion.h"
#include "image/DecodeImage.h"
#include "settings/OutOfRuleValues.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace orb {

namespace msg = file_messages;

namespace {

/// The header with its signature and checksum ends at address 26; a shorter file cannot be an image,
/// whatever the buffer held before it.
constexpr std::int32_t HeaderLength = 27;

bool fileExists(const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(name, error);
}

} // namespace

bool HoldsWholeImage(const EepromImage& image, std::int32_t length) {
    return length >= HeaderLength && CheckImageSignature(image) && ImageFitsIn(image, length);
}

bool SaveSettingsFile(SettingsForm& form, EepromImage& image, Progress& progress, FileDialogs& dialogs) {
    const std::optional<std::string> name = dialogs.chooseSaveFile();
    if (!name) return false;
    Prompter& prompter = form.view();
    const SettingsRecord saved = form.record();
    if (const EncodedSettings encoded = EncodeForSaving(saved, image); encoded.fault) {
        tell(prompter, msg::SaveTitle, msg::encodeRefusal(*encoded.fault), MessageIcon::Critical);
        return false;
    }
    // A file the user may not write is refused before the overwrite question, with the reason.
    try {
        CheckFileWritable(*name);
    } catch (const UnwritableTarget& refusal) {
        tell(prompter, msg::SaveTitle, msg::saveRefused(*name, refusal.reason()), MessageIcon::Critical);
        return false;
    }
    // The file holds U - 1 bytes, U being the usage the window shows (at least one byte).
    const std::int32_t length = std::max(form.imageUsage() - 1, 1);
    if (fileExists(*name)) {
        const Message question{msg::OverwriteTitle, msg::OverwriteQuestion, MessageIcon::Question,
                               MessageButtons::YesNo};
        if (prompter.ask(question) != Answer::Yes) return false;
    }
    if (!WriteImageFile(*name, image, length, progress)) {
        tell(prompter, msg::SaveTitle, msg::saveFailed(*name), MessageIcon::Critical);
        return false;
    }
    form.markSettingsKept(saved);
    dialogs.settingsFileUsed(*name);
    return true;
}

bool WriteImageFile(const std::string& name, const EepromImage& image, std::int32_t length,
                    Progress& progress) {
    const ShownProgress shown(progress, msg::saving(name), false);
    try {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
        for (std::int32_t i = 0; i < length; ++i)
            bytes[static_cast<std::size_t>(i)] = image.getByte(i);
        ReplaceFileContent(name, bytes, StreamWait::Never);
    } catch (const std::runtime_error&) { // a file error, or a length beyond the buffer
        return false;
    }
    return true;
}

void LoadSettingsFile(SettingsForm& form, EepromImage& image, Progress& progress, FileDialogs& dialogs) {
    if (const std::optional<std::string> name = dialogs.chooseOpenFile())
        LoadSettingsFile(form, image, progress, dialogs, *name);
}

void LoadSettingsFile(SettingsForm& form, EepromImage& image, Progress& progress, FileDialogs& dialogs,
                      const std::string& name) {
    // Asked before the file is read: saving the edits goes through the same image buffer.
    if (!OfferToSaveChangedSettings(form, image, progress, dialogs, msg::LoadTitle)) return;
    FormView& view = form.view();
    const std::optional<std::int32_t> length = ReadImageFile(name, image, progress);
    if (!length) {
        tell(view, msg::LoadTitle, msg::loadFailed(name), MessageIcon::Critical);
        return;
    }
    if (!HoldsWholeImage(image, *length)) {
        tell(view, msg::LoadTitle, msg::notAnImage(name), MessageIcon::Information);
        return;
    }
    if (!DecodeIntoForm(image, form, progress)) return;
    dialogs.settingsFileUsed(name);
    tell(view, msg::LoadTitle, msg::loaded(name), MessageIcon::Information);
    std::string outOfRule;
    for (const OutOfRuleValue& value : OutOfRuleValues(form.record()))
        outOfRule += (outOfRule.empty() ? "" : "\n") + OutOfRuleText(value);
    if (!outOfRule.empty()) tell(view, msg::LoadTitle, msg::outOfRule(outOfRule), MessageIcon::Exclamation);
}

std::optional<std::int32_t> ReadImageFile(const std::string& name, EepromImage& image, Progress& progress) {
    const ShownProgress shown(progress, msg::loading(name), false);
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileContent(name, EepromImage::Size, StreamWait::Never);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    const auto length = static_cast<std::int32_t>(bytes.size());
    for (std::int32_t i = 0; i < length; ++i)
        image.putByte(i, bytes[static_cast<std::size_t>(i)]);
    return length;
}

} // namespace orb
