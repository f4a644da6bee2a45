#include "tools/orbsim/tests/SimulatedUnit.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

using orb::sim::test::Bytes;
using orb::sim::test::SimulatedUnit;

namespace {

const Bytes Hello{0x01, 0x02, 0x0D};
const Bytes HelloReply{0x81, 0x82, 0x0D};
const Bytes Identify{0x02, 0x03, 0x0D};
const Bytes MemoryAndModem{0x03, 0x04, 0x0D};
const Bytes Deactivate{0x06, 0xAA, 0x55, 0x06, 0x0D};
const Bytes DeactivateReply{0x86, 0x87, 0x0D};
// Read of block 0x0108: the address travels as '8','0','1','0'.
const Bytes Read0108{0x04, 0x38, 0x30, 0x31, 0x30, 0xCE, 0x0D};
// Write of 3A FF 00 01 12 34 56 78 to block 0x0108, every byte low-nibble digit first.
const Bytes Write0108{0x05, 0x38, 0x30, 0x31, 0x30, 0x41, 0x33, 0x46, 0x46, 0x30, 0x30, 0x31,
                      0x30, 0x32, 0x31, 0x34, 0x33, 0x36, 0x35, 0x38, 0x37, 0x34, 0x0D};
const Bytes WriteReply{0x85, 0x86, 0x0D};
const Bytes Read0108Written{0x84, 0x41, 0x33, 0x46, 0x46, 0x30, 0x30, 0x31, 0x30, 0x32,
                            0x31, 0x34, 0x33, 0x36, 0x35, 0x38, 0x37, 0xEA, 0x0D};
const Bytes ReadErased{0x84, 0x46, 0x46, 0x46, 0x46, 0x46, 0x46, 0x46, 0x46, 0x46,
                       0x46, 0x46, 0x46, 0x46, 0x46, 0x46, 0x46, 0xE5, 0x0D};

const std::vector<std::string> Fast{"--no-pace"};
constexpr std::chrono::milliseconds Silence(100);

std::vector<std::string> fast(std::vector<std::string> args) {
    args.insert(args.begin(), "--no-pace");
    return args;
}

TEST(Orbsim, AnswersTheActivationExchangesOfAnOrb12) {
    SimulatedUnit unit(fast({"--memory", "2048", "--modem", "2"}));
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
    EXPECT_EQ(unit.Exchange(Identify),
              (Bytes{0x82, '2', '0', '3', 'D', '3', '0', '2', '0', '1', '0', 0x82, 0x0D}));
    // Memory code 4 (2048 bytes), modem code 2.
    EXPECT_EQ(unit.Exchange(MemoryAndModem), (Bytes{0x83, '4', '0', '2', '0', 0x4A, 0x0D}));
    EXPECT_EQ(unit.Exchange(Deactivate), DeactivateReply);
    EXPECT_EQ(unit.Stop(), 0);
}

TEST(Orbsim, ReportsTheIdentityAndVersionAskedFor) {
    // TAL is 02 A5 51, firmware 1.10 travels as minor 0A, major 01.
    SimulatedUnit unit(
        fast({"--product", "TAL", "--version", "1.10", "--memory-code", "12", "--modem", "255"}));
    const Bytes identity = unit.Exchange(Identify);
    EXPECT_EQ(Bytes(identity.begin(), identity.end() - 2),
              (Bytes{0x82, '2', '0', '5', 'A', '1', '5', 'A', '0', '1', '0'}));
    const Bytes memory = unit.Exchange(MemoryAndModem);
    EXPECT_EQ(Bytes(memory.begin(), memory.end() - 2), (Bytes{0x83, 'C', '0', 'F', 'F'}));
}

TEST(Orbsim, StoresAWrittenBlockAndReadsItBack) {
    SimulatedUnit unit(Fast);
    EXPECT_EQ(unit.Exchange(Read0108), ReadErased);
    EXPECT_EQ(unit.Exchange(Write0108), WriteReply);
    EXPECT_EQ(unit.Exchange(Read0108), Read0108Written);
}

TEST(Orbsim, WrapsAddressesBeyondTheMemorySize) {
    // In a 256-byte unit block 0x0108 is block 0x0008.
    SimulatedUnit unit(fast({"--memory", "256"}));
    EXPECT_EQ(unit.Exchange(Write0108), WriteReply);
    const Bytes read0008{0x04, 0x38, 0x30, 0x30, 0x30, 0xCD, 0x0D};
    EXPECT_EQ(unit.Exchange(read0008), Read0108Written);
}

TEST(Orbsim, StaysSilentOnBadChecksumsAndUnknownRequests) {
    SimulatedUnit unit(Fast);
    for (const Bytes& request : {
             Bytes{0x01, 0x03, 0x0D},                         // wrong checksum
             Bytes{0x07, 0x08, 0x0D},                         // unknown code
             Bytes{0x06, 0xAA, 0x56, 0x07, 0x0D},             // not the deactivation bytes
             Bytes{0x04, 0x38, 0x30, 0x31, 0x47, 0xE5, 0x0D}, // 'G' is no hex digit
             Bytes{0x0D},                                     // terminator alone
         }) {
        unit.Send(request);
        EXPECT_TRUE(unit.Receive(Silence).empty());
    }
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
}

TEST(Orbsim, AssemblesARequestThatArrivesInPieces) {
    SimulatedUnit unit(Fast);
    unit.Send(Bytes(Write0108.begin(), Write0108.begin() + 3));
    usleep(20'000);
    unit.Send(Bytes(Write0108.begin() + 3, Write0108.begin() + 15));
    usleep(20'000);
    unit.Send(Bytes(Write0108.begin() + 15, Write0108.end()));
    EXPECT_EQ(unit.Receive(), WriteReply);
}

TEST(Orbsim, PrintsHelpAndRefusesBadOptions) {
    const std::string program = std::string(std::getenv("ORB_TOOLS_DIR")) + "/orbsim";
    EXPECT_EQ(std::system((program + " --help >/dev/null").c_str()), 0);
    for (const char* bad :
         {"--memory 1000", "--product XYZ", "--version 1", "--drop x", "--late 3", "--split 1:x", "stray"})
        EXPECT_NE(std::system((program + " " + bad + " >/dev/null 2>&1").c_str()), 0) << bad;
}

std::string temporaryPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("orbsim-test-" + std::to_string(getpid()) + "-" + name))
        .string();
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(OrbsimFaults, IgnoresTheFirstHellosAskedFor) {
    SimulatedUnit unit(fast({"--silent-hellos", "2"}));
    unit.Send(Hello);
    EXPECT_TRUE(unit.Receive(Silence).empty());
    unit.Send(Hello);
    EXPECT_TRUE(unit.Receive(Silence).empty());
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
}

// Which of four hello replies are spoiled, and how; ignored requests do not count as replies.
struct ReplyFaultCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<Bytes> replies;
};

void PrintTo(const ReplyFaultCase& c, std::ostream* os) {
    *os << c.name;
}

class OrbsimReplyFaults : public testing::TestWithParam<ReplyFaultCase> {};

TEST_P(OrbsimReplyFaults, SpoilsTheRepliesAskedFor) {
    SimulatedUnit unit(fast(GetParam().args));
    for (std::size_t i = 0; i < GetParam().replies.size(); ++i) {
        unit.Send(Hello);
        EXPECT_EQ(unit.Receive(Silence), GetParam().replies[i]) << "reply " << i + 1;
    }
}

const Bytes Dropped{};
const Bytes Corrupt{0x81, 0x83, 0x0D};
const Bytes Garbage{0x81, 'G', 'G', 0x10, 0x0D};
const Bytes NoisyHello{0x00, 0xFF, 0x55, 0xAA, 0x7F, 0x81, 0x82, 0x0D};

INSTANTIATE_TEST_SUITE_P(
    Faults, OrbsimReplyFaults,
    testing::Values(
        ReplyFaultCase{"drop", {"--drop", "2"}, {HelloReply, Dropped, HelloReply, HelloReply}},
        ReplyFaultCase{"dropEvery", {"--drop-every", "2"}, {HelloReply, Dropped, HelloReply, Dropped}},
        ReplyFaultCase{"corrupt", {"--corrupt", "1"}, {Corrupt, HelloReply, HelloReply, HelloReply}},
        ReplyFaultCase{
            "corruptEvery", {"--corrupt-every", "3"}, {HelloReply, HelloReply, Corrupt, HelloReply}},
        ReplyFaultCase{"garbage", {"--garbage-reply", "2"}, {HelloReply, Garbage, HelloReply, HelloReply}},
        ReplyFaultCase{"silent", {"--silent"}, {Dropped, Dropped, Dropped, Dropped}},
        ReplyFaultCase{
            "dropTwoNamed", {"--drop", "1", "--drop", "3"}, {Dropped, HelloReply, Dropped, HelloReply}},
        ReplyFaultCase{"noise", {"--noise", "2"}, {HelloReply, NoisyHello, HelloReply, HelloReply}},
        ReplyFaultCase{"dropCountsOnlyAnswers",
                       {"--silent-hellos", "1", "--drop", "1"},
                       {Dropped, Dropped, HelloReply}}),
    [](const testing::TestParamInfo<ReplyFaultCase>& info) { return std::string(info.param.name); });

TEST(OrbsimFaults, DamagesAReplyWithItsChecksumKept) {
    SimulatedUnit unit(fast({"--keep-sum", "2"}));
    EXPECT_EQ(unit.Exchange(Hello), HelloReply); // no hex digit to move: as it was
    // The identity's first digit one up, the next that can fall one down; the checksum 0x82 holds.
    EXPECT_EQ(unit.Exchange(Identify),
              (Bytes{0x82, '3', '0', '2', 'D', '3', '0', '2', '0', '1', '0', 0x82, 0x0D}));
}

TEST(OrbsimFaults, SendsAnOverlongJunkReply) {
    SimulatedUnit unit(fast({"--long-reply", "1"}));
    unit.Send(Hello);
    const Bytes junk = unit.Receive();
    EXPECT_GT(junk.size(), 101u);
    EXPECT_EQ(junk.back(), 0x0D);
    EXPECT_EQ(std::count(junk.begin(), junk.end(), 0x0D), 1);
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
}

/// Reads frames until the given number of bytes came or the line stays silent.
Bytes ReceiveBytes(SimulatedUnit& unit, std::size_t count) {
    Bytes received;
    while (received.size() < count) {
        const Bytes more = unit.Receive();
        if (more.empty()) break;
        received.insert(received.end(), more.begin(), more.end());
    }
    return received;
}

Bytes Joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(OrbsimFaults, AnswersLateAndThenTheRequestsThatQueuedMeanwhile) {
    SimulatedUnit unit(fast({"--late", "1:200"}));
    unit.Send(Hello);
    unit.Send(Hello);
    unit.Send(Deactivate);
    EXPECT_TRUE(unit.Receive(std::chrono::milliseconds(150)).empty());
    EXPECT_EQ(ReceiveBytes(unit, 9), Joined(Joined(HelloReply, HelloReply), DeactivateReply));
}

TEST(OrbsimFaults, AnswersEverySecondRequestLate) {
    SimulatedUnit unit(fast({"--late-every", "2:150"}));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(unit.Exchange(Hello), HelloReply);
        unit.Send(Hello);
        EXPECT_TRUE(unit.Receive(std::chrono::milliseconds(100)).empty());
        EXPECT_EQ(unit.Receive(), HelloReply);
    }
}

