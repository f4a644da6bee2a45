#pragma once

#include "link/LineDiscipline.h"
#include "link/SerialPort.h"
#include "link/Timeout.h"
#include "link/TransferBlock.h"
#include "link/Waiter.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace orb {

/// How a closing resynchronisation found the line.
enum class StepCheck {
    InStep,    ///< every frame since the last check answered its own request
    OutOfStep, ///< a frame came that answered no request: replies taken meanwhile may be shifted
    NoReply,   ///< the identify request got no reply with the unit's identity in time
};

/// Moves frames over the serial port: a payload, its checksum and the terminator 13. Strictly request
/// and reply, with the line discipline keeping every reply with its own request: before a request
/// whose reply could be confused with one still owed, the identify request resynchronises the line.
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
    /// not fit a block. When a reply owed to an earlier request could be taken for this one, the line is
    /// resynchronised first within the same limit; if that fails, the request is not sent and count is 0.
    TransferBlock exchange(const TransferBlock& request, int milliseconds);

    /// Remembers the payload of the unit's reply to the activation's identify request: a resynchronising
    /// reply must repeat it.
    void rememberIdentity(const TransferBlock& reply);
    /// Starts counting frames out of step afresh (at the start of a transfer).
    void forgetOutOfStep();
    /// Resynchronises once, within the limit, and tells whether every frame since forgetOutOfStep() or
    /// the last check answered its own request; the count starts afresh.
    StepCheck checkInStep(int milliseconds);

  private:
    bool resynchronise(std::chrono::milliseconds limit);
    void sendFrame(const TransferBlock& block);
    TransferBlock receiveFrame(std::chrono::milliseconds limit);
    void takeWaitingBytes();

    SerialPort& port_;
    Waiter& waiter_;
    Timeout timeout_;
    LineDiscipline discipline_;
    std::vector<std::uint8_t> identity_;
};

} // namespace orb
