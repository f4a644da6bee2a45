#include "settings/SettingsForm.h"

#include "tests/support/ScriptedView.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

using test::ScriptedView;

Message errorBox(const std::string& text) {
    return {"ORB - chyba", text, MessageIcon::Critical, MessageButtons::Ok};
}

Message warningBox(const std::string& text) {
    return {"ORB - upozornění", text, MessageIcon::Exclamation, MessageButtons::Ok};
}

const Message SingleAlarmQuestion{
    "VEKinit - info",
    "V této verzi je možno povolit volání pouze na jedno telefonní číslo. Má to být právě toto?",
    MessageIcon::Exclamation, MessageButtons::YesNo};

const std::string NoReceiveWarning =
    "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Příjem' nezaškrtnuté.";
const std::string NoAlarmWarning =
    "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Poplach' nezaškrtnuté.";
const std::string NoEventsWarning =
    "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Události' nezaškrtnuté.";

class SettingsFormTest : public ::testing::Test {
  protected:
    int alarmRow() const {
        int found = -1;
        for (int row = 0; row < RowCount; ++row) {
            if (form.flag(FlagField::tabTCPoplach, row)) {
                EXPECT_EQ(found, -1) << "two alarm rows";
                found = row;
            }
        }
        return found;
    }

    ScriptedView view;
    SettingsForm form{view};
};

TEST_F(SettingsFormTest, StartsWithTheDefaultsAndSiaDisablingParityAndFrequency) {
    EXPECT_EQ(form.record(), SettingsRecord{});
    EXPECT_EQ(form.options(), SettingsOptions{});
    EXPECT_EQ(form.text({TextField::tabUTO}), "+420");
    EXPECT_EQ(form.text({TextField::tabOUTimpulsLEN, 7}), "1");
    EXPECT_TRUE(form.flag(FlagField::CheckWrite));
    EXPECT_FALSE(form.display().tabKOMUNIKParitaEnabled);
    EXPECT_FALSE(form.display().tabKOMUNIKFrekvenceEnabled);
    EXPECT_TRUE(form.display().existEnabled);
    EXPECT_TRUE(form.display().rtNotAuthorizedEnabled);
    EXPECT_EQ(form.display().lblInfoPamUsage, "150 byte");
    EXPECT_EQ(form.display().lblInfoPamFree, "?");
    EXPECT_EQ(form.display().lblInfoPamFreeColour, LabelColour::Blue);
}

TEST_F(SettingsFormTest, ChangedTextsNotifyAndOnlyCountedOnesRecount) {
    form.setText({TextField::tabJmenoStanice}, "Chata 1234");
    EXPECT_EQ(form.display().lblInfoPamUsage, "160 byte");
    EXPECT_EQ(view.displayChanges, 1);
    form.setText({TextField::tabJmenoStanice}, "Chata 1234");
    form.setText({TextField::tabUTO}, "+421");
    form.setText({TextField::eeExistTime}, "60");
    EXPECT_EQ(view.displayChanges, 1);
    EXPECT_EQ(
        view.changedTexts,
        (std::vector<TextRef>{{TextField::tabJmenoStanice}, {TextField::tabUTO}, {TextField::eeExistTime}}));
}

TEST_F(SettingsFormTest, FormatRuleAndEnablingRulesFollowTheirControls) {
    form.setChoice(ChoiceField::tabKOMUNIKFormat, 1);
    EXPECT_TRUE(form.display().tabKOMUNIKParitaEnabled);
    EXPECT_TRUE(form.display().tabKOMUNIKFrekvenceEnabled);
    form.setChoice(ChoiceField::tabKOMUNIKFormat, 0);
    EXPECT_FALSE(form.display().tabKOMUNIKParitaEnabled);

    form.setText({TextField::rtReCall}, "Jsem tu");
    form.setFlag(FlagField::opExist, 0, false);
    form.setFlag(FlagField::opNotAuthorized, 0, false);
    EXPECT_FALSE(form.display().existEnabled);
    EXPECT_FALSE(form.display().rtNotAuthorizedEnabled);
    EXPECT_EQ(form.text({TextField::rtReCall}), "Jsem tu");
    form.setFlag(FlagField::opExist, 0, true);
    EXPECT_TRUE(form.display().existEnabled);
}

