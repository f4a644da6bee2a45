#include "link/LineDiscipline.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace orb {

namespace {

/// The time one byte takes on the wire: a start bit, 8 data bits and a stop bit at 19,200 bit/s.
constexpr std::chrono::nanoseconds ByteTime{520'833};
/// Enough requests to remember: a unit switched on late leaves one unanswered hello every 500 ms.
constexpr std::size_t MaxOwed = 64;
/// Frames shorter than this arrive too quickly to tell whether the line keeps the wire's pace.
constexpr std::size_t PaceSample = 8;

/// The payload length of a whole frame with a correct checksum, else 0.
int PayloadLength(const TransferBlock& block, std::size_t length) {
    if (length < 3 || length > TransferBlock::Capacity) return 0;
    const std::size_t payload = length - 2;
    return FrameChecksum({block.data.data(), payload}) == block.data[payload] ? static_cast<int>(payload) : 0;
}

bool IsReplyCode(std::uint8_t code) {
    return (code & 0x80) != 0;
}

/// The command code a request starts with (0 for an empty one, which no caller sends).
std::uint8_t CodeOf(std::span<const std::uint8_t> payload) {
    return payload.empty() ? 0 : payload.front();
}

} // namespace

void LineDiscipline::reset() {
    *this = LineDiscipline();
}

bool LineDiscipline::mustResynchronise(std::span<const std::uint8_t> payload) const {
    // Another attempt at the latest request may take an earlier attempt's reply: it holds the same data.
    if (std::ranges::equal(payload, lastPayload_)) return false;
    return forgottenOwed_ ||
           std::ranges::any_of(owed_, [&](const Request& r) { return r.code == CodeOf(payload); });
}

void LineDiscipline::sent(std::span<const std::uint8_t> payload, Clock::time_point at) {
    if (!std::ranges::equal(payload, lastPayload_)) {
        runStart_ = sentCount_ + 1;
        lastPayload_.assign(payload.begin(), payload.end());
    }
    ++sentCount_;
    const auto wireTime = static_cast<long>(payload.size() + 2) * ByteTime;
    owed_.push_back({sentCount_, CodeOf(payload), at + wireTime});
    if (owed_.size() > MaxOwed) {
        // Still owed, only no longer known by code: any request but a new attempt resynchronises first.
        owed_.pop_front();
        forgottenOwed_ = true;
    }
    awaiting_ = !payload.empty();
    reply_.reset();
}

void LineDiscipline::received(std::span<const std::uint8_t> bytes, Clock::time_point at) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (frame_.length == 0) {
            // On a paced line the bytes read together came one byte time apart, the last one by now.
            const auto later = static_cast<long>(bytes.size() - 1 - i);
            frame_.began = at - (paced_ ? later * ByteTime : Clock::duration::zero());
            frame_.firstRead = at;
            frame_.requestsBefore = sentCount_;
        }
        if (frame_.length < TransferBlock::Capacity) frame_.block.data[frame_.length] = bytes[i];
        ++frame_.length;
        if (bytes[i] == TransferBlock::Terminator) frameEnded(at);
    }
}

std::optional<TransferBlock> LineDiscipline::takeReply() {
    return std::exchange(reply_, std::nullopt);
}

void LineDiscipline::frameEnded(Clock::time_point at) {
    Frame frame = std::exchange(frame_, Frame{});
    const int count = PayloadLength(frame.block, frame.length);
    if (count > 0 && frame.length >= PaceSample &&
        at - frame.firstRead >= static_cast<long>(frame.length - 1) * ByteTime / 2)
        paced_ = true;
    if (count == 0) return damagedFrameEnded(frame);

    const std::uint8_t code = frame.block.data[0];
    if (!IsReplyCode(code)) return; // no unit sends it: line noise that happens to check out
    const auto answered =
        std::ranges::find_if(owed_, [code](const Request& r) { return (r.code | 0x80) == code; });
    if (answered == owed_.end() || !mayAnswer(frame, *answered)) {
        // A later request cannot be answered sooner than the oldest one of its code.
        if (!forgottenOwed_) outOfStep_ = true;
        return;
    }

    // The unit answers in order: every request before the one answered is settled.
    const bool isReply = awaiting_ && isAttemptOfLatest(*answered);
    owed_.erase(owed_.begin(), std::next(answered));
    forgottenOwed_ = false;
    if (!isReply) return;
    frame.block.count = count;
    reply_ = frame.block;
    awaiting_ = false;
}

void LineDiscipline::damagedFrameEnded(const Frame& frame) {
    // It carries no trustworthy code and settles nothing; it fails the attempt only when it can be the
    // reply of nothing but an attempt at the latest request.
    if (awaiting_ && !forgottenOwed_ && !owed_.empty() && isAttemptOfLatest(owed_.front()) &&
        mayAnswer(frame, owed_.back())) {
        reply_ = frame.block;
        awaiting_ = false;
    }
}

bool LineDiscipline::mayAnswer(const Frame& frame, const Request& request) const {
    return frame.requestsBefore >= request.number && (!paced_ || frame.began >= request.earliestReply);
}

} // namespace orb
