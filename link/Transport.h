#pragma once

#include "link/SerialPort.h"
#include "link/Timeout.h"
#include "link/TransferBlock.h"
#include "link/Waiter.h"

namespace orb {

/// Moves frames over the serial port: a payload, its checksum and the terminator 13. Strictly request
/// and reply; outside an exchange the port is not read, so a late reply waits for the next exchange.
class Transport {
  public:
    Transport(SerialPort& port, Waiter& waiter);

    /// Opens "COM n" afresh (closing it first when open); false when the port cannot be opened.
    bool openPort(int portNumber);
    /// Closes the port if it is open.
    void closePort();
    /// Tells whether the port is open.
    bool isOpen() const { return port_.isOpen(); }

    /// Sends the block's payload followed by its checksum and the terminator.
    void sendFrame(const TransferBlock& block);
    /// Waits up to the limit for a whole reply; count is its payload length, 0 when none came in time,
    /// the checksum is wrong, it is a lone terminator or it would not fit a block.
    TransferBlock receiveFrame(int milliseconds);
    /// Sends a request and receives its reply within the limit.
    TransferBlock exchange(const TransferBlock& request, int milliseconds);

  private:
    SerialPort& port_;
    Waiter& waiter_;
    Timeout timeout_;
};

} // namespace orb
