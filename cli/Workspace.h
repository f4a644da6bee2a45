#pragma once

#include "cli/json/SettingsJson.h"
#include "cli/terminal/ConsoleView.h"
#include "image/EepromImage.h"
#include "settings/SettingsForm.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

namespace orb {

/// What the window holds for one run: the boxes it would show, the settings form and the image buffer.
struct Workspace {
    /// Starts with the start-up settings and an all-zero image.
    Workspace() : form(view) {}

    ConsoleView view;
    SettingsForm form;
    std::unique_ptr<EepromImage> image = std::make_unique<EepromImage>();
};

/// Loads a settings file and decodes it into the form, as loading it in the window does. A question the
/// decoder asks is answered No and written to notices, and so is each value its field's rule does not
/// allow (OutOfRuleValues): the settings stay as loaded. Throws CliError(Failure) naming the file when it
/// cannot be read, is not an image or cannot be decoded.
void LoadSettingsFrom(const std::string& path, Workspace& workspace, std::ostream& notices);

/// Decodes the first length bytes of the workspace's image, already read from the file named path, as
/// LoadSettingsFrom does.
void DecodeSettingsRead(const std::string& path, std::int32_t length, Workspace& workspace,
                        std::ostream& notices);

/// Encodes the settings into the image and checks its signature, as saving a file does; returns the
/// length L. Throws CliError(Refused) with the window's message when a value cannot be encoded.
std::int32_t EncodeSettings(const SettingsRecord& record, EepromImage& image);

/// Returns the workspace's settings and the reserved bytes of its image as JSON.
Json WorkspaceJson(const Workspace& workspace);

} // namespace orb
