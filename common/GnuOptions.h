#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

/// One option a program takes.
struct OptionDefinition {
    int id;                ///< how the program tells its options apart
    std::string_view name; ///< the long name, without "--"
    char letter = 0;       ///< the short name; 0 when there is none
    bool takesValue = false;
};

/// An option as the command line gave it.
struct GivenOption {
    int id;
    std::string value; ///< empty for an option that takes no value
};

struct GivenArguments {
    std::vector<GivenOption> options; ///< in the order given
    std::vector<std::string> operands;
};

/// What is wrong with a command line; each program says it in its own words.
class OptionError : public std::runtime_error {
  public:
    enum class Kind { Unknown, Ambiguous, MissingValue, UnexpectedValue };
    OptionError(Kind kind, std::string option)
        : std::runtime_error(option), kind_(kind), option_(std::move(option)) {}
    Kind kind() const { return kind_; }
    /// The option as the user wrote it ("--bogus", "-q") or as it is spelled ("--port").
    const std::string& option() const { return option_; }

  private:
    Kind kind_;
    std::string option_;
};

/// Reads arguments with the GNU conventions of glibc's getopt_long: options and operands in any order,
/// "--" ends the options, "-" is an operand, a short option's value attached or apart ("-ob.json",
/// "-o b.json"), a long option's after "=" or apart, clustered short flags, and a long option abbreviated
/// to any prefix no other option shares. Throws OptionError at the first argument it cannot take.
GivenArguments ReadGnuOptions(std::span<const OptionDefinition> definitions,
                              const std::vector<std::string>& args);

/// The error as orb and orbctl say it.
std::string CzechText(const OptionError& error);

} // namespace orb
