#include "cli/terminal/StandardOutput.h"

#include "files/SystemErrorText.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

namespace orb {

void StopAtFailedOutput() {
    std::cout.exceptions(std::ios::badbit);
}

std::string StandardOutputFailure(int error) {
    const std::string failed = "Zápis na standardní výstup se nezdařil.";
    if (error == 0) return failed; // an earlier flush failed, and its reason is gone
    if (error == EBADF) return failed + " Standardní výstup je zavřený.";
    return failed + " " + DescribeSystemError(std::error_code(error, std::generic_category()));
}

std::optional<std::string> CloseStandardOutput() {
    errno = 0;
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    if (!written) return StandardOutputFailure(errno);
    // Closing shows what the system kept back until then (a file on a full network disk, say). A
    // standard output closed before the program started is no failure while nothing went to it.
    if (std::fclose(stdout) != 0 && errno != EBADF) return StandardOutputFailure(errno);
    return std::nullopt;
}

} // namespace orb
