#include "link/qt/DetectSerialPorts.h"

#include <QSerialPortInfo>
#include <utility>

namespace orb {

std::vector<DetectedPort> DetectSerialPorts() {
    std::vector<DetectedPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        DetectedPort port{.device = info.systemLocation().toStdString(),
                          .description = info.description().toStdString(),
                          .manufacturer = info.manufacturer().toStdString(),
                          .serialNumber = info.serialNumber().toStdString()};
        if (info.hasVendorIdentifier()) port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) port.productId = info.productIdentifier();
        ports.push_back(std::move(port));
    }
    return ports;
}

} // namespace orb
