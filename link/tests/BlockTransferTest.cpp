// Block requests, retry schedules, the write order and Storno, against a fake unit on a virtual clock.
#include "link/BlockTransfer.h"

#include "tests/support/FakeUnit.h"
#include "tests/support/TestProgress.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace orb {
inline void PrintTo(const TransferCounts& c, std::ostream* out) {
    *out << "{" << c.blocks << " blocks, " << c.bytes << " B, " << c.retries << " retries, " << c.lineBytes
         << " B on the line}";
}
} // namespace orb

namespace orb::test {
namespace {

constexpr auto Done = BlockTransfer::Outcome::Done;
constexpr auto Failed = BlockTransfer::Outcome::Failed;
constexpr auto Stopped = BlockTransfer::Outcome::Stopped;

using namespace std::chrono_literals;

class BlockTransferTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(transport.openPort("/dev/ttyS0")); }

    FakeLine line;
    FakeUnit unit{line};
    Transport transport{line, line};
    std::unique_ptr<EepromImage> imageBuffer = std::make_unique<EepromImage>();
    EepromImage& image = *imageBuffer;
    TestProgress progress;
    BlockTransfer blocks{transport, image, progress, progress.stop};
};

std::vector<int> Addresses(std::initializer_list<std::pair<int, int>> ranges) {
    std::vector<int> addresses;
    for (const auto& [from, to] : ranges)
        for (int a = from; a <= to; a += 8)
            addresses.push_back(a);
    return addresses;
}

TEST_F(BlockTransferTest, ReadsA128ByteUnitWithSixteenRequests) {
    for (int i = 0; i < 128; ++i)
        unit.eeprom[i] = static_cast<std::uint8_t>(i * 7 + 3);
    image.putByte(128, 0x55);

    EXPECT_EQ(blocks.readImage(128), Done);

    EXPECT_EQ(unit.addressesOf(0x04), Addresses({{0, 120}}));
    EXPECT_EQ(unit.requests.front().payload, (Bytes{0x04, '0', '0', '0', '0'}));
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(image.getByte(i), static_cast<std::uint8_t>(i * 7 + 3)) << i;
    EXPECT_EQ(image.getByte(128), 0x55); // beyond the memory nothing changes
    EXPECT_EQ(progress.events,
              (std::vector<std::string>{"show Načítám data z EEPROM do PC. [Storno]", "hide"}));
    EXPECT_EQ(progress.lastDone, 16);
    EXPECT_EQ(progress.lastTotal, 16);
}

TEST_F(BlockTransferTest, AddressesTravelLowByteFirstAsHexPairs) {
    image.putByte(0xFFF8, 0x3A);
    image.putByte(0xFFFF, 0xFF);
    EXPECT_TRUE(blocks.readBlock(0x0108));
    EXPECT_TRUE(blocks.readBlock(0x8000));
    unit.eeprom[0xFFF8] = 0;
    EXPECT_TRUE(blocks.writeBlock(0xFFF8, blocks.imageBlock(0xFFF8)));
    ASSERT_EQ(unit.requests.size(), 3u);
    EXPECT_EQ(unit.requests[0].payload, (Bytes{0x04, '8', '0', '1', '0'}));
    EXPECT_EQ(unit.requests[1].payload, (Bytes{0x04, '0', '0', '0', '8'}));
    EXPECT_EQ(unit.requests[2].payload, (Bytes{0x05, '8', 'F', 'F', 'F', 'A', '3', '0', '0', '0', '0',
                                               '0',  '0', '0', '0', '0', '0', '0', '0', 'F', 'F'}));
    EXPECT_EQ(unit.eeprom[0xFFF8], 0x3A);
}

struct ReadReply {
    const char* name;
    Bytes frame;
    bool accepted;
};

