#include "files/WriteTarget.h"

#include "files/FileMessages.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
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

/// Refuses a link the kernel protects: in a folder everybody may write into and only the owner of an
/// entry may remove it from (the shared temporary folder), a link is followed only by its owner, or when
/// it belongs to the folder's owner. Anyone else may have planted it there to point a save made by
/// another user, such as root, at a file of that user's. The rule holds whether or not the kernel
/// enforces it for this system: the save follows the link itself, where the kernel cannot.
void requireFollowable(const fs::path& link, const struct stat& linkStatus) {
    const fs::path folder = link.parent_path().empty() ? fs::path(".") : link.parent_path();
    struct stat folderStatus {};
    if (::stat(folder.c_str(), &folderStatus) != 0) return; // the save itself names what is missing
    const bool shared = (folderStatus.st_mode & S_ISVTX) != 0 && (folderStatus.st_mode & S_IWOTH) != 0;
    if (shared && linkStatus.st_uid != ::geteuid() && linkStatus.st_uid != folderStatus.st_uid)
        throw UnwritableTarget(std::errc::permission_denied, msg::foreignLink(shownFolder(folder.string())));
}

/// Follows the path's own links, as far as they lead, to the name the save replaces or creates; the
/// links of the folders on the way are the kernel's to follow.
fs::path followLinks(fs::path path) {
    for (int hops = 0;; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        if (hops == MaxLinkHops)
            throw UnwritableTarget(std::errc::too_many_symbolic_link_levels, msg::LinkLoop);
        requireFollowable(path, status);
        const fs::path link = fs::read_symlink(path);
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
}

} // namespace

std::string FindWriteFolder(const std::string& path) {
    // "zalohy/" would let the lookup follow a link named zalohy itself; the name is looked at bare.
    fs::path folder(path);
    if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
    folder = followLinks(folder);
    requireWritableFolder(folder);
    return folder.string();
}

WriteTarget FindWriteTarget(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ELOOP) throw UnwritableTarget(std::errc::too_many_symbolic_link_levels, msg::LinkLoop);
        const fs::path name = followLinks(path);
        requireWritableFolder(name.parent_path());
        return {name.string(), WriteTarget::Kind::NewFile};
    }
    if (S_ISDIR(status.st_mode)) throw UnwritableTarget(std::errc::is_a_directory, msg::TargetIsFolder);
    if (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode)) {
        if (!mayWrite(path)) refuseAccess(msg::FileReadOnly);
        return {path, WriteTarget::Kind::Stream};
    }
    if (!S_ISREG(status.st_mode)) throw UnwritableTarget(std::errc::invalid_argument, msg::TargetOfOtherKind);
    const fs::path file = followLinks(path);
    if (!mayWrite(file)) refuseAccess(msg::FileReadOnly);
    requireWritableFolder(file.parent_path());
    return {file.string(), WriteTarget::Kind::RegularFile};
}

} // namespace orb
