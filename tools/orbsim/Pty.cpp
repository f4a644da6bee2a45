#include "tools/orbsim/Pty.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace orb::sim {

namespace {
[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}
} // namespace

Pty::Pty() {
    char name[PATH_MAX] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) fail("openpty");
    path_ = name;
    // Raw, so no byte is translated or swallowed; the speed is left to the program, which must set it.
    termios tio{};
    if (tcgetattr(slave_, &tio) != 0) fail("tcgetattr");
    cfmakeraw(&tio);
    if (tcsetattr(slave_, TCSANOW, &tio) != 0) fail("tcsetattr");
}

Pty::~Pty() {
    HangUp();
    if (slave_ >= 0) close(slave_);
}

void Pty::WaitUntilRead(int limitMs) const {
    // Bytes written to the master reach the slave's queue a moment later, so an empty queue counts only
    // once something was seen in it or that moment has surely passed.
    constexpr int InFlightMs = 20;
    bool seen = false;
    for (int waited = 0; waited < limitMs; ++waited) {
        int unread = 0;
        if (ioctl(slave_, FIONREAD, &unread) != 0) return;
        seen = seen || unread > 0;
        if (unread == 0 && (seen || waited >= InFlightMs)) return;
        usleep(1000);
    }
}

void Pty::HangUp() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

std::string Pty::LineSettingsProblem() const {
    termios tio{};
    if (tcgetattr(slave_, &tio) != 0) return "line settings unreadable";
    std::string problem;
    const speed_t in = cfgetispeed(&tio);
    if (cfgetospeed(&tio) != B19200 || (in != B19200 && in != B0)) problem += " speed is not 19200";
    // Data bits and parity cannot tell: the pty driver keeps 8 bits without parity whatever is asked.
    if (tio.c_cflag & CSTOPB) problem += " 2 stop bits";
    return problem;
}

void MakeLink(const std::string& linkPath, const std::string& target) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            errno = EEXIST;
            fail("--link " + linkPath + " (not a symbolic link)");
        }
        if (unlink(linkPath.c_str()) != 0) fail("unlink " + linkPath);
    }
    if (symlink(target.c_str(), linkPath.c_str()) != 0) fail("symlink " + linkPath);
}

} // namespace orb::sim
