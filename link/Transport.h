#pragma once

#include "link/LineDiscipline.h"
#include "link/SerialPort.h"
#include "link/Timeout.h"
#include "link/TransferBlock.h"
#include "link/Waiter.h"

#include <chrono>
#include <string>

namespace orb {

/// Moves frames over the serial port: a payload, its checksum and the terminator 13. Strictly request
/// and reply, with the line discipline keeping every reply with its own request.
class Transport {
  public:
    Transport(SerialPort& port, Waiter& waiter);

    /// Opens the serial device afresh (closing the port first when open); false when it cannot be opened.
    bool openPort(const std::string& device);
    /// Tells why the last openPort failed.
    OpenFailure openFailure() const { return port_.openFailure(); }
    /// Closes the port if it is open.
    void closePort();
    /// Tells whether the port is open.
    bool isOpen() const { return port_.isOpen(); }

    /// Sends a request and waits up to the limit for its whole reply; count is the reply's payload
    /// length, 0 when none came in time, the checksum is wrong, it is a lone terminator or it would
    /// not fit a block. Replies still owed to earlier requests are waited for before the request goes
    /// out, when they could be taken for its own.
    TransferBlock exchange(const TransferBlock& request, int milliseconds);

  private:
    void awaitOwedReplies(std::span<const std::uint8_t> payload);
    void sendFrame(const TransferBlock& block, std::chrono::milliseconds limit);
    TransferBlock receiveFrame(std::chrono::milliseconds limit);
    void takeWaitingBytes();

    SerialPort& port_;
    Waiter& waiter_;
    Timeout timeout_;
    LineDiscipline discipline_;
};

} // namespace orb
