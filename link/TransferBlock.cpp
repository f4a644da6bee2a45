#include "link/TransferBlock.h"

#include "image/Checksum.h"
#include "image/HexPair.h"

#include <stdexcept>

namespace orb {

TransferBlock TransferBlock::request(std::uint8_t code) {
    TransferBlock block;
    block.append(code);
    return block;
}

void TransferBlock::append(std::uint8_t byte) {
    if (count < 0 || static_cast<std::size_t>(count) >= Capacity)
        throw std::out_of_range("transfer block full");
    data[count++] = byte;
}

void TransferBlock::appendHexPair(std::uint8_t value) {
    for (const std::uint8_t digit : ByteToHexPair(value))
        append(digit);
}

bool TransferBlock::hexDigitsAt(int first, int last) const {
    for (int i = first; i <= last; ++i)
        if (!IsHexDigit(data.at(i))) return false;
    return true;
}

std::uint8_t TransferBlock::hexPairAt(int position) const {
    return HexPairToByte(data.at(position), data.at(position + 1));
}

std::uint8_t FrameChecksum(std::span<const std::uint8_t> payload) {
    std::uint32_t sum = 0;
    for (const std::uint8_t byte : payload)
        sum += byte;
    return CarriageReturnFreeChecksum(sum);
}

} // namespace orb
