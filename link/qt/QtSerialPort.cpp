#include "link/qt/QtSerialPort.h"

#include "link/LinkMessages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orb {

QtSerialPort::QtSerialPort(IoctlCall ioctl) : ioctl_(std::move(ioctl)) {
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { noteError(error); });
}

namespace {

/// Tells whether the character device is a terminal, as every serial port is; one that cannot be opened
/// to look counts as one, so that the system's own words explain it.
bool isTerminal(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
}

/// Finds out why the device would not open. Qt reports a port held by another program (its lock file,
/// or the exclusive mode of the open port) and a device closed to this user alike as a permission error;
/// only the second fails access(2).
OpenFailure classify(QSerialPort::SerialPortError error, const std::string& device) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) {
        // A path through a file or a loop of links leads to no device either.
        if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP) return OpenFailure::Missing;
    } else if (!S_ISCHR(status.st_mode) || !isTerminal(device)) {
        return OpenFailure::NotASerialPort;
    }
    if (error != QSerialPort::PermissionError) return OpenFailure::Other;
    return ::access(device.c_str(), R_OK | W_OK) == 0 ? OpenFailure::InUse : OpenFailure::NotPermitted;
}

} // namespace

bool QtSerialPort::open(const std::string& device) {
    failure_.clear();
    device_ = device;
    port_.setPortName(QString::fromStdString(device));
    port_.setBaudRate(QSerialPort::Baud19200);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // Bounded, so that a line sending faster than it is read fills the system's buffer, not memory.
    port_.setReadBufferSize(InputBufferBytes);
    if (!port_.open(QIODevice::ReadWrite)) {
        openFailure_ = classify(port_.error(), device);
        return false;
    }
    // Some cables take their power from the modem lines, so they are raised where the port has them. A
    // pseudo-terminal or a bare adapter refuses them; that is no reason to refuse the port.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    RequestLowLatency(static_cast<int>(port_.handle()), ioctl_);
    failure_.clear();
    return true;
}

void QtSerialPort::close() {
    port_.close();
    failure_.clear();
}

bool QtSerialPort::isOpen() const {
    return port_.isOpen();
}

void QtSerialPort::write(std::span<const std::uint8_t> bytes) {
    throwIfFailed();
    const auto size = static_cast<qint64>(bytes.size());
    if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
        noteError(QSerialPort::WriteError);
    // Hands the bytes to the system now instead of at the next turn of the event loop.
    port_.flush();
    throwIfFailed();
}

std::size_t QtSerialPort::bytesWaiting() {
    throwIfFailed();
    return static_cast<std::size_t>(port_.bytesAvailable());
}

std::size_t QtSerialPort::read(std::span<std::uint8_t> buffer) {
    throwIfFailed();
    const qint64 count =
        port_.read(reinterpret_cast<char*>(buffer.data()), static_cast<qint64>(buffer.size()));
    if (count < 0) noteError(QSerialPort::ReadError);
    throwIfFailed();
    return static_cast<std::size_t>(count);
}

std::string QtSerialPort::openError() const {
    namespace lm = link_messages;
    if (port_.isOpen()) return {};
    return lm::systemSaid(port_.errorString().toStdString());
}

void QtSerialPort::noteError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError: // modem lines of a pseudo-terminal
    case QSerialPort::TimeoutError:
        return;
    default:
        if (port_.isOpen() && failure_.isEmpty())
            failure_ =
                port_.errorString().isEmpty() ? QStringLiteral("serial port error") : port_.errorString();
    }
}

void QtSerialPort::throwIfFailed() const {
    if (!port_.isOpen()) throw PortError("the serial port is not open");
    if (!failure_.isEmpty()) throw PortError(failure_.toStdString());
}

} // namespace orb
