#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orb {

/// Checks, before any unit is greeted, that backups can go into the folder as every save checks its
/// target (SeriesBackup.cpp); returns the folder its links lead to, which the backups then go into. A
/// folder that does not exist yet is let be when it may be made at the first backup (the folder beside
/// the log), and refused otherwise (--backup-dir). Throws CliError(Failure) naming the folder and why.
std::string CheckBackupFolder(const std::string& folder, bool mayBeMade);

/// Saves a unit's whole memory, just read, into a new file in the folder, named by the time, the port's
/// device and the row ("20240501T101502-ttyUSB0-3.eep"); makes the folder when it is missing. The file is
/// saved as every save is, and must be a file: a link another user planted in a shared folder, a device
/// or a FIFO is refused, never followed or waited on. Returns the file's path; throws CliError(Failure).
std::string SaveSeriesBackup(const std::string& folder, const std::string& device, int row,
                             const std::vector<std::uint8_t>& memory);

} // namespace orb
