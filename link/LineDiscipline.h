#pragma once

#include "link/TransferBlock.h"
#include "link/Waiter.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace orb {

/// Keeps every reply with its own request.
///
/// The fault it prevents: the unit answers each request with one frame, in order, but not always in
/// time. A busy unit answers late, queues the retries the link sent meanwhile and answers them too; a
/// faulty one answers twice or sends an overlong frame that outlasts the limit. A block read's reply
/// does not repeat the address, so a stale reply taken for the next request stores one block's bytes
/// at another block's address, and from then on every block is one exchange behind while the read
/// reports success.
///
/// How: the link keeps the requests still unanswered, in the order they went out, and reads the line
/// as a stream of frames, each ended by the terminator (the only place that byte can stand).
/// - A frame that began before a request went out is no reply to it: bytes that wait in the input when
///   a request is sent, the rest of a frame they begin and whatever follows a frame in the same burst
///   are matched only against earlier requests. On a line that shows the wire's pace, a frame whose
///   first byte came sooner than the request could have crossed the wire continues an earlier burst
///   (a doubled or queued reply) and is no reply to it either.
/// - A good frame answers the oldest unanswered request whose code it carries; the requests before
///   that one will never be answered and are given up. The frame is the current request's reply only
///   if it answers that request or an earlier attempt of the same request (the same bytes, nothing
///   else sent in between: its reply holds the same data). Any other frame is absorbed and the wait
///   goes on within the limit. A frame no request is waiting for (one reply too many) is dropped.
/// - A damaged frame (wrong checksum, too long, too short) ends the attempt at once when it can only
///   be the current request's reply; else it is dropped and the wait goes on.
/// - Before a request with different bytes goes out, the replies still owed to earlier requests with
///   the same code are waited for, each at most its own limit; what has not come by then is given up.
/// When every reply comes in time nothing is owed, nothing is waited for and nothing changes.
class LineDiscipline {
  public:
    using Clock = Waiter::Clock;

    /// Forgets every request and every byte: an opened or closed port starts a fresh line.
    void reset();

    /// Returns the longest limit among earlier requests whose late replies could be taken for this
    /// request's; nothing when no such reply is owed.
    std::optional<std::chrono::milliseconds> owedBefore(std::span<const std::uint8_t> payload) const;
    /// Records that the request goes out now with the limit of its attempt.
    void sent(std::span<const std::uint8_t> payload, std::chrono::milliseconds limit, Clock::time_point at);
    /// Takes the bytes the port delivered at the given moment.
    void received(std::span<const std::uint8_t> bytes, Clock::time_point at);
    /// Returns the reply to the latest request once it has come (count 0 for a damaged one), then forgets it.
    std::optional<TransferBlock> takeReply();
    /// Stops waiting for the latest request's reply; a reply that still comes is absorbed.
    void stopWaiting() { awaiting_ = false; }

  private:
    struct Request {
        std::uint64_t number;
        std::vector<std::uint8_t> payload;
        std::chrono::milliseconds limit;
        Clock::time_point earliestReply; ///< when the request has crossed the wire, on a paced line
    };
    struct Frame {
        TransferBlock block;
        std::size_t length = 0;
        std::uint64_t requestsBefore = 0; ///< requests sent when its first byte came
        Clock::time_point began;          ///< when its first byte came, as near as the reads tell
        Clock::time_point firstRead;      ///< when the read that held its first byte happened
    };

    void frameEnded(Clock::time_point at);
    bool mayAnswer(const Frame& frame, const Request& request) const;
    bool isSameRequest(const Request& request) const { return request.number >= runStart_; }

    std::deque<Request> unanswered_;
    std::uint64_t sentCount_ = 0;
    std::uint64_t runStart_ = 0; ///< the first of the attempts at the latest request
    std::vector<std::uint8_t> lastPayload_;
    bool awaiting_ = false;
    bool paced_ = false; ///< the line has shown that its bytes take their wire time
    Frame frame_;
    std::optional<TransferBlock> reply_;
};

} // namespace orb
