#include "tools/orbsim/tests/SimulatedUnit.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace orb::sim::test {

namespace {

std::string readFirstLine(int fd) {
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

int exitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

SimulatedUnit::SimulatedUnit(const std::vector<std::string>& args) {
    const char* dir = std::getenv("ORB_TOOLS_DIR");
    const std::string program = std::string(dir ? dir : ".") + "/orbsim";
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    path_ = readFirstLine(out[0]);
    close(out[0]);
    if (path_.empty()) throw std::runtime_error("orbsim printed no port path: " + program);

    port_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (port_ < 0) throw std::runtime_error("cannot open " + path_);
    termios tio{};
    tcgetattr(port_, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B19200);
    tcsetattr(port_, TCSANOW, &tio);
}

SimulatedUnit::~SimulatedUnit() {
    if (port_ >= 0) close(port_);
    if (pid_ > 0) Stop();
}

void SimulatedUnit::Send(const Bytes& bytes) {
    if (write(port_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("write to the port failed");
}

Bytes SimulatedUnit::Receive(std::chrono::milliseconds limit) {
    Bytes received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (received.empty() || received.back() != 13) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd pfd{port_, POLLIN, 0};
        if (left.count() <= 0 || poll(&pfd, 1, static_cast<int>(left.count())) <= 0) break;
        std::uint8_t chunk[512];
        const ssize_t n = read(port_, chunk, sizeof chunk);
        if (n <= 0) break;
        received.insert(received.end(), chunk, chunk + n);
    }
    return received;
}

Bytes SimulatedUnit::Exchange(const Bytes& frame) {
    Send(frame);
    return Receive();
}

int SimulatedUnit::Stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    return WaitExit();
}

int SimulatedUnit::WaitExit(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return exitStatus(status);
}

} // namespace orb::sim::test
