#include "cli/args/HelpText.h"

#include "cli/args/CommandLine.h"
#include "settings/ImageSize.h"

#include <gtest/gtest.h>
#include <map>

namespace orb {
namespace {

TEST(CommandLine, HelpKeepsWithinEightyColumns) {
    std::vector<std::optional<Command>> helps{std::nullopt};
    for (const std::string name :
         {"show", "export", "import", "diff", "read", "write", "schema", "ports", "series"})
        helps.push_back(ParseCommandLine({name, "--help"}).command);
    for (const std::optional<Command>& command : helps) {
        const std::string text = HelpText(command);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = text.substr(start, end - start);
            EXPECT_LT(CharacterCount(line), 80u) << line;
        }
    }
}

TEST(CommandLine, EachHelpExplainsEachOptionOnce) {
    for (const std::string name : {"import", "diff", "read", "write", "ports", "series"}) {
        const std::string text = HelpText(ParseCommandLine({name, "--help"}).command);
        std::map<std::string, int> explained;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            if (text.compare(start, 4, "  --") == 0)
                ++explained[text.substr(start + 2, text.find(' ', start + 2) - start - 2)];
        for (const auto& [option, times] : explained)
            EXPECT_EQ(times, 1) << name << " " << option;
    }
    const std::string series = HelpText(Command::Series);
    EXPECT_NE(series.find("  --no-verify"), std::string::npos);
    EXPECT_NE(series.find("  --dry-run"), std::string::npos);
    EXPECT_NE(series.find("  --timeout SEKUNDY    port skončí"), std::string::npos);
}

} // namespace
} // namespace orb
