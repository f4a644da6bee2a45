// Frames on the wire and the reception rules, against literal bytes on a virtual clock.
#include "link/Transport.h"

#include "link/PortDevice.h"
#include "link/tests/FakeLine.h"

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
    void SetUp() override { ASSERT_TRUE(transport.openPort(1)); }

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
        transport.sendFrame(Payload(c.payload));
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
    std::vector<std::pair<Bytes, int>> bursts; ///< bytes and their arrival, ms after the request
    int limitMs;
    int count;     ///< payload length, 0 for no valid reply
    int returnsAt; ///< ms after the start of the reception
};

TEST_F(TransportTest, ReceivesOneFrameWithinTheLimit) {
    const Bytes reply = {0x82, '2', '0', '3', 'D', '3', '0', '2', '0', '1', '0'};
    const Bytes replyFrame = Concat(reply, {0x82, 0x0D});
    const Bytes longest = Concat(Concat({0x81}, Repeated('0', 98)), {0xE2, 0x0D}); // 101 bytes
    const Reception cases[] = {
        {"whole reply at once", {{replyFrame, 20}}, 100, 11, 20},
        {"three bursts",
         {{{0x82, '2', '0', '3'}, 10}, {{'D', '3', '0', '2'}, 40}, {{'0', '1', '0', 0x82, 0x0D}, 90}},
         100,
         11,
         90},
        {"terminator inside a burst is not the end",
         {{{0x81, 0x0D, 0x81}, 10}, {{0x82, 0x0D}, 20}},
         100,
         0,
         20},
        {"checksum 12 where 13 is due", {{{0x0C, 0x0C, 0x0D}, 5}}, 100, 1, 5},
        {"wrong checksum", {{{0x81, 0x83, 0x0D}, 5}}, 100, 0, 5},
        {"lone terminator", {{{0x0D}, 5}}, 100, 0, 5},
        {"silence", {}, 100, 0, 100},
        {"no terminator", {{{0x81, 0x82}, 5}}, 100, 0, 100},
        {"terminator as the limit runs out", {{{0x81, 0x82, 0x0D}, 100}}, 100, 0, 100},
        {"101 bytes fit", {{longest, 30}}, 100, 99, 30},
        {"300 bytes are a bad reply", {{Concat(Repeated(0x41, 299), {0x0D}), 30}}, 100, 0, 30},
        {"102 bytes are a bad reply", {{Concat({0x30}, longest), 30}}, 100, 0, 30},
    };
    for (const Reception& c : cases) {
        FakeLine fresh;
        Transport receiver(fresh, fresh);
        ASSERT_TRUE(receiver.openPort(1));
        for (const auto& [bytes, at] : c.bursts)
            fresh.arrive(bytes, std::chrono::milliseconds(at));
        const TransferBlock block = receiver.receiveFrame(c.limitMs);
        EXPECT_EQ(block.count, c.count) << c.name;
        EXPECT_EQ(fresh.elapsedMs(), c.returnsAt) << c.name;
    }
}

TEST_F(TransportTest, KeepsTheWholeReceivedFrameAndZeroFillsTheRest) {
    line.arrive({0x81, 0x82, 0x0D}, 5ms);
    const TransferBlock block = transport.receiveFrame(100);
    EXPECT_EQ(block.count, 1);
    EXPECT_EQ((Bytes{block.data.begin(), block.data.begin() + 4}), (Bytes{0x81, 0x82, 0x0D, 0x00}));
}

TEST_F(TransportTest, LateReplyIsReadAsTheStartOfTheNextReception) {
    line.arrive({0x81, 0x82, 0x0D}, 510ms);
    EXPECT_EQ(transport.receiveFrame(500).count, 0);
    EXPECT_EQ(line.elapsedMs(), 500);

    line.advance(20ms);
    const TransferBlock late = transport.receiveFrame(100);
    EXPECT_EQ(late.count, 1);
    EXPECT_EQ(late.code(), 0x81);
    EXPECT_EQ(line.elapsedMs(), 520);
}

TEST_F(TransportTest, WaitsForEventsInsteadOfSpinning) {
    // A silent unit: one wait for the whole limit, not one per poll.
    transport.receiveFrame(500);
    EXPECT_EQ(line.waits, 1);
}

TEST_F(TransportTest, PortFailureReachesTheCaller) {
    line.hangUp();
    EXPECT_THROW(transport.receiveFrame(100), PortError);
    EXPECT_THROW(transport.sendFrame(TransferBlock::request(0x01)), PortError);
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
