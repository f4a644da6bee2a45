#include "common/GnuOptions.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

enum { Output, Port, Force, Help, Settings, Strict };

constexpr OptionDefinition Definitions[] = {
    {Output, "output", 'o', true}, {Port, "port", 0, true},     {Force, "force", 'f', false},
    {Help, "help", 'h', false},    {Settings, "settings-only"}, {Strict, "strict"},
};

std::vector<std::pair<int, std::string>> optionsOf(const GivenArguments& given) {
    std::vector<std::pair<int, std::string>> options;
    for (const GivenOption& option : given.options)
        options.emplace_back(option.id, option.value);
    return options;
}

TEST(GnuOptions, TakesValuesAttachedOrApartAndOperandsAnywhere) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::pair<int, std::string>> options;
        std::vector<std::string> operands;
    } cases[] = {
        {{"-ob.json", "a.eep"}, {{Output, "b.json"}}, {"a.eep"}},
        {{"a.eep", "-o", "b.json"}, {{Output, "b.json"}}, {"a.eep"}},
        {{"--output=b.json", "--port", "1"}, {{Output, "b.json"}, {Port, "1"}}, {}},
        {{"--port=", "x"}, {{Port, ""}}, {"x"}},
        {{"-fh", "-"}, {{Force, ""}, {Help, ""}}, {"-"}},
        {{"-fob.json"}, {{Force, ""}, {Output, "b.json"}}, {}},
        {{"--sett", "--st"}, {{Settings, ""}, {Strict, ""}}, {}},
        {{"show", "--", "-odd.eep", "--force"}, {}, {"show", "-odd.eep", "--force"}},
        {{"--port", "--force"}, {{Port, "--force"}}, {}},
    };
    for (const auto& c : cases) {
        const GivenArguments given = ReadGnuOptions(Definitions, c.args);
        EXPECT_EQ(optionsOf(given), c.options) << testing::PrintToString(c.args);
        EXPECT_EQ(given.operands, c.operands) << testing::PrintToString(c.args);
    }
}

TEST(GnuOptions, NamesWhatItCannotTakeInCzech) {
    const struct {
        std::vector<std::string> args;
        std::string text;
    } cases[] = {
        {{"--bogus=1"}, "neznámá volba '--bogus'"},
        {{"-q"}, "neznámá volba '-q'"},
        {{"-fq"}, "neznámá volba '-q'"},
        {{"--s"}, "volba '--s' není jednoznačná"},
        {{"--port"}, "volba --port potřebuje hodnotu"},
        {{"a", "-o"}, "volba -o potřebuje hodnotu"},
        {{"--output"}, "volba --output potřebuje hodnotu"},
        {{"--force=yes"}, "volba --force nebere hodnotu"},
        {{"--help=1"}, "volba --help nebere hodnotu"},
    };
    for (const auto& c : cases) {
        try {
            ReadGnuOptions(Definitions, c.args);
            ADD_FAILURE() << "accepted: " << testing::PrintToString(c.args);
        } catch (const OptionError& error) {
            EXPECT_EQ(CzechText(error), c.text) << testing::PrintToString(c.args);
        }
    }
}

TEST(GnuOptions, ReadsAgainFromTheStart) {
    EXPECT_THROW(ReadGnuOptions(Definitions, {"-f", "--bogus"}), OptionError);
    EXPECT_EQ(optionsOf(ReadGnuOptions(Definitions, {"-f"})),
              (std::vector<std::pair<int, std::string>>{{Force, ""}}));
}

} // namespace
} // namespace orb
