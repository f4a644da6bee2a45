#include "cli/args/Options.h"

#include <algorithm>

namespace orb {

namespace {

constexpr OptionDefinition Definitions[] = {
    {Output, "output", 'o', true},
    {Port, "port", 0, true},
    {Units, "units", 0, true},
    {Log, "log", 0, true},
    {Count, "count", 0, true},
    {BackupDir, "backup-dir", 0, true},
    {Memory, "memory", 0, true},
    {Timeout, "timeout", 0, true},
    {NoVerify, "no-verify"},
    {Verify, "verify"},
    {Backup, "backup", 0, true},
    {Force, "force"},
    {SettingsOnly, "settings-only"},
    {Strict, "strict"},
    {Json, "json"},
    {AcceptCorrections, "accept-corrections"},
    {Again, "again"},
    {DryRun, "dry-run"},
    {Help, "help", 'h'},
    {Version, "version", 'V'},
};
static_assert(std::size(Definitions) == OptionCount);

} // namespace

std::span<const OptionDefinition> OptionTable() {
    return Definitions;
}

std::string OptionSpelling(OptionId option) {
    const OptionDefinition& definition =
        *std::ranges::find(Definitions, static_cast<int>(option), &OptionDefinition::id);
    if (definition.letter != 0) return std::string("-") + definition.letter;
    return "--" + std::string(definition.name);
}

} // namespace orb
