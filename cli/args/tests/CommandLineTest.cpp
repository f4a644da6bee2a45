#include "cli/args/CommandLine.h"

#include "cli/args/HelpText.h"
#include "cli/CliError.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

TEST(CommandLine, TakesEachCommandWithItsOptionsInAnyOrder) {
    CommandLine write = ParseCommandLine({"write", "--port", "3", "a.eep", "--no-verify"});
    EXPECT_EQ(write.command, Command::Write);
    EXPECT_EQ(write.files, std::vector<std::string>{"a.eep"});
    EXPECT_EQ(write.port, PortArgument{.comNumber = 3});
    EXPECT_TRUE(write.noVerify);
    EXPECT_FALSE(write.backup);

    CommandLine backedUp = ParseCommandLine({"write", "a.eep", "--force", "--port", "1", "--backup=z.eep"});
    EXPECT_EQ(backedUp.backup, "z.eep");
    EXPECT_TRUE(backedUp.force);

    CommandLine import = ParseCommandLine({"import", "-o", "b.eep", "--memory=2048", "a.json"});
    EXPECT_EQ(import.output, "b.eep");
    EXPECT_EQ(import.memory, 2048);

    EXPECT_TRUE(ParseCommandLine({"diff", "a.eep", "--settings-only", "--port", "1"}).settingsOnly);
    EXPECT_FALSE(ParseCommandLine({"read", "--port", "1"}).settingsOnly);
    EXPECT_EQ(ParseCommandLine({"diff", "-", "b.eep"}).files, (std::vector<std::string>{"-", "b.eep"}));

    EXPECT_EQ(ParseCommandLine({"read", "--port", "1", "--timeout", "30"}).timeout, 30);
    EXPECT_FALSE(ParseCommandLine({"read", "--port", "1"}).timeout);

    CommandLine dashFile = ParseCommandLine({"show", "--", "-odd.eep"});
    EXPECT_EQ(dashFile.files, std::vector<std::string>{"-odd.eep"});

    CommandLine attached = ParseCommandLine({"export", "-ob.json", "a.eep"});
    EXPECT_EQ(attached.output, "b.json");
    EXPECT_EQ(attached.files, std::vector<std::string>{"a.eep"});
    EXPECT_TRUE(ParseCommandLine({"ports", "--json"}).json);
    EXPECT_EQ(ParseCommandLine({"--port=2", "read"}).command, Command::Read);
    EXPECT_TRUE(ParseCommandLine({"series", "t.json", "--units", "u.csv", "--dry-run"}).dryRun);
}

TEST(CommandLine, PortIsAComNumberOrADevice) {
    const std::vector<std::pair<std::string, PortArgument>> cases = {
        {"4", {.comNumber = 4}},
        {"/dev/ttyUSB0", {.device = "/dev/ttyUSB0"}},
        {"ttyACM1", {.device = "/dev/ttyACM1"}},
        {"./pty", {.device = "./pty"}},
        {"t1/port", {.device = "./t1/port"}},
        {"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0",
         {.device = "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"}},
    };
    for (const auto& [text, port] : cases)
        EXPECT_EQ(ParseCommandLine({"read", "--port=" + text}).port, port) << text;
}

TEST(CommandLine, VersionAndPortsNeedNothingElse) {
    EXPECT_TRUE(ParseCommandLine({"--version"}).version);
    EXPECT_EQ(VersionText().rfind("orbctl ", 0), 0u);
    EXPECT_EQ(ParseCommandLine({"ports"}).command, Command::Ports);
}

TEST(CommandLine, HelpNeedsNoOperands) {
    EXPECT_FALSE(ParseCommandLine({"--help"}).command);
    CommandLine help = ParseCommandLine({"import", "--help"});
    EXPECT_TRUE(help.help);
    EXPECT_NE(HelpText(help.command).find("import SOUBOR.json -o SOUBOR.eep"), std::string::npos);
}

TEST(CommandLine, RefusesWhatACommandDoesNotTake) {
    std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"show"},
        {"show", "a.eep", "b.eep"},
        {"show", "a.eep", "-o", "x"},
        {"export", "a.eep", "--port", "1"},
        {"import", "a.json"},
        {"import", "a.json", "-o", "b.eep", "--memory", "1000"},
        {"diff", "a.eep"},
        {"read"},
        {"read", "--port", "5"},
        {"read", "--port", ""},
        {"read", "--port", "0"},
        {"ports", "--port", "1"},
        {"ports", "extra"},
        {"read", "--port"},
        {"write", "a.eep", "--port", "1", "--memory", "2048"},
        {"write", "a.eep", "--port", "1", "--verbose"},
        {"read", "--port", "1", "--timeout", "0"},
        {"read", "--port", "1", "--timeout", "2.5"},
        {"show", "a.eep", "--timeout", "5"},
        {"read", "--port", "1", "--backup", "z.eep"},
        {"read", "--port", "1", "--force"},
        {"write", "a.eep", "--port", "1", "--backup", "-"},
        {"write", "a.eep", "--port", "1", "--backup"},
        {"diff", "-", "-"},
        {"show", "a.eep", "--settings-only"},
        {"diff", "a.eep", "b.eep", "--settings-only"},
        {"show", "a.eep", "--json"},
        {"show", "a.eep", "--force=yes"},
        {"write", "a.eep", "--port", "1", "--back", "z.eep"},
        {"--", "--help"},
        {"write", "a.eep", "--port", "1", "--accept-corrections"},
        {"series", "t.json", "--port", "1", "--strict", "--accept-corrections"},
        {"series", "t.json", "--port", "1", "--again"},
        {"series", "t.json"},
        {"write", "a.eep", "--port", "1", "--dry-run"},
    };
    std::vector<std::string> seventeenPorts{"series", "t.json"};
    for (int port = 1; port <= 17; ++port)
        seventeenPorts.insert(seventeenPorts.end(), {"--port", "/dev/ttyUSB" + std::to_string(port)});
    wrong.push_back(seventeenPorts);
    for (const auto& args : wrong) {
        try {
            ParseCommandLine(args);
            ADD_FAILURE() << "accepted: " << testing::PrintToString(args);
        } catch (const CliError& error) {
            EXPECT_EQ(error.status(), ExitStatus::Usage) << testing::PrintToString(args);
        }
    }
}

} // namespace
} // namespace orb