TEST_F(BlockTransferTest, ReadAcceptsOnlyEightHexPairsBehindItsCode) {
    const ReadReply cases[] = {
        {"lower-case digits",
         {0x84, 'a', '3', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', 'f', 'f', 0x25, 0x0D},
         true},
        {"another code",
         {0x85, 'A', '3', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', 'F', 'F', 0xC6, 0x0D},
         false},
        {"seven pairs",
         {0x84, 'A', '3', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', 0x39, 0x0D},
         false},
        {"not a hex digit",
         {0x84, 'A', '3', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', 'F', 'G', 0xC6, 0x0D},
         false},
    };
    for (const ReadReply& c : cases) {
        FakeLine scripted;
        Transport scriptedTransport(scripted, scripted);
        ASSERT_TRUE(scriptedTransport.openPort("/dev/ttyS0"));
        BlockTransfer reader(scriptedTransport, image, progress, progress.stop);
        for (int k = 0; k < 8; ++k)
            image.putByte(16 + k, 0x11);
        scripted.arrive(c.frame, 5ms);
        EXPECT_EQ(reader.readBlock(16), c.accepted) << c.name;
        EXPECT_EQ(image.getByte(16), c.accepted ? 0x3A : 0x11) << c.name;
        EXPECT_EQ(image.getByte(23), c.accepted ? 0xFF : 0x11) << c.name;
    }
}

struct Schedule {
    const char* name;
    std::uint8_t silentCode; ///< the requests the unit leaves unanswered
    bool write;              ///< a whole write with read-back, else a whole read
    std::vector<long long> waits;
};

TEST_F(BlockTransferTest, RetriesWithLongerWaitsUntilTheAttemptsRunOut) {
    const Schedule cases[] = {
        {"read: 12 attempts", 0x04, false, {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100, 1200}},
        {"write: 10 attempts", 0x05, true, {200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100}},
        {"read-back: 9 attempts", 0x04, true, {200, 300, 400, 500, 600, 700, 800, 900, 1000}},
    };
    for (const Schedule& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLine caseLine;
        FakeUnit caseUnit(caseLine);
        Transport caseTransport(caseLine, caseLine);
        ASSERT_TRUE(caseTransport.openPort("/dev/ttyS0"));
        TestProgress caseProgress;
        BlockTransfer caseBlocks(caseTransport, image, caseProgress, caseProgress.stop);
        caseUnit.ignore = [&](const FakeUnit::Request& r) { return r.code() == c.silentCode; };

        EXPECT_EQ(c.write ? caseBlocks.writeImage(128, true) : caseBlocks.readImage(128), Failed);

        const auto tried = caseUnit.requestsOf(c.silentCode);
        std::vector<long long> waits;
        for (std::size_t i = 0; i < tried.size(); ++i)
            waits.push_back((i + 1 < tried.size() ? tried[i + 1].atMs : caseLine.elapsedMs()) -
                            tried[i].atMs);
        EXPECT_EQ(waits, c.waits);
        EXPECT_EQ(caseUnit.addressesOf(c.silentCode), std::vector<int>(c.waits.size(), 0));
        EXPECT_FALSE(caseProgress.shown);
        EXPECT_FALSE(caseProgress.stop.reason());
    }
}

struct CountsCase {
    const char* name;
    std::function<bool(const FakeUnit::Request&)> ignore;
    std::function<BlockTransfer::Outcome(BlockTransfer&)> transfer;
    TransferCounts expected;
};

void PrintTo(const CountsCase& c, std::ostream* out) {
    *out << c.name;
}

class TransferCountsTest : public BlockTransferTest, public ::testing::WithParamInterface<CountsCase> {};

TEST_P(TransferCountsTest, ReportsWhatMovedOnceAtTheEnd) {
    unit.ignore = GetParam().ignore;
    GetParam().transfer(blocks);
    EXPECT_EQ(progress.transfers, std::vector<TransferCounts>{GetParam().expected});
}

// Frames on the line: a read request 7 bytes and its reply 19, a write request 23 and its reply 3.
const auto ReadAll = [](BlockTransfer& b) { return b.readImage(128); };
const auto Never = [](const FakeUnit::Request&) { return false; };

INSTANTIATE_TEST_SUITE_P(
    Transfers, TransferCountsTest,
    ::testing::Values(CountsCase{"read", Never, ReadAll, {16, 128, 0, 16 * 26}},
                      CountsCase{"read, block 8 twice unanswered",
                                 [](const FakeUnit::Request& r) { return r.address() == 8 && r.index <= 3; },
                                 ReadAll,
                                 {16, 128, 2, 16 * 26 + 2 * 7}},
                      CountsCase{"write without read-back: the header alone is read back",
                                 Never,
                                 [](BlockTransfer& b) { return b.writeImage(128, false); },
                                 {35, 280, 0, 35 * 26}},
                      CountsCase{"write with read-back, one read-back unanswered",
                                 [](const FakeUnit::Request& r) { return r.code() == 0x04 && r.index == 2; },
                                 [](BlockTransfer& b) { return b.writeImage(128, true); },
                                 {68, 544, 1, 68 * 26 + 7}},
                      CountsCase{"read that fails on block 0",
                                 [](const FakeUnit::Request&) { return true; },
                                 ReadAll,
                                 {0, 0, 11, 12 * 7}}));

TEST_F(BlockTransferTest, ReadSucceedsOnTheTwelfthAttempt) {
    unit.ignore = [](const FakeUnit::Request& r) { return r.address() == 8 && r.index <= 12; };
    EXPECT_EQ(blocks.readImage(128), Done);
    EXPECT_EQ(unit.addressesOf(0x04).size(), 16u + 11u);
}

struct UnitFault {
    const char* name;
    bool paced;
    std::function<void(FakeUnit&)> apply; ///< on the third request, the first attempt at a later block
};

TEST_F(BlockTransferTest, LateDoubledOrOverlongRepliesNeverShiftABlock) {
    auto third = [](const FakeUnit::Request& r) { return r.index == 3; };
    auto lateBy = [third](std::chrono::milliseconds late) {
        return [=](FakeUnit& u) {
            u.replyAfter = [=](const FakeUnit::Request& r) { return third(r) ? late : 2ms; };
        };
    };
    const UnitFault cases[] = {
        {"late by 10 ms past the limit", true, lateBy(110ms)},
        {"late by 150 ms past the limit", true, lateBy(250ms)},
        {"late by 1000 ms past the limit", true, lateBy(1100ms)},
        {"late, answered at once", false, lateBy(250ms)},
        {"five queued retries answered together", true, lateBy(1600ms)},
        {"doubled", true, [=](FakeUnit& u) { u.twice = third; }},
        {"doubled in one burst", false, [=](FakeUnit& u) { u.twice = third; }},
        {"300 bytes at the wire's pace", true,
         [=](FakeUnit& u) {
             Bytes junk(300, 'J');
             junk.back() = 0x0D;
             u.replaceReply = [=](const FakeUnit::Request& r) {
                 return third(r) ? std::optional<Bytes>(junk) : std::nullopt;
             };
         }},
    };
    for (const bool write : {false, true}) {
        for (const UnitFault& c : cases) {
            SCOPED_TRACE(std::string(write ? "verified write, " : "read, ") + c.name);
            FakeLine caseLine;
            FakeUnit caseUnit(caseLine);
            caseUnit.paced = c.paced;
            c.apply(caseUnit);
            Transport caseTransport(caseLine, caseLine);
            ASSERT_TRUE(caseTransport.openPort("/dev/ttyS0"));
            TestProgress caseProgress;
            BlockTransfer caseBlocks(caseTransport, image, caseProgress, caseProgress.stop);
            Bytes expected(128);
            for (int i = 0; i < 128; ++i) {
                expected[i] = static_cast<std::uint8_t>(i * 13 + 1);
                (write ? image.putByte(i, expected[i]) : void(caseUnit.eeprom[i] = expected[i]));
            }

            EXPECT_EQ(write ? caseBlocks.writeImage(128, true) : caseBlocks.readImage(128), Done);
            Bytes read(128);
            for (int i = 0; i < 128; ++i)
                read[i] = image.getByte(i);
            EXPECT_EQ(read, expected);
            EXPECT_EQ(Bytes(caseUnit.eeprom.begin(), caseUnit.eeprom.begin() + 128), expected);
        }
    }
}

TEST_F(BlockTransferTest, WritesBlockZeroFourTimesAndEveryOtherBlockTwice) {
    for (int i = 0; i < 128; ++i)
        image.putByte(i, i + 1);

    EXPECT_EQ(blocks.writeImage(128, true), Done);

    const std::vector<int> order = [] {
        std::vector<int> o{0};
        for (int pass = 0; pass < 2; ++pass)
            for (int a : Addresses({{0, 120}}))
                o.push_back(a);
        o.push_back(0);
        return o;
    }();
    EXPECT_EQ(unit.addressesOf(0x05), order);
    EXPECT_EQ(unit.addressesOf(0x04), order); // each write read back at once
    EXPECT_EQ(unit.requests[1].code(), 0x04);
    const auto writes = unit.requestsOf(0x05);
    const Bytes zeros(16, '0');
    for (std::size_t i : {std::size_t{0}, std::size_t{1}, std::size_t{17}})
        EXPECT_EQ(Bytes(writes[i].payload.begin() + 5, writes[i].payload.end()), zeros) << i;
    EXPECT_EQ(Bytes(writes.back().payload.begin() + 5, writes.back().payload.end()),
              (Bytes{'1', '0', '2', '0', '3', '0', '4', '0', '5', '0', '6', '0', '7', '0', '8', '0'}));
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(unit.eeprom[i], i + 1) << i;
    EXPECT_EQ(progress.events,
              (std::vector<std::string>{"show Ukládám data z PC do EEPROM. [Storno]", "hide"}));
    EXPECT_EQ(progress.lastDone, 34);
    EXPECT_EQ(progress.lastTotal, 34);
}

TEST_F(BlockTransferTest, WriteWithoutReadBackReadsBackOnlyTheHeaderLast) {
    EXPECT_EQ(blocks.writeImage(128, false), Done);
    EXPECT_EQ(unit.requestsOf(0x05).size(), 34u);
    EXPECT_EQ(unit.addressesOf(0x04), std::vector<int>{0});
    EXPECT_EQ(unit.requests.at(unit.requests.size() - 2).payload, (Bytes{0x04, '0', '0', '0', '0'}));
}

TEST_F(BlockTransferTest, StornoEndsAReadAfterTheBlockInHand) {
    // Storno comes while block 8 is being retried: the block is retried to its end first.
    unit.ignore = [](const FakeUnit::Request& r) { return r.address() == 8 && r.index <= 3; };
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.index == 2) progress.cancel();
    };
    EXPECT_EQ(blocks.readImage(128), Stopped);
    EXPECT_EQ(progress.stop.reason(), StopReason::Storno);
    EXPECT_EQ(unit.addressesOf(0x04), (std::vector<int>{0, 8, 8, 8}));
}

TEST_F(BlockTransferTest, StornoEndsAWriteWithBlockZeroStillZeroInTheUnitOnly) {
    for (int i = 0; i < 128; ++i) {
        image.putByte(i, 0x42);
        unit.eeprom[i] = 0x42;
    }
    unit.onRequest = [&](const FakeUnit::Request& r) {
        if (r.index == 9) progress.cancel(); // the write of block 24 in the first pass
    };
    EXPECT_EQ(blocks.writeImage(128, true), Stopped);
    EXPECT_EQ(progress.stop.reason(), StopReason::Storno);
    EXPECT_EQ(unit.addressesOf(0x05), (std::vector<int>{0, 0, 8, 16, 24}));
    EXPECT_EQ(unit.addressesOf(0x04), (std::vector<int>{0, 0, 8, 16})); // no read-back after Storno
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(unit.eeprom[k], 0);
        EXPECT_EQ(image.getByte(k), 0x42); // the zeros went out without passing through the image
    }
}

TEST_F(BlockTransferTest, SettingsOnlyReadFollowsTheHeaderAsFarAsTheImageReaches) {
    // A unit never programmed: its header fails the signature, and nothing beyond it is read.
    EXPECT_EQ(blocks.readSettingsImage(2048), Done);
    EXPECT_EQ(unit.addressesOf(0x04), Addresses({{0, 56}}));

    // A header whose texts point past the memory: read to the memory's end, no further.
    FakeLine pastLine;
    FakeUnit past(pastLine);
    Transport pastTransport(pastLine, pastLine);
    ASSERT_TRUE(pastTransport.openPort("/dev/ttyS0"));
    BlockTransfer pastBlocks(pastTransport, image, progress, progress.stop);
    EepromImage header;
    header.putWord(10010, 24);
    for (int group = 0; group < 24; group += 2)
        header.putWord(200, group);
    header.putByte(26, HeaderChecksum(header));
    for (int i = 0; i < 64; ++i)
        past.eeprom[i] = header.getByte(i);
    EXPECT_EQ(pastBlocks.readSettingsImage(128), Done);
    EXPECT_EQ(past.addressesOf(0x04), Addresses({{0, 120}}));
}

// What the wire cannot show: a reply repeated later while the next request was lost, and damage that keeps
// the frame checksum. The frame count balances in both, so only a second read of the memory tells.
struct UnseenFault {
    const char* name;
    std::function<void(FakeUnit&)> arrange;
    int spoiledBlock; ///< the block a single read takes wrong
};

void PrintTo(const UnseenFault& c, std::ostream* out) {
    *out << c.name;
}

class UnseenFaultTest : public BlockTransferTest, public ::testing::WithParamInterface<UnseenFault> {
  protected:
    void SetUp() override {
        BlockTransferTest::SetUp();
        for (int i = 0; i < 128; ++i)
            unit.eeprom[i] = static_cast<std::uint8_t>(0x30 + i);
        GetParam().arrange(unit);
    }
    void expectTheUnitsBytes() {
        for (int i = 0; i < 128; ++i)
            ASSERT_EQ(image.getByte(i), 0x30 + i) << i;
    }
};

// The fixture's fault is real: a single read, in step by its closing check, takes it.
TEST_P(UnseenFaultTest, ASingleReadTakesTheWrongBytes) {
    EXPECT_EQ(blocks.readImage(128), Done);
    const int spoiled = GetParam().spoiledBlock;
    bool differs = false;
    for (int k = 0; k < 8; ++k)
        differs = differs || image.getByte(spoiled + k) != 0x30 + spoiled + k;
    EXPECT_TRUE(differs);
}

TEST_P(UnseenFaultTest, ASecondReadFindsTheBlockAndReadsItUntilTwoReadsAgree) {
    EXPECT_EQ(blocks.readImage(128, ReadCheck::Twice), Done);
    expectTheUnitsBytes();
    EXPECT_TRUE(blocks.disagreeingBlocks().empty());
    // Both passes, then the spoiled block once more: its third read agrees with the second.
    std::vector<int> expected = Addresses({{0, 120}, {0, 120}});
    expected.push_back(GetParam().spoiledBlock);
    EXPECT_EQ(unit.addressesOf(0x04), expected);
    EXPECT_EQ(progress.lastDone, 32);
    EXPECT_EQ(progress.lastTotal, 32);
}

TEST_P(UnseenFaultTest, ASettingsOnlyReadIsProvenTheSameWay) {
    EXPECT_EQ(blocks.readSettingsImage(128, ReadCheck::Twice), Done);
    for (int i = 0; i < 64; ++i) // a header that fails its signature: the read stops there
        ASSERT_EQ(image.getByte(i), 0x30 + i) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnseenFaultTest,
    ::testing::Values(UnseenFault{"block 16's reply repeated 30 ms later, block 24's request lost",
                                  [](FakeUnit& u) {
                                      u.repeatAfter = [](const FakeUnit::Request& r) {
                                          return r.index == 3 ? std::optional(30ms) : std::nullopt;
                                      };
                                      u.ignore = [](const FakeUnit::Request& r) { return r.index == 4; };
                                  },
                                  24},
                      UnseenFault{"two hex digits of block 40 moved by one each way, the checksum kept",
                                  [](FakeUnit& u) {
                                      u.replaceReply =
                                          [](const FakeUnit::Request& r) -> std::optional<Bytes> {
                                          if (r.index != 6) return std::nullopt;
                                          // Block 40 holds 58 59 ...: its reply begins 0x84 '8' '5' '9' '5'.
                                          Bytes reply{0x84};
                                          for (int k = 0; k < 8; ++k)
                                              for (const std::uint8_t digit :
                                                   ByteToHexPair(static_cast<std::uint8_t>(0x58 + k)))
                                                  reply.push_back(digit);
                                          reply[1] += 1;
                                          reply[3] -= 1;
                                          reply.push_back(FrameChecksum(Bytes(reply.begin(), reply.end())));
                                          reply.push_back(0x0D);
                                          return reply;
                                      };
                                  },
                                  40}));

TEST_F(BlockTransferTest, ABlockWhoseReadsNeverAgreeFailsTheReadAndIsNamed) {
    int reads = 0;
    unit.replaceReply = [&](const FakeUnit::Request& r) -> std::optional<Bytes> {
        if (r.code() != 0x04 || r.address() != 8) return std::nullopt;
        Bytes reply{0x84};
        for (int k = 0; k < 8; ++k)
            for (const std::uint8_t digit : ByteToHexPair(static_cast<std::uint8_t>(reads + k)))
                reply.push_back(digit);
        ++reads;
        reply.push_back(FrameChecksum(reply));
        reply.push_back(0x0D);
        return reply;
    };
    EXPECT_EQ(blocks.readImage(128, ReadCheck::Twice), Failed);
    EXPECT_EQ(blocks.disagreeingBlocks(), std::vector<int>{8});
    EXPECT_EQ(reads, 5); // both passes and three more
    EXPECT_FALSE(progress.shown);

    EXPECT_EQ(blocks.readImage(128), Done); // a later read starts with nothing named
    EXPECT_TRUE(blocks.disagreeingBlocks().empty());
}

// Without read-back, an acknowledgement repeated later can stand for the header write the unit never got.
TEST_F(BlockTransferTest, AWriteWithoutReadBackFailsWhenTheUnitsHeaderIsNotTheImages) {
    for (int i = 0; i < 128; ++i)
        image.putByte(i, static_cast<std::uint8_t>(i + 1));
    unit.repeatAfter = [](const FakeUnit::Request& r) {
        return r.index == 33 ? std::optional(30ms) : std::nullopt;
    };
    unit.ignore = [](const FakeUnit::Request& r) { return r.index == 34; }; // the header write
    EXPECT_EQ(blocks.writeImage(128, false), Failed);
    EXPECT_EQ(Bytes(unit.eeprom.begin(), unit.eeprom.begin() + 8), Bytes(8, 0));
    const auto writes = unit.requestsOf(0x05);
    ASSERT_EQ(writes.size(), 34u);
    EXPECT_EQ(writes.back().payload, (Bytes{0x05, '0', '0', '0', '0', '1', '0', '2', '0', '3', '0',
                                            '4',  '0', '5', '0', '6', '0', '7', '0', '8', '0'}));
    EXPECT_EQ(unit.addressesOf(0x04), std::vector<int>(9, 0)); // read back on the read-back schedule
}

} // namespace
} // namespace orb::test