TEST_F(SettingsFormTest, RejectionShowsTheBoxThenBringsTheTabAndFocusBack) {
    form.setText({TextField::tabOUTNazev, 4}, "Světlo");
    view.expectBox(errorBox("Název výstupu může obsahovat pouze tyto znaky: "
                            "_0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_FALSE(form.leaveField({TextField::tabOUTNazev, 4}));
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"box " + view.boxes.at(0).text, "tab 3", "focus tabOUTNazev 4"}));
    EXPECT_EQ(form.text({TextField::tabOUTNazev, 4}), "Světlo");
}

TEST_F(SettingsFormTest, CharactersWithoutACodeAreRefusedOnLeavingAndCountedAsOneByte) {
    const auto noCode = [](const std::string& character) {
        return errorBox(
            "Text obsahuje znak " + character +
            ", který nelze uložit do EEPROM. Lze použít pouze znaky kódové stránky Windows-1250.");
    };
    form.setText({TextField::tabJmenoStanice}, "日本");
    EXPECT_EQ(form.display().lblInfoPamUsage, "152 byte");
    view.expectBox(noCode("'日' (U+65E5)"));
    form.leaveField({TextField::tabJmenoStanice});
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"box " + view.boxes.at(0).text, "tab 0", "focus tabJmenoStanice 0"}));

    view.expectBox(noCode("'😀' (U+1F600)"));
    EXPECT_EQ(form.checkDialogField({TextField::tabOUTimpulsLEN, 2}, "😀", "").kind,
              RuleOutcome::Kind::Rejected);
}

TEST_F(SettingsFormTest, HiddenFieldsAreRefusedWithoutATab) {
    form.setText({TextField::eeExistTime}, "");
    view.expectBox(errorBox("Zadaná hodnota musí být celé číslo (5-65535)."));
    form.leaveField({TextField::eeExistTime});
    EXPECT_EQ(view.events, (std::vector<std::string>{"box " + view.boxes.at(0).text, "focus eeExistTime 0"}));
}

TEST_F(SettingsFormTest, CorrectionsGoThroughTheSetter) {
    form.setText({TextField::tabTC, 2}, "0123456789");
    const std::string before = form.display().lblInfoPamUsage;
    EXPECT_TRUE(form.leaveField({TextField::tabTC, 2}));
    EXPECT_EQ(form.text({TextField::tabTC, 2}), "+420123456789");
    EXPECT_EQ(before, "164 byte");
    EXPECT_EQ(form.display().lblInfoPamUsage, "166 byte");

    form.setText({TextField::tabRFRWait}, "100");
    form.leaveField({TextField::tabRFRWait});
    EXPECT_EQ(form.text({TextField::tabRFRWait}), "99");
    EXPECT_TRUE(view.events.empty());
}

TEST_F(SettingsFormTest, LeavingAnEmptyNumberWarnsForEachSetFlagInOrder) {
    {
        // as the decoder does, so that the flags can be set before the number
        const SettingsForm::ImageLoadingScope loading(form);
        form.setFlag(FlagField::tabTCUdalost, 3, true);
        form.setFlag(FlagField::tabTCPrijem, 3, true);
    }

    view.expectBox(warningBox(NoReceiveWarning));
    view.expectBox(warningBox(NoEventsWarning));
    form.leaveField({TextField::tabTC, 3});
    EXPECT_FALSE(form.flag(FlagField::tabTCPrijem, 3));
    EXPECT_FALSE(form.flag(FlagField::tabTCUdalost, 3));
    EXPECT_TRUE(form.checkNumberFlags(3));
}

TEST_F(SettingsFormTest, SettingAFlagWithoutANumberIsUndoneWithAWarning) {
    view.expectBox(warningBox(NoAlarmWarning));
    form.setFlag(FlagField::tabTCPoplach, 1, true);
    EXPECT_FALSE(form.flag(FlagField::tabTCPoplach, 1));
    EXPECT_EQ(view.changedFlags, (std::vector<std::string>{"tabTCPoplach 1", "tabTCPoplach 1"}));
}

TEST_F(SettingsFormTest, ASecondAlarmRowAsksWhichOneKeepsIt) {
    for (const auto& [answer, kept] : {std::pair{Answer::Yes, 5}, std::pair{Answer::No, 2}}) {
        ScriptedView rowsView;
        SettingsForm rows(rowsView);
        for (int row = 0; row < RowCount; ++row)
            rows.setText({TextField::tabTC, row}, "+42060000000" + std::to_string(row));
        rows.setFlag(FlagField::tabTCPoplach, 2, true);
        rowsView.expectBox(SingleAlarmQuestion, answer);
        rows.setFlag(FlagField::tabTCPoplach, 5, true);
        for (int row = 0; row < RowCount; ++row)
            EXPECT_EQ(rows.flag(FlagField::tabTCPoplach, row), row == kept) << "row " << row;
        EXPECT_EQ(rowsView.boxes.size(), 1u);
    }
}

