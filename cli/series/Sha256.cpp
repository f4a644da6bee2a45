#include "cli/series/Sha256.h"

#include <QByteArrayView>
#include <QCryptographicHash>

namespace orb {

std::string Sha256Hex(std::span<const std::uint8_t> bytes) {
    const QByteArrayView data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString();
}

} // namespace orb
