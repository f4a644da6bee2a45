#include "tools/orbsim/tests/SimulatedUnit.h"

#include <gtest/gtest.h>
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
         })
        EXPECT_TRUE(unit.Exchange(request).empty());
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
    for (const char* bad : {"--memory 1000", "--product XYZ", "--version 1", "--drop x", "stray"})
        EXPECT_NE(std::system((program + " " + bad + " >/dev/null 2>&1").c_str()), 0) << bad;
}

} // namespace