TEST(OrbsimFaults, SendsAReplyTwiceBackToBack) {
    SimulatedUnit unit({"--double", "1"}); // paced: one unbroken run of bytes
    unit.Send(Hello);
    EXPECT_EQ(ReceiveBytes(unit, 6), Joined(HelloReply, HelloReply));
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
}

TEST(OrbsimFaults, SplitsAReplyIntoBurstsWithGaps) {
    SimulatedUnit unit(fast({"--split", "1:40"}));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
}

TEST(OrbsimFaults, ReadsABadBlockWithEveryByteInverted) {
    SimulatedUnit unit(fast({"--bad-block", "0x0108"}));
    EXPECT_EQ(unit.Exchange(Read0108), (Bytes{0x84, '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0',
                                              '0', '0', '0', '0', '0', 0x85, 0x0D}));
    const Bytes read0000{0x04, 0x30, 0x30, 0x30, 0x30, 0xC5, 0x0D};
    EXPECT_EQ(unit.Exchange(read0000), ReadErased);
}

TEST(OrbsimFaults, WaitsTheDelayAskedForBeforeEachReply) {
    SimulatedUnit unit(fast({"--delay-ms", "150"}));
    unit.Send(Hello);
    EXPECT_TRUE(unit.Receive(std::chrono::milliseconds(50)).empty());
    EXPECT_EQ(unit.Receive(), HelloReply);
}