TEST_F(SettingsFormTest, DecodingSeveralAlarmRowsAsksForEachFurtherRow) {
    {
        const SettingsForm::ImageLoadingScope loading(form);
        form.setFlag(FlagField::tabTCPoplach, 0, true);
        view.expectBox(SingleAlarmQuestion, Answer::No);
        form.setFlag(FlagField::tabTCPoplach, 3, true);
        view.expectBox(SingleAlarmQuestion, Answer::Yes);
        form.setFlag(FlagField::tabTCPoplach, 6, true);
    }
    EXPECT_FALSE(form.imageLoading());
    EXPECT_EQ(alarmRow(), 6);
}

TEST_F(SettingsFormTest, AnOnOffClashIsReportedOnceWhenTheFocusBouncesToThePartner) {
    form.setText({TextField::tabINPZap, 1}, "ZAP");
    form.leaveField({TextField::tabINPZap, 1});
    form.setText({TextField::tabINPVyp, 1}, "zap");
    view.expectBox(errorBox("Název 'Vypnuto' nesmí být stejný jako název 'Zapnuto'."));
    form.leaveField({TextField::tabINPVyp, 1}); // the user moved on to the on-name
    form.leaveField({TextField::tabINPZap, 1}); // the focus pulled back leaves it at once
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"box " + view.boxes.at(0).text, "tab 2", "focus tabINPVyp 1"}));

    view.expectBox(errorBox("Název 'Vypnuto' nesmí být stejný jako název 'Zapnuto'."));
    form.leaveField({TextField::tabINPVyp, 1}); // left again unchanged: reported again
}

TEST_F(SettingsFormTest, AClashExcusesOnlyThePartnerLeftRightAfterIt) {
    const std::string clash = "Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'.";
    for (int row : {0, 1}) {
        form.setText({TextField::tabOUTZap, row}, "ON");
        form.setText({TextField::tabOUTVyp, row}, "on");
    }
    view.expectBox(errorBox(clash));
    form.leaveField({TextField::tabOUTZap, 0});
    EXPECT_FALSE(form.imageLoading());
    view.expectBox(warningBox(NoReceiveWarning));
    form.setFlag(FlagField::tabTCPrijem, 0, true);
    EXPECT_FALSE(form.flag(FlagField::tabTCPrijem, 0));

    view.expectBox(errorBox(clash)); // another row's clash is its own
    form.leaveField({TextField::tabOUTZap, 1});
    form.leaveField({TextField::tabPIN}); // the focus bounced off a field without the clash check
    view.expectBox(errorBox("Název 'Vypnuto' nesmí být stejný jako název 'Zapnuto'."));
    form.leaveField({TextField::tabOUTVyp, 1});
}

TEST_F(SettingsFormTest, DialogFieldsRunTheRulesWithoutTabsOrSideEffects) {
    view.expectBox(errorBox("Telefonní číslo je špatně zadáno."));
    EXPECT_EQ(form.checkDialogField({TextField::tabTC, 0}, "12 34", "").kind, RuleOutcome::Kind::Rejected);
    EXPECT_EQ(form.checkDialogField({TextField::tabTC, 0}, "0603", ""),
              (RuleOutcome{RuleOutcome::Kind::Corrected, "+420603"}));
    EXPECT_EQ(form.text({TextField::tabTC, 0}), "");

    {
        const SettingsForm::ImageLoadingScope loading(form);
        form.setFlag(FlagField::tabTCPrijem, 0, true);
    }
    EXPECT_EQ(form.checkDialogField({TextField::tabTC, 0}, "", "").kind, RuleOutcome::Kind::Accepted);
    EXPECT_TRUE(form.flag(FlagField::tabTCPrijem, 0));

    view.expectBox(errorBox("Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'."));
    EXPECT_EQ(form.checkDialogField({TextField::tabINPZap, 4}, "Ano", "ANO").kind,
              RuleOutcome::Kind::Rejected);
    EXPECT_EQ(form.checkDialogField({TextField::tabINPVyp, 4}, "ANO", "Ano").kind,
              RuleOutcome::Kind::Accepted);
    EXPECT_EQ(view.events.size(), 2u); // the two boxes, no tab, no focus
}

} // namespace
} // namespace orb
