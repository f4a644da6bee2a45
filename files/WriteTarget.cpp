#include "files/WriteTarget.h"

#include "files/FileMessages.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace orb {

namespace msg = file_messages;
namespace fs = std::filesystem;

namespace {

/// The kernel's own limit on links followed in one lookup.
constexpr int MaxLinkHops = 40;

/// Asks whether the running user may write there; the effective identity decides, as it does for open.
bool mayWrite(const fs::path& path, int mode = W_OK) {
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

[[noreturn]] void refuseAccess(const std::string& notPermitted) {
    if (errno == EROFS) throw UnwritableTarget(std::errc::read_only_file_system, msg::ReadOnlyDisk);
    throw UnwritableTarget(std::errc::permission_denied, notPermitted);
}

std::string shownFolder(const fs::path& folder) {
    return folder.empty() ? fs::current_path().string() : folder.string();
}

/// Checks that a new file can be created in the folder, and the rename that replaces a file done there.
void requireWritableFolder(const fs::path& folder) {
    const fs::path existing = folder.empty() ? fs::path(".") : folder;
    struct stat status {};
    if (::stat(existing.c_str(), &status) != 0) {
        if (errno == ENOENT)
            throw UnwritableTarget(std::errc::no_such_file_or_directory,
                                   msg::folderMissing(shownFolder(folder)));
        if (errno == ENOTDIR)
            throw UnwritableTarget(std::errc::not_a_directory, msg::folderMissing(shownFolder(folder)));
        refuseAccess(msg::folderReadOnly(shownFolder(folder)));
    }
    if (!S_ISDIR(status.st_mode))
        throw UnwritableTarget(std::errc::not_a_directory, msg::notAFolder(shownFolder(folder)));
    if (!mayWrite(existing, W_OK | X_OK)) refuseAccess(msg::folderReadOnly(shownFolder(folder)));
}

/// Follows the links of a name that leads nowhere yet, down to the name the new file will have.
fs::path followToNewName(fs::path path) {
    for (int hops = 0;; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        if (hops == MaxLinkHops)
            throw UnwritableTarget(std::errc::too_many_symbolic_link_levels, msg::LinkLoop);
        const fs::path link = fs::read_symlink(path);
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
}

std::string realPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) throw std::system_error(errno, std::generic_category(), "resolve " + path);
    return resolved.get();
}

} // namespace

WriteTarget FindWriteTarget(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ELOOP) throw UnwritableTarget(std::errc::too_many_symbolic_link_levels, msg::LinkLoop);
        const fs::path name = followToNewName(path);
        requireWritableFolder(name.parent_path());
        return {name.string(), WriteTarget::Kind::NewFile};
    }
    if (S_ISDIR(status.st_mode)) throw UnwritableTarget(std::errc::is_a_directory, msg::TargetIsFolder);
    if (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode)) {
        if (!mayWrite(path)) refuseAccess(msg::FileReadOnly);
        return {path, WriteTarget::Kind::Stream};
    }
    if (!S_ISREG(status.st_mode)) throw UnwritableTarget(std::errc::invalid_argument, msg::TargetOfOtherKind);
    const fs::path file = realPath(path);
    if (!mayWrite(file)) refuseAccess(msg::FileReadOnly);
    requireWritableFolder(file.parent_path());
    return {file.string(), WriteTarget::Kind::RegularFile};
}

} // namespace orb
