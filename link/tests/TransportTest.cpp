// Frames on the wire and the reception rules, against literal bytes on a virtual clock.
#include "link/Transport.h"

#include "link/PortDevice.h"
#include "tests/support/FakeLine.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace orb::test {
namespace {

TransferBlock Payload(const Bytes& bytes) {
    TransferBlock block;
    for (const std::uint8_t byte : bytes)
        block.append(byte);
    return block;
}

Bytes Repeated(std::uint8_t byte, std::size_t count) {
    return Bytes(count, byte);
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class TransportTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(transport.openPort("/dev/ttyS0")); }

    FakeLine line;
    Transport transport{line, line};
};

struct SentFrame {
    const char* name;
    Bytes payload;
    Bytes wire;
};

TEST_F(TransportTest, SendsPayloadChecksumAndTerminator) {
    TransferBlock readOf264 = TransferBlock::request(0x04);
    readOf264.appendHexPair(0x08);
    readOf264.appendHexPair(0x01);
    const SentFrame cases[] = {
        {"hello", {0x01}, {0x01, 0x02, 0x0D}},
        {"payload 02", {0x02}, {0x02, 0x03, 0x0D}},
        {"deactivate, sum past 255", {0x06, 0xAA, 0x55}, {0x06, 0xAA, 0x55, 0x06, 0x0D}},
        {"read of block 264",
         {readOf264.payload().begin(), readOf264.payload().end()},
         {0x04, 0x38, 0x30, 0x31, 0x30, 0xCE, 0x0D}},
        {"checksum 13 goes as 12", {0x0C}, {0x0C, 0x0C, 0x0D}},
        {"checksum 12 stays 12", {0x05, 0x06}, {0x05, 0x06, 0x0C, 0x0D}},
        {"every byte value unchanged", {0x00, 0xFF, 0x80}, {0x00, 0xFF, 0x80, 0x80, 0x0D}},
    };
    for (const SentFrame& c : cases) {
        line.written.clear();
        transport.exchange(Payload(c.payload), 0);
        EXPECT_EQ(line.written, c.wire) << c.name;
    }
}

TEST_F(TransportTest, BlockRefusesToGrowPastItsCapacity) {
    TransferBlock block;
    for (std::size_t i = 0; i < TransferBlock::Capacity; ++i)
        block.append(0x30);
    EXPECT_THROW(block.append(0x30), std::out_of_range);
    EXPECT_EQ(block.count, 101);
}

struct Reception {
    const char* name;
    std::uint8_t request;                      ///< the request's code
    std::vector<std::pair<Bytes, int>> bursts; ///< bytes and their arrival, ms after the request
    int limitMs;
    int count;     ///< payload length, 0 for no valid reply
    int returnsAt; ///< ms after the request
};

TEST_F(TransportTest, ReceivesTheReplyWithinTheLimit) {
    const Bytes reply = {0x82, '2', '0', '3', 'D', '3', '0', '2', '0', '1', '0'};
    const Bytes replyFrame = Concat(reply, {0x82, 0x0D});
    const Bytes longest = Concat(Concat({0x81}, Repeated('0', 98)), {0xE2, 0x0D}); // 101 bytes
    const Reception cases[] = {
        {"whole reply at once", 0x02, {{replyFrame, 20}}, 100, 11, 20},
        {"three bursts",
         0x02,
         {{{0x82, '2', '0', '3'}, 10}, {{'D', '3', '0', '2'}, 40}, {{'0', '1', '0', 0x82, 0x0D}, 90}},
         100,
         11,
         90},
        {"another code is passed over", 0x02, {{{0x83, 0x84, 0x0D}, 5}, {replyFrame, 30}}, 100, 11, 30},
        {"what follows the reply in its burst is left",
         0x01,
         {{{0x81, 0x82, 0x0D, 0x81, 0x83}, 5}},
         100,
         1,
         5},
        {"checksum 12 where 13 is due", 0x01, {{{0x81, 0x8B, 0x0C, 0x0D}, 5}}, 100, 2, 5},
        {"wrong checksum", 0x01, {{{0x81, 0x83, 0x0D}, 5}}, 100, 0, 5},
        {"lone terminator", 0x01, {{{0x0D}, 5}}, 100, 0, 5},
        {"silence", 0x01, {}, 100, 0, 100},
        {"no terminator", 0x01, {{{0x81, 0x82}, 5}}, 100, 0, 100},
        {"terminator as the limit runs out", 0x01, {{{0x81, 0x82, 0x0D}, 100}}, 100, 0, 100},
        {"101 bytes fit", 0x01, {{longest, 30}}, 100, 99, 30},
        {"300 bytes are a bad reply", 0x01, {{Concat(Repeated(0x41, 299), {0x0D}), 30}}, 100, 0, 30},
        {"102 bytes are a bad reply", 0x01, {{Concat({0x30}, longest), 30}}, 100, 0, 30},
    };
    for (const Reception& c : cases) {
        FakeLine fresh;
        Transport receiver(fresh, fresh);
        ASSERT_TRUE(receiver.openPort("/dev/ttyS0"));
        fresh.onWrite = [&](std::span<const std::uint8_t>) {
            for (const auto& [bytes, at] : c.bursts)
                fresh.arrive(bytes, std::chrono::milliseconds(at));
        };
        const TransferBlock block = receiver.exchange(TransferBlock::request(c.request), c.limitMs);
        EXPECT_EQ(block.count, c.count) << c.name;
        EXPECT_EQ(fresh.elapsedMs(), c.returnsAt) << c.name;
    }
}

