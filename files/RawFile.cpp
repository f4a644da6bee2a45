#include "files/RawFile.h"

#include "files/FileMessages.h"
#include "files/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace orb {

namespace {

[[noreturn]] void throwErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

/// Owns a POSIX file descriptor; closing is checked where it matters by the caller.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    /// Closes now and reports the error a delayed write-back may surface at close.
    void close(const std::string& what) {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) throwErrno(what);
    }

  private:
    int fd_;
};

/// How long a caller that must not wait gives a FIFO or device for one piece, and for the whole content.
constexpr std::chrono::milliseconds PieceLimit{1000};
constexpr std::chrono::milliseconds WholeReadLimit{5000};

/// The open flags that keep a FIFO or device from blocking the caller when it must not wait.
int streamFlags(StreamWait wait) {
    return wait == StreamWait::Never ? O_NONBLOCK : 0;
}

void writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throwErrno("write");
        }
        done += static_cast<std::size_t>(n);
    }
}

struct Temporary {
    std::string path;
    int fd;
};

/// Opens a new, uniquely named file beside the target; permissions follow the umask like any new file.
Temporary createTemporary(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path();
    for (int attempt = 0;; ++attempt) {
        std::filesystem::path candidate =
            folder / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
                      std::to_string(attempt));
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return {candidate.string(), fd};
        if (errno != EEXIST || attempt == 100) throwErrno("create " + candidate.string());
    }
}

/// Makes the rename survive a power cut where the folder lets itself be opened. The new file is already
/// in place by then, so a folder that cannot be opened for reading is no reason to report a failed save.
void syncFolder(const std::filesystem::path& folder) {
    Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

/// Writes into a device or FIFO as it is: it has no folder entry to replace and nothing to sync. Without
/// waiting, a FIFO nobody reads fails to open (ENXIO) and one whose reader lags fails to take the bytes.
void writeInto(const std::string& path, const std::vector<std::uint8_t>& bytes, StreamWait wait) {
    Descriptor stream(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | streamFlags(wait)));
    if (stream.get() < 0) throwErrno("open " + path);
    writeAll(stream.get(), bytes);
    stream.close("close " + path);
}

/// Gives the new file of a replaced one its owner and group where the user may set them (root may; anyone
/// else only a group of theirs), and its permissions without setuid and setgid: a program's new content
/// must not run with the rights the old one was granted.
void keepOwnerAndPermissions(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Not root: the group alone, where the user belongs to it; else the new file is the user's own,
        // as any file the user creates, and the save goes on.
        [[maybe_unused]] const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    if (::fchmod(fd, old.st_mode & 07777 & ~(S_ISUID | S_ISGID)) != 0) throwErrno("keep permissions");
}

/// Puts the bytes in a temporary file beside the target and renames it over the target once they are
/// on disk; a file that existed keeps its owner and permissions as far as keepOwnerAndPermissions may.
void replaceWhole(const std::filesystem::path& target, bool exists, const std::vector<std::uint8_t>& bytes) {
    struct stat old {};
    if (exists && ::stat(target.c_str(), &old) != 0) throwErrno("stat " + target.string());

    const auto [temporary, fd] = createTemporary(target);
    Descriptor file(fd);
    try {
        if (exists) keepOwnerAndPermissions(file.get(), old);
        writeAll(file.get(), bytes);
        if (::fsync(file.get()) != 0) throwErrno("sync");
        file.close("close");
        if (::rename(temporary.c_str(), target.c_str()) != 0) throwErrno("rename");
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    syncFolder(target.parent_path());
}

/// The target of a save that must leave a regular file: a device or FIFO is refused.
WriteTarget regularFileTarget(const std::string& path) {
    WriteTarget target = FindWriteTarget(path);
    if (target.kind == WriteTarget::Kind::Stream)
        throw UnwritableTarget(std::errc::invalid_argument, file_messages::TargetNotAFile);
    return target;
}

} // namespace

void ReplaceFileContent(const std::string& path, const std::vector<std::uint8_t>& bytes, StreamWait wait) {
    const WriteTarget target = FindWriteTarget(path);
    if (target.kind == WriteTarget::Kind::Stream)
        writeInto(target.path, bytes, wait);
    else
        replaceWhole(target.path, target.kind == WriteTarget::Kind::RegularFile, bytes);
}

void ReplaceRegularFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const WriteTarget target = regularFileTarget(path);
    replaceWhole(target.path, target.kind == WriteTarget::Kind::RegularFile, bytes);
}

int OpenForAppending(const std::string& path) {
    // The target found is opened without following a link again and without waiting, so that a link or
    // FIFO put there after the check fails the opening instead of being followed or waited on.
    for (int attempt = 0;; ++attempt) {
        const WriteTarget target = regularFileTarget(path);
        const int create = target.kind == WriteTarget::Kind::NewFile ? O_CREAT | O_EXCL : 0;
        const int fd =
            ::open(target.path.c_str(),
                   O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | create, 0666);
        // Another program created the name between the check and the opening: it is checked anew.
        if (fd < 0 && errno == EEXIST && attempt < 3) continue;
        if (fd < 0) throwErrno("open " + target.path);
        struct stat status {};
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(fd);
            throw UnwritableTarget(std::errc::invalid_argument, file_messages::TargetNotAFile);
        }
        return fd;
    }
}

std::vector<std::uint8_t> ReadDescriptorContent(int descriptor, std::size_t maxSize, StreamWait wait) {
    // A writer that trickles a byte now and then never lets a second pass idle, so the caller that must
    // not wait also has a limit for the whole read.
    const auto deadline = std::chrono::steady_clock::now() + WholeReadLimit;
    const auto waitLimit = [&] {
        if (wait == StreamWait::UntilReady) return -1;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        return static_cast<int>(
            std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, PieceLimit.count()));
    };
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[8192];
    for (;;) {
        ssize_t n = ::read(descriptor, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            // A non-blocking descriptor with nothing to give yet: wait for its writer, at most a second for
            // each piece and WholeReadLimit in all where the caller must not wait.
            if (errno == EAGAIN) {
                pollfd ready{descriptor, POLLIN, 0};
                const int polled = ::poll(&ready, 1, waitLimit());
                if (polled > 0 || (polled < 0 && errno == EINTR)) continue;
                if (polled == 0) errno = ETIMEDOUT;
            }
            throwErrno("read");
        }
        if (n == 0) return bytes;
        if (bytes.size() + static_cast<std::size_t>(n) > maxSize)
            throw std::system_error(std::make_error_code(std::errc::file_too_large), "read");
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (wait == StreamWait::Never && std::chrono::steady_clock::now() >= deadline)
            throw std::system_error(std::make_error_code(std::errc::timed_out), "read");
    }
}

void WriteDescriptorContent(int descriptor, const std::vector<std::uint8_t>& bytes) {
    writeAll(descriptor, bytes);
}

std::vector<std::uint8_t> ReadFileContent(const std::string& path, std::size_t maxSize, StreamWait wait) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | streamFlags(wait)));
    if (file.get() < 0) throwErrno("open " + path);
    return ReadDescriptorContent(file.get(), maxSize, wait);
}

} // namespace orb
