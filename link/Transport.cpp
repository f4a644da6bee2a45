#include "link/Transport.h"

#include <array>
#include <vector>

namespace orb {

namespace {

/// Collects the bytes of one reply; a reply that outgrows the block is followed to its end but not kept.
class ReplyCollector {
  public:
    explicit ReplyCollector(TransferBlock& block) : block_(block) {}

    void add(std::span<const std::uint8_t> bytes) {
        for (const std::uint8_t byte : bytes) {
            if (received_ < TransferBlock::Capacity) block_.data[received_] = byte;
            ++received_;
            last_ = byte;
        }
    }
    /// A terminator that is the last byte so far ends the reply.
    bool ended() const { return received_ > 0 && last_ == TransferBlock::Terminator; }
    /// The payload length of a whole, fitting reply with a correct checksum, else 0.
    int payloadLength() const {
        if (received_ < 2 || received_ > TransferBlock::Capacity) return 0;
        const auto length = static_cast<int>(received_) - 2;
        const auto checksum = FrameChecksum({block_.data.data(), static_cast<std::size_t>(length)});
        return checksum == block_.data[length] ? length : 0;
    }

  private:
    TransferBlock& block_;
    std::size_t received_ = 0;
    std::uint8_t last_ = 0;
};

} // namespace

Transport::Transport(SerialPort& port, Waiter& waiter) : port_(port), waiter_(waiter), timeout_(waiter) {}

bool Transport::openPort(int portNumber) {
    closePort();
    return port_.open(portNumber);
}

void Transport::closePort() {
    if (port_.isOpen()) port_.close();
}

void Transport::sendFrame(const TransferBlock& block) {
    const auto payload = block.payload();
    std::vector<std::uint8_t> frame(payload.begin(), payload.end());
    frame.push_back(FrameChecksum(payload));
    frame.push_back(TransferBlock::Terminator);
    port_.write(frame);
}

TransferBlock Transport::receiveFrame(int milliseconds) {
    TransferBlock block;
    ReplyCollector reply(block);
    timeout_.start(std::chrono::milliseconds(milliseconds));
    waiter_.processEvents();
    for (;;) {
        // The reply may come in bursts: it ends at a terminator that is the last byte when the input
        // buffer has just been drained.
        while (port_.bytesWaiting() > 0) {
            std::array<std::uint8_t, 256> bytes;
            reply.add(std::span(bytes).first(port_.read(bytes)));
            waiter_.processEvents();
        }
        if (reply.ended() || timeout_.elapsed()) break;
        waiter_.waitForEvents(timeout_.deadline());
    }
    // The limit covers the whole reply: one that ended as the limit ran out came too late.
    block.count = timeout_.elapsed() ? 0 : reply.payloadLength();
    return block;
}

TransferBlock Transport::exchange(const TransferBlock& request, int milliseconds) {
    sendFrame(request);
    return receiveFrame(milliseconds);
}

} // namespace orb