TEST_F(TransportTest, KeepsTheWholeReceivedFrameAndZeroFillsTheRest) {
    line.onWrite = [&](std::span<const std::uint8_t>) { line.arrive({0x81, 0x82, 0x0D}, 5ms); };
    const TransferBlock block = transport.exchange(TransferBlock::request(0x01), 100);
    EXPECT_EQ(block.count, 1);
    EXPECT_EQ((Bytes{block.data.begin(), block.data.begin() + 4}), (Bytes{0x81, 0x82, 0x0D, 0x00}));
}

TransferBlock ReadRequest(int address) {
    TransferBlock request = TransferBlock::request(0x04);
    request.appendHexPair(static_cast<std::uint8_t>(address % 256));
    request.appendHexPair(static_cast<std::uint8_t>(address / 256));
    return request;
}

/// The reply to a block read: the code and the eight bytes as hex pairs, all of them the given digit.
Bytes FrameOf(const Bytes& payload) {
    return Concat(payload, {FrameChecksum(Payload(payload).payload()), 0x0D});
}

Bytes BlockReply(std::uint8_t digit) {
    return FrameOf(Concat({0x84}, Repeated(digit, 16)));
}

const Bytes IdentifyFrame = {0x02, 0x03, 0x0D};
const Bytes Identity = {0x82, '2', '0', '3', 'D', '3', '0', '2', '0', '1', '0'};

/// Answers the identify request with the given reply 15 ms after it went out, and the read of block 8
/// with its own reply 5 ms after it.
void AnswerIdentifyAndBlock8(FakeLine& line, const Bytes& identity) {
    line.onWrite = [&line, identity](std::span<const std::uint8_t> frame) {
        if (frame[0] == 0x02) line.arrive(FrameOf(identity), 15ms);
        if (frame[0] == 0x04) line.arrive(BlockReply('8'), 5ms);
    };
}

TEST_F(TransportTest, ReplyGivenUpOnIsDroppedByAResynchronisationBeforeTheNextBlock) {
    // The read of block 0 gets no reply in time; its reply comes after block 8's request would have gone.
    line.arrive(BlockReply('1'), 110ms);
    EXPECT_EQ(transport.exchange(ReadRequest(0), 100).count, 0);
    AnswerIdentifyAndBlock8(line, Identity);
    line.written.clear();
    const TransferBlock reply = transport.exchange(ReadRequest(8), 100);
    EXPECT_EQ(reply.count, 17);
    EXPECT_EQ(reply.data[1], '8');
    // The identify request went first; the late reply to block 0 came before its reply and was dropped.
    EXPECT_EQ(Bytes(line.written.begin(), line.written.begin() + 3), IdentifyFrame);
    EXPECT_EQ(line.written.size(), 3u + 7u);
    EXPECT_EQ(transport.checkInStep(100), StepCheck::InStep);
}