TEST(OrbsimFaults, HangsUpWhenTheRequestAskedForArrives) {
    SimulatedUnit unit(fast({"--hangup-after", "2"}));
    EXPECT_EQ(unit.Exchange(Hello), HelloReply);
    unit.Send(Identify);
    EXPECT_TRUE(unit.Receive().empty());
    EXPECT_EQ(unit.WaitExit(), 0);
    // The port is gone: reading it reports the end of the line rather than waiting.
    std::uint8_t byte = 0;
    EXPECT_LE(read(unit.Port(), &byte, 1), 0);
}

TEST(Orbsim, KeepsItsEepromInTheFileAcrossRuns) {
    const std::string file = temporaryPath("unit.eep");
    {
        // A short file: the bytes it lacks read as erased.
        std::ofstream(file, std::ios::binary) << "\x01\x02\x03";
    }
    {
        SimulatedUnit unit(fast({"--memory", "512", "--eeprom", file}));
        const Bytes read0000{0x04, 0x30, 0x30, 0x30, 0x30, 0xC5, 0x0D};
        const Bytes reply = unit.Exchange(read0000);
        EXPECT_EQ(Bytes(reply.begin(), reply.end() - 2), (Bytes{0x84, '1', '0', '2', '0', '3', '0', 'F', 'F',
                                                                'F', 'F', 'F', 'F', 'F', 'F', 'F', 'F'}));
        EXPECT_EQ(unit.Exchange(Write0108), WriteReply);
        // Written back at each deactivation, while the unit still runs.
        EXPECT_EQ(unit.Exchange(Deactivate), DeactivateReply);
        const Bytes saved = readFile(file);
        ASSERT_EQ(saved.size(), 512u);
        EXPECT_EQ(Bytes(saved.begin() + 0x108, saved.begin() + 0x110),
                  (Bytes{0x3A, 0xFF, 0x00, 0x01, 0x12, 0x34, 0x56, 0x78}));
        EXPECT_EQ(unit.Stop(), 0);
    }
    SimulatedUnit again(fast({"--memory", "512", "--eeprom", file}));
    EXPECT_EQ(again.Exchange(Read0108), Read0108Written);
    // Written back on SIGTERM too, without a deactivation.
    const Bytes writeZeros0000{0x05, '0', '0', '0', '0', '0', '0', '0', '0', '0',  '0', '0',
                               '0',  '0', '0', '0', '0', '0', '0', '0', '0', 0xC6, 0x0D};
    EXPECT_EQ(again.Exchange(writeZeros0000), WriteReply);
    EXPECT_EQ(again.Stop(), 0);
    const Bytes afterStop = readFile(file);
    ASSERT_EQ(afterStop.size(), 512u);
    EXPECT_EQ(Bytes(afterStop.begin(), afterStop.begin() + 8), Bytes(8, 0));
    std::remove(file.c_str());
}

