#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace orb {

/// The port failed while it was open (cable pulled, adapter unplugged, the other end hung up).
class PortError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// Why a port would not open, where the user can do something about it.
enum class OpenFailure {
    Other,          ///< broken or refusing the settings; the system's words say more
    Missing,        ///< no device at that path (an unplugged adapter)
    NotASerialPort, ///< the path names a folder, a file or a device that is no terminal
    InUse,          ///< another program holds the port
    NotPermitted    ///< the user may not open the device
};

/// The serial port the unit hangs on: 19,200 bit/s, 8 data bits, no parity, 1 stop bit, no flow control.
/// Reception is polled: received bytes wait in the input buffer until read.
class SerialPort {
  public:
    virtual ~SerialPort() = default;
    /// Opens the serial device ("/dev/ttyUSB0"); returns false when it is missing, in use or refuses the
    /// settings.
    virtual bool open(const std::string& device) = 0;
    /// Tells why the last open() failed.
    virtual OpenFailure openFailure() const { return OpenFailure::Other; }
    /// Closes the port; closing a closed port does nothing.
    virtual void close() = 0;
    /// Tells whether the port is open.
    virtual bool isOpen() const = 0;
    /// Hands the bytes to the port's output without waiting for them to drain; throws PortError.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    /// Counts the received bytes that wait in the input buffer; throws PortError.
    virtual std::size_t bytesWaiting() = 0;
    /// Moves up to buffer.size() waiting bytes into buffer and returns how many; throws PortError.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
};

} // namespace orb
