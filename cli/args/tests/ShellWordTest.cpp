#include "cli/args/ShellWord.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

TEST(CommandLine, WriteCommandQuotesEachWordForTheShell) {
    EXPECT_EQ(ShellWord("záloha.eep"), "'záloha.eep'");
    EXPECT_EQ(ShellWord("it's $HOME/`x`"), "'it'\\''s $HOME/`x`'");
    EXPECT_EQ(ShellWord(""), "''");
    EXPECT_EQ(WriteCommand("a b.eep", {.comNumber = 2}), "orbctl write 'a b.eep' --port 2");
    EXPECT_EQ(WriteCommand("a.eep", {.device = "/dev/ttyUSB0"}),
              "orbctl write 'a.eep' --port '/dev/ttyUSB0'");
}

} // namespace
} // namespace orb