TEST_F(TransportTest, RequestWaitsForAResynchronisationThatNeverComes) {
    EXPECT_EQ(transport.exchange(ReadRequest(0), 300).count, 0);
    // Another attempt at the same request needs none: an earlier attempt's reply holds the same data.
    line.written.clear();
    EXPECT_EQ(transport.exchange(ReadRequest(0), 300).count, 0);
    const TransferBlock block0 = ReadRequest(0);
    EXPECT_EQ(line.written, FrameOf({block0.payload().begin(), block0.payload().end()}));
    // Nothing answers: the attempt at block 8 ends after its limit without the request being sent.
    line.written.clear();
    EXPECT_EQ(transport.exchange(ReadRequest(8), 100).count, 0);
    EXPECT_EQ(line.written, IdentifyFrame);
    EXPECT_EQ(line.elapsedMs(), 300 + 300 + 100);
}

TEST_F(TransportTest, AnotherUnitsIdentityFailsTheResynchronisation) {
    Bytes other = Identity;
    other[2] = '1';
    transport.rememberIdentity(Payload(Identity));
    EXPECT_EQ(transport.exchange(ReadRequest(0), 100).count, 0);
    AnswerIdentifyAndBlock8(line, other);
    EXPECT_EQ(transport.exchange(ReadRequest(8), 100).count, 0);
    EXPECT_EQ(transport.checkInStep(100), StepCheck::NoReply);
    AnswerIdentifyAndBlock8(line, Identity);
    EXPECT_EQ(transport.exchange(ReadRequest(8), 100).count, 17);
}

TEST_F(TransportTest, AReplyRepeatedLaterIsFoundOutOfStepAtTheClosingCheck) {
    // Block 0 answered twice, the copy 30 ms behind: it is taken for block 8's reply, and block 8's own
    // reply comes as one too many before the closing identify reply.
    line.onWrite = [&](std::span<const std::uint8_t> frame) {
        if (frame[0] == 0x02) line.arrive(FrameOf(Identity), 5ms);
    };
    line.arrive(BlockReply('1'), 5ms);
    line.arrive(BlockReply('1'), 35ms);
    line.arrive(BlockReply('8'), 40ms);
    transport.forgetOutOfStep();
    EXPECT_EQ(transport.exchange(ReadRequest(0), 100).data[1], '1');
    line.advance(10ms);
    EXPECT_EQ(transport.exchange(ReadRequest(8), 100).data[1], '1');
    EXPECT_EQ(transport.checkInStep(100), StepCheck::OutOfStep);
    EXPECT_EQ(transport.checkInStep(100), StepCheck::InStep);
}

TEST_F(TransportTest, BytesWaitingWhenARequestGoesOutAreNotItsReply) {
    // A reply nobody asked for, in the input before the request and still arriving after it.
    const Bytes stale = BlockReply('1');
    line.arrive(Bytes(stale.begin(), stale.begin() + 3), 0ms);
    line.arrive(Bytes(stale.begin() + 3, stale.end()), 3ms);
    line.onWrite = [&](std::span<const std::uint8_t>) { line.arrive(BlockReply('8'), 10ms); };
    line.advance(1ms);
    const TransferBlock reply = transport.exchange(ReadRequest(8), 100);
    EXPECT_EQ(reply.count, 17);
    EXPECT_EQ(reply.data[1], '8');
}

TEST_F(TransportTest, WaitsForEventsInsteadOfSpinning) {
    // A silent unit: one wait for the whole limit, not one per poll.
    transport.exchange(TransferBlock::request(0x01), 500);
    EXPECT_EQ(line.waits, 1);
}

TEST_F(TransportTest, PortFailureReachesTheCaller) {
    line.hangUp();
    EXPECT_THROW(transport.exchange(TransferBlock::request(0x01), 100), PortError);
}

TEST(TimeoutTest, StartingAgainDiscardsTheEarlierLimit) {
    FakeLine clock;
    Timeout timeout(clock);
    EXPECT_FALSE(timeout.elapsed());
    timeout.start(100ms);
    clock.advance(50ms);
    timeout.start(100ms);
    clock.advance(60ms);
    EXPECT_FALSE(timeout.elapsed());
    clock.advance(40ms);
    EXPECT_TRUE(timeout.elapsed());
}

TEST(PortDeviceTest, MapsComNumbersToDevices) {
    unsetenv("ORB_COM3");
    EXPECT_EQ(PortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(PortDevice(3), "/dev/ttyS2");
    setenv("ORB_COM3", "/dev/ttyUSB0", 1);
    EXPECT_EQ(PortDevice(3), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevice(4), "/dev/ttyS3");
    setenv("ORB_COM3", "", 1);
    EXPECT_EQ(PortDevice(3), "/dev/ttyS2");
    unsetenv("ORB_COM3");
}

} // namespace
} // namespace orb::test
