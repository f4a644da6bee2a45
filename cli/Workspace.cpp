#include "cli/Workspace.h"

#include "cli/CliError.h"
#include "cli/FileAccess.h"
#include "cli/terminal/TerminalText.h"
#include "files/FileMessages.h"
#include "files/SettingsFile.h"
#include "image/CodecMessages.h"
#include "image/conversion/SettingsConversion.h"
#include "image/DecodeImage.h"
#include "settings/OutOfRuleValues.h"

namespace orb {

void LoadSettingsFrom(const std::string& path, Workspace& workspace, std::ostream& notices) {
    DecodeSettingsRead(path, LoadImageBytes(path, *workspace.image), workspace, notices);
}

void DecodeSettingsRead(const std::string& path, std::int32_t length, Workspace& workspace,
                        std::ostream& notices) {
    if (!HoldsWholeImage(*workspace.image, length))
        throw CliError(ExitStatus::Failure, file_messages::notAnImage(path));
    const bool decoded = DecodeImage(*workspace.image, workspace.form);
    const std::vector<ShownBox> boxes = workspace.view.takeBoxes();
    // The decoder refuses before it changes anything, with its one box and no question.
    if (!decoded) throw CliError(ExitStatus::Failure, path + ": " + DecodeErrorText);
    for (const ShownBox& box : boxes)
        for (const std::string& line : BoxLines(box))
            notices << "orbctl: " << TerminalText(path) << ": " << line << std::endl;
    for (const OutOfRuleValue& value : OutOfRuleValues(workspace.form.record()))
        notices << "orbctl: " << TerminalText(path) << ": " << TerminalText(OutOfRuleText(value))
                << std::endl;
}

std::int32_t EncodeSettings(const SettingsRecord& record, EepromImage& image) {
    const EncodedSettings encoded = EncodeForSaving(record, image);
    if (!encoded.fault) return encoded.length;
    // A terminal user also learns the kind of value the encoder stopped at.
    throw CliError(ExitStatus::Refused,
                   file_messages::encodeRefusal(*encoded.fault) +
                       (encoded.reason.empty() ? "" : " (" + std::string(encoded.reason) + ")"));
}

Json WorkspaceJson(const Workspace& workspace) {
    return SettingsToJson(workspace.form.record(), ReadReservedBytes(*workspace.image));
}

} // namespace orb
