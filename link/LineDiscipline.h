#pragma once

#include "link/TransferBlock.h"
#include "link/Waiter.h"

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
/// at another block's address, and from then on every block is one exchange behind. No rule of timing
/// can tell such a reply apart: one that begins after the next request went out looks exactly like
/// that request's reply.
///
/// The invariant: no frame is taken as a request's reply unless every earlier request has been
/// answered or shown to be lost by a later reply. It holds because of what the unit promises (one
/// reply per request, in order, with the request's code + 0x80):
/// - The link keeps the requests still owed a reply (sent, neither answered nor shown lost), in the
///   order they went out, and reads the line as a stream of frames, each ended by the terminator.
/// - A good frame answers the oldest owed request with its code, so every request before that one has
///   been answered or never will be, and all of them are settled. The frame is the latest request's
///   reply only when the request it answers is an attempt of the latest request (the same bytes sent
///   again with nothing in between: their replies hold the same data).
/// - mustResynchronise() refuses a request while an owed request with its code is no attempt of it. The
///   caller then first sends the identify request: its reply 0x82 answers no block request, and once it
///   has come every earlier request is settled, so the owed list holds no request that could take a
///   reply meant for the next one.
/// - A frame that began before a request went out is no reply to it: bytes that wait in the input when
///   a request is sent, the rest of a frame they begin and whatever follows a frame in the same burst
///   are matched only against earlier requests. On a line that shows the wire's pace, a frame whose
///   first byte came sooner than the request could have crossed the wire is no reply to it either.
/// - A damaged frame (wrong checksum, too long, too short) settles nothing; it ends the attempt at once
///   when only the latest request can be owed a reply.
/// - A good frame that answers no owed request is one the unit should never have sent (a reply
///   repeated later). It may have shifted every reply since, and the frame too many is the only trace:
///   outOfStep() says so until it is cleared, and the caller then refuses what it took meanwhile.
/// When every reply comes in time, nothing is owed and no resynchronisation is needed.
class LineDiscipline {
  public:
    using Clock = Waiter::Clock;

    /// Forgets every request and every byte: an opened or closed port starts a fresh line.
    void reset();

    /// Tells whether a reply owed to an earlier request could be taken for this request's: such a request
    /// may go out only after a resynchronisation.
    bool mustResynchronise(std::span<const std::uint8_t> payload) const;
    /// Records that the request goes out now.
    void sent(std::span<const std::uint8_t> payload, Clock::time_point at);
    /// Takes the bytes the port delivered at the given moment.
    void received(std::span<const std::uint8_t> bytes, Clock::time_point at);
    /// Returns the reply to the latest request once it has come (count 0 for a damaged one), then forgets it.
    std::optional<TransferBlock> takeReply();
    /// Stops waiting for the latest request's reply; it stays owed.
    void stopWaiting() { awaiting_ = false; }
    /// Tells whether a good frame came that answered no owed request since the last clearOutOfStep().
    bool outOfStep() const { return outOfStep_; }
    void clearOutOfStep() { outOfStep_ = false; }

  private:
    struct Request {
        std::uint64_t number;
        std::uint8_t code;
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
    void damagedFrameEnded(const Frame& frame);
    bool mayAnswer(const Frame& frame, const Request& request) const;
    bool isAttemptOfLatest(const Request& request) const { return request.number >= runStart_; }

    std::deque<Request> owed_;
    std::uint64_t sentCount_ = 0;
    std::uint64_t runStart_ = 0; ///< the first of the attempts at the latest request
    std::vector<std::uint8_t> lastPayload_;
    bool awaiting_ = false;
    bool paced_ = false; ///< the line has shown that its bytes take their wire time
    bool outOfStep_ = false;
    bool forgottenOwed_ = false; ///< owed requests were dropped from the list when it was full
    Frame frame_;
    std::optional<TransferBlock> reply_;
};

} // namespace orb
