#include "cli/series/SeriesSource.h"

#include "cli/CliError.h"
#include "cli/terminal/TerminalText.h"
#include "files/FileMessages.h"
#include "files/SystemErrorText.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orb {

namespace {

constexpr int SecondMs = 1000;

[[noreturn]] void readFailed(const std::string& path, int error) {
    throw CliError(ExitStatus::Failure, file_messages::loadFailed(path) + " " +
                                            DescribeSystemError({error, std::generic_category()}));
}

/// The descriptor the path names, closed on every way out unless it is the standard input.
class Source {
  public:
    explicit Source(const std::string& path)
        : fd_(path == "-" ? STDIN_FILENO
                          : ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
          owned_(path != "-") {
        if (fd_ < 0) readFailed(path, errno);
    }
    ~Source() {
        if (owned_) ::close(fd_);
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
    bool owned_;
};

} // namespace

std::string ReadSeriesSource(const std::string& path, std::size_t maxSize, std::ostream& err,
                             const std::function<void()>& checkStop) {
    const Source source(path);
    if (::isatty(source.fd()) == 1)
        throw CliError(ExitStatus::Usage, "'" + path +
                                              "' je terminál: série čte šablonu i JEDNOTKY.csv celé, "
                                              "dřív než pozdraví první zařízení; zadejte soubor nebo ho "
                                              "přesměrujte (< jednotky.csv).");
    struct stat status {};
    const bool regular = ::fstat(source.fd(), &status) == 0 && S_ISREG(status.st_mode);
    std::string content;
    bool told = false;
    for (char chunk[65536];;) {
        // A regular file never keeps the reader waiting; anything else may, and is watched a second at a
        // time so that the wait is said and a stop ends it.
        pollfd ready{source.fd(), POLLIN, 0};
        const int polled = regular ? 1 : ::poll(&ready, 1, SecondMs);
        if (polled == 0) {
            if (!told)
                err << "orbctl: Čekám na obsah '" << TerminalText(path)
                    << "': série začne, až ho program, který ho posílá, celý pošle a uzavře." << std::endl;
            told = true;
            checkStop();
            continue;
        }
        const ssize_t n = polled < 0 ? -1 : ::read(source.fd(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            readFailed(path, errno);
        }
        if (n == 0) return content;
        if (content.size() + static_cast<std::size_t>(n) > maxSize) readFailed(path, EFBIG);
        content.append(chunk, static_cast<std::size_t>(n));
    }
}

bool NamesStandardInput(const std::string& path) {
    return path == "-" || path == "/dev/stdin";
}

} // namespace orb
