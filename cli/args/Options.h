#pragma once

#include "common/GnuOptions.h"

#include <bitset>
#include <initializer_list>
#include <span>
#include <string>

namespace orb {

/// Every option orbctl knows, whichever command takes it.
enum OptionId {
    Output,
    Port,
    Units,
    Log,
    Count,
    BackupDir,
    Memory,
    Timeout,
    NoVerify,
    Verify,
    Backup,
    Force,
    SettingsOnly,
    Strict,
    Json,
    AcceptCorrections,
    Again,
    DryRun,
    Help,
    Version,
    OptionCount
};

/// A set of options: those a command takes, or those a command line gives.
class OptionSet {
  public:
    constexpr OptionSet() = default;
    constexpr OptionSet(std::initializer_list<OptionId> options) {
        for (const OptionId option : options)
            bits_ |= 1u << option;
    }
    constexpr bool has(OptionId option) const { return (bits_ >> option) & 1u; }
    constexpr void add(OptionId option) { bits_ |= 1u << option; }

  private:
    static_assert(OptionCount <= 32);
    unsigned bits_ = 0;
};

/// Returns the definitions the GNU reader takes the arguments by.
std::span<const OptionDefinition> OptionTable();

/// Returns the option as a message names it: by its letter where it has one ("-o"), else "--port".
std::string OptionSpelling(OptionId option);

} // namespace orb
