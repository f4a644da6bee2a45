#include "settings/Fields.h"

#include <gtest/gtest.h>
#include <set>

namespace orb {
namespace {

std::vector<TextRef> everyTextControl() {
    std::vector<TextRef> refs;
    for (TextField field : AllTextFields)
        for (int row = 0; row < (isRowField(field) ? RowCount : 1); ++row)
            refs.push_back({field, row});
    return refs;
}

TEST(Fields, EveryTextControlHasAMemberOfItsOwn) {
    SettingsRecord record;
    SettingsOptions options;
    const auto refs = everyTextControl();
    ASSERT_EQ(refs.size(), 13u + 11u * RowCount);
    for (std::size_t i = 0; i < refs.size(); ++i)
        textOf(record, options, refs[i]) = "#" + std::to_string(i);
    for (std::size_t i = 0; i < refs.size(); ++i)
        EXPECT_EQ(textOf(std::as_const(record), std::as_const(options), refs[i]), "#" + std::to_string(i))
            << fieldName(refs[i].field) << " " << refs[i].row;
    EXPECT_EQ(record.tabOUTimpulsLEN[7], textOf(record, options, {TextField::tabOUTimpulsLEN, 7}));
    EXPECT_EQ(options.tabUTO, textOf(record, options, {TextField::tabUTO}));
}

TEST(Fields, EveryFlagAndChoiceHasAMemberOfItsOwn) {
    SettingsRecord record;
    SettingsOptions options;
    int count = 0;
    for (FlagField field : AllFlagFields) {
        for (int row = 0; row < (isRowField(field) ? RowCount : 1); ++row) {
            bool& flag = flagOf(record, options, field, row);
            flag = !flag;
            ++count;
        }
    }
    SettingsRecord flipped;
    SettingsOptions flippedOptions;
    for (FlagField field : AllFlagFields)
        for (int row = 0; row < (isRowField(field) ? RowCount : 1); ++row)
            EXPECT_NE(flagOf(record, options, field, row), flagOf(flipped, flippedOptions, field, row))
                << fieldName(field) << " " << row;
    EXPECT_EQ(count, 7 + 9 * RowCount);

    for (ChoiceField field : AllChoiceFields)
        choiceOf(record, options, field) = static_cast<int>(field) + 1;
    EXPECT_EQ(record.tabKOMUNIKFormat, 1);
    EXPECT_EQ(record.tabKOMUNIKParita, 2);
    EXPECT_EQ(record.tabKOMUNIKFrekvence, 3);
    EXPECT_EQ(options.tabPort, 4);
}

TEST(Fields, NamesAreTheControlNames) {
    std::set<std::string_view> names;
    for (TextField field : AllTextFields)
        names.insert(fieldName(field));
    for (FlagField field : AllFlagFields)
        names.insert(fieldName(field));
    for (ChoiceField field : AllChoiceFields)
        names.insert(fieldName(field));
    EXPECT_EQ(names.size(), std::size(AllTextFields) + std::size(AllFlagFields) + std::size(AllChoiceFields));
    EXPECT_EQ(fieldName(TextField::tabKOMUNIKPocetBloku), "tabKOMUNIKPocetBloku");
    EXPECT_EQ(fieldName(FlagField::CheckWrite), "CheckWrite");
    EXPECT_EQ(fieldName(ChoiceField::tabPort), "tabPort");
}

TEST(Fields, RowsOutsideZeroToSevenAreRefused) {
    SettingsRecord record;
    SettingsOptions options;
    EXPECT_THROW(textOf(record, options, {TextField::tabTC, 8}), std::out_of_range);
    EXPECT_THROW(flagOf(record, options, FlagField::tabINPNeg, -1), std::out_of_range);
    EXPECT_NO_THROW(textOf(record, options, {TextField::tabPIN, 8}));
}

} // namespace
} // namespace orb
