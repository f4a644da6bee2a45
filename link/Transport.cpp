#include "link/Transport.h"

#include <array>
#include <vector>

namespace orb {

Transport::Transport(SerialPort& port, Waiter& waiter) : port_(port), waiter_(waiter), timeout_(waiter) {}

bool Transport::openPort(const std::string& device) {
    closePort();
    return port_.open(device);
}

void Transport::closePort() {
    discipline_.reset();
    if (port_.isOpen()) port_.close();
}

TransferBlock Transport::exchange(const TransferBlock& request, int milliseconds) {
    const std::chrono::milliseconds limit(milliseconds);
    awaitOwedReplies(request.payload());
    sendFrame(request, limit);
    return receiveFrame(limit);
}

void Transport::awaitOwedReplies(std::span<const std::uint8_t> payload) {
    waiter_.processEvents();
    takeWaitingBytes();
    const auto owed = discipline_.owedBefore(payload);
    if (!owed) return;
    const auto until = waiter_.now() + *owed;
    while (discipline_.owedBefore(payload) && waiter_.now() < until) {
        waiter_.waitForEvents(until);
        takeWaitingBytes();
    }
}

void Transport::sendFrame(const TransferBlock& block, std::chrono::milliseconds limit) {
    const auto payload = block.payload();
    std::vector<std::uint8_t> frame(payload.begin(), payload.end());
    frame.push_back(FrameChecksum(payload));
    frame.push_back(TransferBlock::Terminator);
    // Taken before the write, so the earliest moment a reply can come is never placed too late.
    discipline_.sent(payload, limit, waiter_.now());
    port_.write(frame);
}

TransferBlock Transport::receiveFrame(std::chrono::milliseconds limit) {
    timeout_.start(limit);
    waiter_.processEvents();
    for (;;) {
        takeWaitingBytes();
        if (auto reply = discipline_.takeReply()) {
            // The limit covers the whole reply: one that ended as the limit ran out came too late.
            if (timeout_.elapsed()) reply->count = 0;
            return *reply;
        }
        if (timeout_.elapsed()) {
            discipline_.stopWaiting();
            return TransferBlock{};
        }
        waiter_.waitForEvents(timeout_.deadline());
    }
}

void Transport::takeWaitingBytes() {
    // A reply may come in bursts; each is handed on with the moment it was read.
    while (port_.bytesWaiting() > 0) {
        std::array<std::uint8_t, 256> bytes;
        const std::size_t count = port_.read(bytes);
        discipline_.received(std::span(bytes).first(count), waiter_.now());
        waiter_.processEvents();
    }
}

} // namespace orb
