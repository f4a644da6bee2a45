#include "link/Transport.h"

#include "link/RequestCodes.h"

#include <algorithm>
#include <array>

namespace orb {

Transport::Transport(SerialPort& port, Waiter& waiter) : port_(port), waiter_(waiter), timeout_(waiter) {}

bool Transport::openPort(const std::string& device) {
    closePort();
    return port_.open(device);
}

void Transport::closePort() {
    discipline_.reset();
    identity_.clear();
    if (port_.isOpen()) port_.close();
}

TransferBlock Transport::exchange(const TransferBlock& request, int milliseconds) {
    const std::chrono::milliseconds limit(milliseconds);
    waiter_.processEvents();
    takeWaitingBytes();
    if (discipline_.mustResynchronise(request.payload()) && !resynchronise(limit)) return TransferBlock{};
    sendFrame(request);
    return receiveFrame(limit);
}

void Transport::rememberIdentity(const TransferBlock& reply) {
    identity_.assign(reply.payload().begin(), reply.payload().end());
}

void Transport::forgetOutOfStep() {
    waiter_.processEvents();
    takeWaitingBytes();
    discipline_.clearOutOfStep();
}

StepCheck Transport::checkInStep(int milliseconds) {
    waiter_.processEvents();
    takeWaitingBytes();
    if (!resynchronise(std::chrono::milliseconds(milliseconds))) return StepCheck::NoReply;
    // Every frame sent before the identify reply has come by now.
    const bool outOfStep = discipline_.outOfStep();
    discipline_.clearOutOfStep();
    return outOfStep ? StepCheck::OutOfStep : StepCheck::InStep;
}

bool Transport::resynchronise(std::chrono::milliseconds limit) {
    // Its reply answers no other request, and the unit sends it only after every earlier reply.
    sendFrame(RequestFor(RequestCode::Identify));
    const TransferBlock reply = receiveFrame(limit);
    return IsReplyTo(reply, RequestCode::Identify, 1) &&
           (identity_.empty() || std::ranges::equal(reply.payload(), identity_));
}

void Transport::sendFrame(const TransferBlock& block) {
    const auto payload = block.payload();
    std::vector<std::uint8_t> frame(payload.begin(), payload.end());
    frame.push_back(FrameChecksum(payload));
    frame.push_back(TransferBlock::Terminator);
    // Taken before the write, so the earliest moment a reply can come is never placed too late.
    discipline_.sent(payload, waiter_.now());
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
    // Only what the port holds now, which its bounded input buffer keeps small: a line that sends faster
    // than it is read (a flood) must not keep the caller from its time limit and Storno. What comes
    // meanwhile is taken at the next turn, each burst with the moment it was read.
    while (port_.bytesWaiting() > 0) {
        std::array<std::uint8_t, 256> bytes;
        const std::size_t count = port_.read(bytes);
        if (count == 0) return;
        discipline_.received(std::span(bytes).first(count), waiter_.now());
    }
}

} // namespace orb
