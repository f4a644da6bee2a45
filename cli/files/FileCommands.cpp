#include "cli/files/FileCommands.h"

#include "cli/FileAccess.h"
#include "cli/json/SettingsDiff.h"
#include "cli/terminal/TerminalText.h"
#include "cli/Workspace.h"
#include "print/ReportLines.h"

namespace orb {

ExitStatus RunShow(const CommandLine& line, std::ostream& out, std::ostream& err) {
    Workspace workspace;
    LoadSettingsFrom(line.files[0], workspace, err);
    PrintReport(workspace.form.record(), out);
    return ExitStatus::Success;
}

void PrintReport(const SettingsRecord& record, std::ostream& out) {
    for (const std::string& text : ReportLines(record))
        out << TerminalText(text) << '\n';
}

ExitStatus RunDiff(const CommandLine& line, std::ostream& out, std::ostream& err) {
    Workspace a;
    Workspace b;
    LoadSettingsFrom(line.files[0], a, err);
    LoadSettingsFrom(line.files[1], b, err);
    return ListDifferences(WorkspaceJson(a), WorkspaceJson(b), out);
}

ExitStatus ListDifferences(const Json& a, const Json& b, std::ostream& out) {
    const std::vector<std::string> lines = DiffSettings(a, b);
    for (const std::string& text : lines)
        out << TerminalText(text) << '\n';
    return lines.empty() ? ExitStatus::Success : ExitStatus::Refused;
}

} // namespace orb
