#include "image/DecodeImage.h"
#include "image/EncodeImage.h"
#include "tests/support/ScriptedView.h"
#include "tests/support/SettingsDraw.h"

#include <gtest/gtest.h>
#include <memory>

namespace orb {
namespace {

/// Draws settings that pass the field rules, with texts from the whole code page's Czech range.
class RandomSettings : test::SettingsDraw {
  public:
    using SettingsDraw::SettingsDraw;

    SettingsRecord draw() {
        SettingsRecord r;
        for (RowTexts* texts : {&r.tabINPNazev, &r.tabINPZap, &r.tabINPVyp, &r.tabINPLH, &r.tabINPHL,
                                &r.tabOUTNazev, &r.tabOUTZap, &r.tabOUTVyp, &r.tabOUTimpuls})
            for (std::string& text : *texts)
                text = this->text(Letters, 100);
        for (std::string* text : {&r.tabJmenoStanice, &r.rtReCall, &r.rtNotAuthorized})
            *text = this->text(Letters, 100);
        r.tabPIN = text("0123456789", 8);
        r.tabTCcentra = text("+0123456789", 20);

        for (RowFlags* flags :
             {&r.tabINPNeg, &r.tabINPLHEvent, &r.tabINPHLEvent, &r.tabINPZpr, &r.tabOUTNeg, &r.tabOUTZpr})
            for (bool& flag : *flags)
                flag = coin();
        for (bool* flag : {&r.tabBezpecRezim, &r.tabOdpovidatT0, &r.tabPrepnoutNepovolPristup,
                           &r.opNotAuthorized, &r.tabPrepnoutJTS, &r.opExist})
            *flag = coin();

        const int alarmRow = number(0, 15); // half the time no row has the alarm
        for (std::size_t row = 0; row < RowCount; ++row) {
            r.tabTC[row] = phoneNumber();
            const bool hasNumber = !r.tabTC[row].empty();
            r.tabTCPrijem[row] = hasNumber && coin();
            r.tabTCUdalost[row] = hasNumber && coin();
            r.tabTCPoplach[row] = hasNumber && static_cast<int>(row) == alarmRow;
        }

        r.tabPrepnoutJTSCislo = std::to_string(number(0, 9));
        timesAndChoices(r);
        return r;
    }

  private:
    static constexpr const char* Letters =
        " !#$%&'()*+,-./0123456789:;<=>?@ABCZ[]\\^_`abcz{}|~ěščřžýáíéůúňťďĚŠČŘŽÝÁÍÉŮÚŇŤĎ";

    /// Picks whole UTF-8 characters of the set, empty a quarter of the time.
    std::string text(const std::string& set, int maxLength) {
        std::vector<std::string> characters;
        for (std::size_t i = 0; i < set.size();) {
            std::size_t length = 1;
            while (i + length < set.size() && (static_cast<unsigned char>(set[i + length]) & 0xC0) == 0x80)
                ++length;
            characters.push_back(set.substr(i, length));
            i += length;
        }
        std::string result;
        if (number(0, 3) == 0) return result;
        for (int n = number(1, maxLength); n > 0; --n)
            result +=
                characters[static_cast<std::size_t>(number(0, static_cast<int>(characters.size()) - 1))];
        return result;
    }

    std::string phoneNumber() {
        switch (number(0, 5)) {
        case 0:
            return "";
        case 1:
            return "+";
        case 2:
            return text("0123456789", 50);
        default:
            return "+" + text("0123456789", 49);
        }
    }
};

TEST(ImageRoundTrip, RandomSettingsSurviveEncodingAndDecoding) {
    RandomSettings settings(4711);
    for (int round = 0; round < 300; ++round) {
        const SettingsRecord drawn = settings.draw();
        auto image = std::make_unique<EepromImage>();
        EncodeImage(drawn, *image);
        // A fresh form each time: an alarm row left over from the last round would rightly raise the
        // single-alarm question when the new row is set first.
        test::ScriptedView view;
        SettingsForm form{view};
        ASSERT_TRUE(DecodeImage(*image, form));

        SettingsRecord expected = drawn;
        expected.opNotAuthorized = drawn.opNotAuthorized && !drawn.rtNotAuthorized.empty();
        if (!drawn.tabPrepnoutJTS) expected.tabPrepnoutJTSCislo = "0";
        ASSERT_EQ(form.record(), expected) << "round " << round;
        ASSERT_TRUE(view.boxes.empty());
    }
}

} // namespace
} // namespace orb
