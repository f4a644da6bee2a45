#pragma once

#include "link/qt/LowLatency.h"
#include "link/SerialPort.h"

#include <QSerialPort>
#include <QString>
#include <string>

namespace orb {

/// The serial port on QSerialPort. Received bytes reach the input buffer while the event loop runs, which
/// the link's waits do. A port that fails while open (the device vanished, the other end hung up) makes
/// every later transfer throw PortError until it is opened again.
class QtSerialPort : public SerialPort {
  public:
    /// Takes the ioctl through which the port asks its driver for low latency (a test passes its own).
    explicit QtSerialPort(IoctlCall ioctl = SystemIoctl);

    bool open(const std::string& device) override;
    OpenFailure openFailure() const override { return openFailure_; }
    void close() override;
    bool isOpen() const override;
    void write(std::span<const std::uint8_t> bytes) override;
    std::size_t bytesWaiting() override;
    std::size_t read(std::span<std::uint8_t> buffer) override;

    /// Says in the system's words why the last open failed, for a failure openFailure() cannot name;
    /// empty while the port is open.
    std::string openError() const;

  private:
    /// The input buffer of the port: ten of the longest frames, far more than one exchange needs.
    static constexpr qint64 InputBufferBytes = 1024;

    void noteError(QSerialPort::SerialPortError error);
    void throwIfFailed() const;

    IoctlCall ioctl_;
    QSerialPort port_;
    std::string device_; ///< the device the last open() was given
    QString failure_;    ///< what went wrong with the open port, empty while it works
    OpenFailure openFailure_ = OpenFailure::Other;
};

} // namespace orb
