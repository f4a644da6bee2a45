#pragma once

#include <stdexcept>
#include <string>

namespace orb {

/// How orbctl ends; the numbers are part of its interface for scripts.
enum class ExitStatus {
    Success = 0,
    Refused = 1, ///< a value, a rule or the unit refused; or two files differ
    Usage = 2,   ///< the command line is wrong
    Failure = 3, ///< a file, the port or the unit could not be read or written
};

/// Ends the running command with a message for standard error and an exit status; main catches it.
class CliError : public std::runtime_error {
  public:
    /// Carries the message (without the program's name) and the status orbctl ends with.
    CliError(ExitStatus status, const std::string& message) : std::runtime_error(message), status_(status) {}
    /// Returns the status orbctl ends with.
    ExitStatus status() const { return status_; }

  private:
    ExitStatus status_;
};

} // namespace orb
