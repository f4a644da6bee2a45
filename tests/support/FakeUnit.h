#pragma once

#include "image/EncodeImage.h"
#include "image/HexPair.h"
#include "link/TransferBlock.h"
#include "tests/support/FakeLine.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orb::test {

/// The unit at the other end of a FakeLine: answers every valid request frame a few milliseconds later,
/// in order (a request that comes while a reply is still due waits its turn), keeps an EEPROM (erased to
/// 0xFF) and records each request with the time it was sent. Paced, it takes the wire time of each
/// request and sends its replies byte by byte at the wire's pace.
class FakeUnit {
  public:
    struct Request {
        int index; ///< 1 for the first request
        long long atMs;
        Bytes payload;

        std::uint8_t code() const { return payload.at(0); }
        /// The block address of a read or write request, -1 for any other request.
        int address() const {
            if (payload.size() < 5) return -1;
            return HexPairToByte(payload.at(1), payload.at(2)) +
                   256 * HexPairToByte(payload.at(3), payload.at(4));
        }
    };

    explicit FakeUnit(FakeLine& line) : line_(line) {
        line_.onWrite = [this](std::span<const std::uint8_t> bytes) { receive(bytes); };
    }

    // What the unit reports about itself: an ORB with firmware 1.2, 128 bytes of EEPROM, an M1 modem.
    std::array<std::uint8_t, 3> identity{0x02, 0xD3, 0x03}; ///< low byte first
    int major = 1;
    int minor = 2;
    int memoryCode = 0;
    int modemCode = 0;
    Bytes eeprom = Bytes(65536, 0xFF);

    /// Decides that a request goes unanswered.
    std::function<bool(const Request&)> ignore;
    /// How long after a request has arrived its reply starts, when the unit is not busy (2 ms unless set).
    std::function<std::chrono::milliseconds(const Request&)> replyAfter;
    /// Decides that a request is answered twice, the second reply right behind the first.
    std::function<bool(const Request&)> twice;
    /// Sends a request's reply a second time, that long after the first began (a reply repeated later).
    std::function<std::optional<std::chrono::milliseconds>(const Request&)> repeatAfter;
    /// Replaces a request's reply with other bytes (an overlong or a damaged reply).
    std::function<std::optional<Bytes>(const Request&)> replaceReply;
    bool paced = false;
    /// Runs when a request arrives, before it is answered (a Storno click, a pulled cable).
    std::function<void(const Request&)> onRequest;

    std::vector<Request> requests;

    /// Puts the image of the settings into the EEPROM, as a unit written with them holds it.
    void holdSettings(const SettingsRecord& record) {
        auto image = std::make_unique<EepromImage>();
        const int length = EncodeImage(record, *image);
        for (int i = 0; i < length; ++i)
            eeprom.at(i) = image->getByte(i);
    }

    /// The requests with the given code.
    std::vector<Request> requestsOf(std::uint8_t code) const {
        std::vector<Request> found;
        for (const Request& r : requests)
            if (r.code() == code) found.push_back(r);
        return found;
    }
    /// The block addresses of the requests with the given code, in order.
    std::vector<int> addressesOf(std::uint8_t code) const {
        std::vector<int> found;
        for (const Request& r : requestsOf(code))
            found.push_back(r.address());
        return found;
    }

  private:
    void receive(std::span<const std::uint8_t> bytes) {
        for (const std::uint8_t byte : bytes) {
            pending_.push_back(byte);
            if (byte != TransferBlock::Terminator) continue;
            Bytes frame;
            frame.swap(pending_);
            if (frame.size() < 2) continue;
            const Bytes payload(frame.begin(), frame.end() - 2);
            if (FrameChecksum(payload) != frame[frame.size() - 2]) continue;
            requests.push_back({++received_, line_.elapsedMs(), payload});
            const Request& request = requests.back();
            if (onRequest) onRequest(request);
            if (ignore && ignore(request)) continue;
            answer(request);
        }
    }

    void answer(const Request& request) {
        Bytes reply{static_cast<std::uint8_t>(request.code() | 0x80)};
        auto hex = [&reply](int value) {
            for (const std::uint8_t digit : ByteToHexPair(static_cast<std::uint8_t>(value)))
                reply.push_back(digit);
        };
        switch (request.code()) {
        case 0x01:
        case 0x06:
            break;
        case 0x02:
            for (const std::uint8_t byte : identity)
                hex(byte);
            hex(minor);
            hex(major);
            break;
        case 0x03:
            hex(memoryCode);
            hex(modemCode);
            break;
        case 0x04:
            for (int k = 0; k < 8; ++k)
                hex(eeprom.at(request.address() + k));
            break;
        case 0x05:
            for (int k = 0; k < 8; ++k)
                eeprom.at(request.address() + k) =
                    HexPairToByte(request.payload.at(5 + 2 * k), request.payload.at(6 + 2 * k));
            break;
        default:
            return;
        }
        reply.push_back(FrameChecksum(reply));
        reply.push_back(TransferBlock::Terminator);
        if (replaceReply)
            if (auto other = replaceReply(request)) reply = *other;
        const Waiter::Clock::time_point arrived = line_.now() + wireTime(request.payload.size() + 2);
        const Waiter::Clock::time_point start =
            std::max(arrived, busyUntil_) + (replyAfter ? replyAfter(request) : 2ms);
        deliver(reply, start);
        if (twice && twice(request)) deliver(reply, busyUntil_);
        if (repeatAfter)
            if (const auto later = repeatAfter(request)) deliver(reply, std::max(start + *later, busyUntil_));
    }

    Waiter::Clock::duration wireTime(std::size_t bytes) const {
        return paced ? static_cast<long>(bytes) * FakeLine::ByteTime : Waiter::Clock::duration::zero();
    }

    void deliver(const Bytes& reply, Waiter::Clock::time_point start) {
        if (paced)
            line_.arrivePaced(reply, start - line_.now() + FakeLine::ByteTime);
        else
            line_.arrive(reply, start - line_.now());
        busyUntil_ = start + wireTime(reply.size());
    }

    FakeLine& line_;
    Bytes pending_;
    int received_ = 0;
    Waiter::Clock::time_point busyUntil_{};
};

} // namespace orb::test
