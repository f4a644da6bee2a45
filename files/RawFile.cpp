#include "files/RawFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
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

} // namespace

void ReplaceFileContent(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path target = path;
    std::error_code ignored;
    if (std::filesystem::is_symlink(target, ignored)) target = std::filesystem::weakly_canonical(target);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;

    const auto [temporary, fd] = createTemporary(target);
    Descriptor file(fd);
    try {
        if (exists && S_ISREG(old.st_mode) && ::fchmod(file.get(), old.st_mode & 07777) != 0)
            throwErrno("keep permissions");
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

std::vector<std::uint8_t> ReadFileContent(const std::string& path, std::size_t maxSize) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) throwErrno("open " + path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[8192];
    for (;;) {
        ssize_t n = ::read(file.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            throwErrno("read " + path);
        }
        if (n == 0) return bytes;
        if (bytes.size() + static_cast<std::size_t>(n) > maxSize)
            throw std::system_error(std::make_error_code(std::errc::file_too_large), path);
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
}

} // namespace orb
