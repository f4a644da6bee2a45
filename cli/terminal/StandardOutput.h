#pragma once

#include <optional>
#include <string>

namespace orb {

/// Makes a write to standard output that fails throw (std::ios_base::failure) at once, so that a command
/// stops at the first line a full disk or a closed pipe refuses, with the system's reason still in errno.
void StopAtFailedOutput();

/// Says in Czech that standard output failed and, when the error number is known (not 0), why.
std::string StandardOutputFailure(int error);

/// Hands on what is still buffered for standard output and closes it, as GNU tools do at their end: a
/// full disk, a closed or broken pipe must fail the run instead of ending it in silence. Returns the
/// sentence that says why it failed, or nothing when everything reached it.
std::optional<std::string> CloseStandardOutput();

} // namespace orb
