#pragma once

#include <string>

namespace orb::sim {

/// A pseudo-terminal whose slave end the program under test opens as its serial port.
class Pty {
  public:
    /// Opens a raw pseudo-terminal; throws std::system_error when the system has none to give.
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    /// Returns the master end, where the unit reads requests and writes replies.
    int Master() const { return master_; }
    /// Returns the slave end's path, the port name for the program.
    const std::string& SlavePath() const { return path_; }
    /// Waits until the program has read everything sent to it, or the time (ms) is up; closing the master
    /// end earlier would throw the unread bytes away.
    void WaitUntilRead(int limitMs) const;
    /// Closes the master end, which the program sees as its port vanishing.
    void HangUp();
    /// Describes how the line settings differ from 19,200 bit/s 8N1 (speed, stop bits); empty when they
    /// match.
    std::string LineSettingsProblem() const;

  private:
    int master_ = -1;
    int slave_ = -1; // held open so the program closing its port does not hang up the master
    std::string path_;
};

/// Makes linkPath a symbolic link to target, replacing an existing link; throws std::system_error.
void MakeLink(const std::string& linkPath, const std::string& target);

} // namespace orb::sim
