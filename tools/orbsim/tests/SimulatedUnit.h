#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace orb::sim::test {

using Bytes = std::vector<std::uint8_t>;

/// A running orbsim with its port open the way the program opens it (raw, 19,200 8N1).
class SimulatedUnit {
  public:
    /// Starts orbsim from ORB_TOOLS_DIR with these arguments and opens the port it prints.
    explicit SimulatedUnit(const std::vector<std::string>& args);
    /// Stops orbsim if it still runs.
    ~SimulatedUnit();

    /// Writes bytes to the port.
    void Send(const Bytes& bytes);
    /// Reads until a byte 13 ends a frame or the time is up; returns what came (empty on silence).
    Bytes Receive(std::chrono::milliseconds limit = std::chrono::milliseconds(300));
    /// Sends a request frame and returns the reply bytes.
    Bytes Exchange(const Bytes& frame);
    /// Stops orbsim with SIGTERM and returns its exit status (-1 unless it exited normally).
    int Stop();
    /// Waits for orbsim to exit by itself and returns its exit status (-1 unless it exited normally).
    int WaitExit(std::chrono::milliseconds limit = std::chrono::milliseconds(2000));

    /// Returns the port path that orbsim printed.
    const std::string& Path() const { return path_; }
    /// Returns the port's file descriptor.
    int Port() const { return port_; }

  private:
    int pid_ = -1;
    int port_ = -1;
    std::string path_;
};

} // namespace orb::sim::test