TEST(Orbsim, ExitsAfterDeactivationWhenAsked) {
    SimulatedUnit unit(fast({"--exit-after-deactivate"}));
    EXPECT_EQ(unit.Exchange(Deactivate), DeactivateReply);
    EXPECT_EQ(unit.WaitExit(), 0);
}

TEST(Orbsim, LogsEveryRequestFrameOnItsOwnLine) {
    const std::string log = temporaryPath("requests.log");
    SimulatedUnit unit(fast({"--log", log, "--drop", "1"}));
    unit.Exchange(Hello);
    unit.Exchange(Read0108);
    unit.Send(Bytes{0x01, 0x05, 0x0D});
    unit.Receive(Silence);
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "1: 01  hello  [reply dropped]");
    EXPECT_EQ(lines[1], "2: 04 38 30 31 30  read 0x0108");
    EXPECT_EQ(lines[2], "3: 01  bad checksum  [no reply]");
    std::remove(log.c_str());
}

TEST(Orbsim, MakesTheLinkAskedForAndRemovesItOnExit) {
    const std::string link = temporaryPath("COM1");
    {
        SimulatedUnit unit(fast({"--link", link}));
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), unit.Path());
        EXPECT_EQ(unit.Stop(), 0);
    }
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST(OrbsimPacing, TakesAboutTheWireTimeOfEveryByte) {
    SimulatedUnit unit({"--pace"});
    constexpr int Exchanges = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Exchanges; ++i)
        ASSERT_EQ(unit.Exchange(Read0108), ReadErased);
    const double measuredMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // 7 request bytes and 19 reply bytes, 10 bits each at 19,200 bit/s.
    const double wireMs = Exchanges * (7 + 19) * 10 * 1000.0 / 19200;
    std::printf("paced: %d read exchanges took %.1f ms, wire time %.1f ms\n", Exchanges, measuredMs, wireMs);
    EXPECT_GE(measuredMs, 0.8 * wireMs);
}

} // namespace
