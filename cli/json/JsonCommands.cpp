#include "cli/json/JsonCommands.h"

#include "cli/FileAccess.h"
#include "cli/json/JsonImport.h"
#include "cli/json/JsonText.h"
#include "cli/json/SettingsSchema.h"
#include "cli/terminal/TerminalText.h"
#include "cli/Workspace.h"

#include <memory>

namespace orb {

namespace {

/// Writes a JSON document to -o, or to out without it.
ExitStatus writeJson(const CommandLine& line, const Json& json, std::ostream& out) {
    const std::string text = json.dump(2) + "\n";
    if (line.output)
        SaveTextFile(*line.output, text);
    else
        out << text;
    return ExitStatus::Success;
}

} // namespace

ExitStatus RunExport(const CommandLine& line, std::ostream& out, std::ostream& err) {
    Workspace workspace;
    LoadSettingsFrom(line.files[0], workspace, err);
    return writeJson(line, WorkspaceJson(workspace), out);
}

ExitStatus RunSchema(const CommandLine& line, std::ostream& out) {
    return writeJson(line, SettingsSchema(), out);
}

ExitStatus RunImport(const CommandLine& line, std::ostream&, std::ostream& err) {
    const std::string& path = line.files[0];
    Json json;
    try {
        json = ParseSettingsJson(LoadTextFile(path));
    } catch (const JsonTextError& error) {
        throw CliError(ExitStatus::Refused, path + ": " + error.what());
    }
    auto image = std::make_unique<EepromImage>();
    ImportOutcome outcome = ImportJson(json, line.memory, *image);
    const auto say = [&](const std::string& text) {
        err << "orbctl: " << TerminalText(path) << ": " << TerminalText(text) << std::endl;
    };
    if (line.strict)
        for (const Correction& correction : outcome.corrections)
            outcome.refusals.push_back(
                {"", CorrectionText(correction) + "; s volbou --strict se soubor nezapíše."});
    for (const Refusal& refusal : outcome.refusals)
        say((refusal.setting.empty() ? "" : refusal.setting + ": ") + refusal.message);
    if (!outcome.refusals.empty()) return ExitStatus::Refused;
    for (const Correction& correction : outcome.corrections)
        say(CorrectionText(correction));
    SaveImageBytes(*line.output, *image, outcome.length);
    return ExitStatus::Success;
}

} // namespace orb
