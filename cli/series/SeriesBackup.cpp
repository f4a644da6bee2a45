#include "cli/series/SeriesBackup.h"

#include "cli/CliError.h"
#include "cli/FileAccess.h"
#include "cli/series/SeriesRecord.h"
#include "files/SystemErrorText.h"
#include "files/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <sys/stat.h>

namespace orb {

namespace {

[[noreturn]] void refuseFolder(const std::string& folder, const std::string& why) {
    throw CliError(ExitStatus::Failure, "Do složky záloh '" + folder + "' nelze ukládat. " + why);
}

/// The folder the links lead to, checked as a save checks the folder of a new file.
std::string writableFolder(const std::string& folder) {
    try {
        return FindWriteFolder(folder);
    } catch (const UnwritableTarget& refusal) {
        refuseFolder(folder, refusal.reason());
    }
}

} // namespace

std::string CheckBackupFolder(const std::string& folder, bool mayBeMade) {
    struct stat status {};
    if (mayBeMade && ::lstat(folder.c_str(), &status) != 0 && errno == ENOENT) return folder;
    return writableFolder(folder);
}

std::string SaveSeriesBackup(const std::string& folder, const std::string& device, int row,
                             const std::vector<std::uint8_t>& memory) {
    // Only the folder itself is made: the one it stands in was checked before the first unit.
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        refuseFolder(folder, DescribeSystemError({errno, std::generic_category()}));
    std::string name = device.starts_with("/dev/") ? device.substr(5) : device;
    std::replace(name.begin(), name.end(), '/', '_');
    std::string stamp = IsoTime(std::chrono::system_clock::now()).substr(0, 19);
    std::erase(stamp, ':');
    std::erase(stamp, '-');
    const std::string path = (std::filesystem::path(writableFolder(folder)) /
                              (stamp + "-" + name + "-" + std::to_string(row) + ".eep"))
                                 .string();
    SaveFileBytes(path, memory);
    return path;
}

} // namespace orb
