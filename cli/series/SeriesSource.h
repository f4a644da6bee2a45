#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

namespace orb {

/// Reads a file a series is made of (the template, UNITS.csv) whole and once, before any unit is
/// greeted: a regular file, or standard input ("-", /dev/stdin), a pipe, a FIFO or a device up to its end.
/// A terminal is refused, as nobody types a series' rows and a wait for them would look like a hang.
/// When nothing has come for a second, says once on err what the series waits for, and from then on calls
/// checkStop every second, which throws to end the wait. Throws CliError naming the file when it cannot
/// be read or holds more than maxSize bytes.
std::string ReadSeriesSource(const std::string& path, std::size_t maxSize, std::ostream& err,
                             const std::function<void()>& checkStop);

/// Tells whether the path names the standard input ("-" or /dev/stdin), which can be read only once.
bool NamesStandardInput(const std::string& path);

} // namespace orb
