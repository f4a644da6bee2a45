#include "image/DecodeImage.h"

#include "image/EncodeImage.h"
#include "image/tests/HexBytes.h"
#include "tests/support/ScriptedView.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace orb {
namespace {

using test::hexBytes;
using test::putBytes;
using test::ScriptedView;

const Message DecodeError{"ORB - překlad dat", "Neznámá chyba při překladu dat.", MessageIcon::Critical,
                          MessageButtons::Ok};
const Message AlarmQuestion{
    "VEKinit - info",
    "V této verzi je možno povolit volání pouze na jedno telefonní číslo. Má to být právě "
    "toto?",
    MessageIcon::Exclamation, MessageButtons::YesNo};

/// The image of the default settings, byte for byte as the unit expects it.
std::unique_ptr<EepromImage> bareImage() {
    auto image = std::make_unique<EepromImage>();
    putBytes(
        *image, 0,
        hexBytes("40 00 48 00 50 00 58 00 60 00 68 00 80 00 70 00 78 00 88 00 8D 00 20 00 1A 27 D7 00 00 00 "
                 "00 00 14 A9 00 00 00 00 00 01 0F 01 10 00 00 00 05 00 00 00 00 01 01 01 01 01 01 01 01 C4 "
                 "C9 01 00 00"));
    return image;
}

class DecodeImageTest : public testing::Test {
  protected:
    ScriptedView view;
    SettingsForm form{view};
    std::unique_ptr<EepromImage> image = bareImage();
};

TEST_F(DecodeImageTest, BareImageGivesTheDefaultsWithTheReportOff) {
    SettingsRecord rich;
    rich.tabJmenoStanice = "CHATA";
    rich.tabINPNazev.fill("IN");
    rich.tabTC[3] = "+420123456789";
    rich.tabTCPrijem[3] = true;
    rich.tabKOMUNIKFormat = rich.tabKOMUNIKParita = rich.tabKOMUNIKFrekvence = 1;
    rich.tabRFRWait = "768";
    auto richImage = std::make_unique<EepromImage>();
    EncodeImage(rich, *richImage);
    ASSERT_TRUE(DecodeImage(*richImage, form));
    ASSERT_EQ(form.record().tabINPNazev[7], "IN");

    EXPECT_TRUE(DecodeImage(*image, form));
    SettingsRecord expected;
    expected.opNotAuthorized = false; // its text is empty
    EXPECT_EQ(form.record(), expected);
    EXPECT_FALSE(form.imageLoading());
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(DecodeImageTest, ReadsTextsAndNumbersFromTheirGroups) {
    putBytes(*image, 0,
             hexBytes("40 00 4A 00 52 00 5A 00 62 00 6A 00 82 00 72 00 7A 00 8A 00 94 00 20 00 1A 27 F0"));
    putBytes(*image, 64, hexBytes("41 31 00"));
    putBytes(*image, 138, hexBytes("43 48 41 54 41 00 00 00 00 00"));
    putBytes(*image, 148,
             hexBytes("30 35 39 31 32 31 34 33 46 35 00 30 39 38 31 32 31 34 33 36 35 38 37 46 39 00"));
    putBytes(*image, 174, std::vector<std::uint8_t>(6, 0));

    ASSERT_TRUE(DecodeImage(*image, form));
    EXPECT_EQ(form.record().tabINPNazev[0], "A1");
    EXPECT_EQ(form.record().tabINPNazev[1], "");
    EXPECT_EQ(form.record().tabJmenoStanice, "CHATA");
    EXPECT_EQ(form.record().tabTC[0], "+12345");
    EXPECT_EQ(form.record().tabTC[1], "123456789");
    EXPECT_EQ(form.record().tabTC[2], "");
}

TEST_F(DecodeImageTest, ReadsTextsInTheCodePage) {
    putBytes(*image, 136, hexBytes("53 76 EC 74 6C 6F 00"));
    image->putWord(147, 20); // the numbers move up behind the longer station group
    ASSERT_TRUE(DecodeImage(*image, form));
    EXPECT_EQ(form.record().tabJmenoStanice, "Světlo");
    EXPECT_EQ(form.record().tabPIN, "") << "the next text starts after the terminator";
}

TEST_F(DecodeImageTest, LonePlusKeepsTheFollowingNumbersInStep) {
    // T0 "+" stored as 0091 and a 0, T1 "5"
    putBytes(*image, 141, hexBytes("30 30 39 31 00 30 31 38 31 46 35 00 00 00 00 00 00 00"));
    ASSERT_TRUE(DecodeImage(*image, form));
    EXPECT_EQ(form.record().tabTC[0], "+");
    EXPECT_EQ(form.record().tabTC[1], "5");
    EXPECT_EQ(form.record().tabTC[2], "");
}

TEST_F(DecodeImageTest, FitsOnlyInALengthThatHoldsEveryByteItReads) {
    SettingsRecord rich;
    rich.tabINPNazev[2] = "DVERE";
    rich.rtNotAuthorized = "Pristup odepren";
    rich.tabTC[0] = "+420777123456";
    rich.tabTC[7] = "5";
    const std::int32_t length = EncodeImage(rich, *image);
    // The buffer beyond each shorter length still holds the rest of the image: it must not count.
    for (std::int32_t shorter = 0; shorter < length; ++shorter)
        EXPECT_FALSE(ImageFitsIn(*image, shorter)) << shorter;
    EXPECT_TRUE(ImageFitsIn(*image, length));
    EXPECT_TRUE(ImageFitsIn(*image, EepromImage::Size));
    // The image ends where the encoder stopped, whatever the buffer holds beyond.
    EXPECT_EQ(ImageEnd(*image, length), length);
    EXPECT_EQ(ImageEnd(*image, EepromImage::Size), length);
    EXPECT_EQ(ImageEnd(*image, length - 1), std::nullopt);

    image->putByte(EepromImage::Size - 1, 'x');
    image->putWord(EepromImage::Size - 1, 20); // the telephone numbers start at the last byte
    EXPECT_FALSE(ImageFitsIn(*image, EepromImage::Size)) << "a number running off the buffer";
}

TEST_F(DecodeImageTest, ContentFaultBeforeTheEndCountsAsFitting) {
    image->putWord(32768, 61); // an existence period the decoder refuses, read before any text
    EXPECT_TRUE(ImageFitsIn(*image, 63));
}

struct OptionCase {
    const char* name;
    const char* bytes; ///< "address: bytes"
    std::function<void(const SettingsRecord&)> check;
};

void PrintTo(const OptionCase& c, std::ostream* out) {
    *out << c.name;
}

class DecodeOption : public DecodeImageTest, public testing::WithParamInterface<OptionCase> {};

TEST_P(DecodeOption, SetsTheControl) {
    const std::string entry = GetParam().bytes;
    const auto colon = entry.find(':');
    putBytes(*image, std::stoi(entry.substr(0, colon)), hexBytes(entry.substr(colon + 1)));
    form.setChoice(ChoiceField::tabKOMUNIKFormat, 1);
    form.setChoice(ChoiceField::tabKOMUNIKParita, 1);
    ASSERT_TRUE(DecodeImage(*image, form));
    GetParam().check(form.record());
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeOption,
    testing::Values(
        OptionCase{"ParityCode0LeavesTheChoice", "41: 00",
                   [](auto& r) {
                       EXPECT_EQ(r.tabKOMUNIKFormat, 0);
                       EXPECT_EQ(r.tabKOMUNIKParita, 1);
                   }},
        OptionCase{"UnknownFormatLeavesTheChoice", "41: 31",
                   [](auto& r) {
                       EXPECT_EQ(r.tabKOMUNIKFormat, 1);
                       EXPECT_EQ(r.tabKOMUNIKParita, 0);
                   }},
        OptionCase{"PulseFormatWithParity", "41: 12",
                   [](auto& r) {
                       EXPECT_EQ(r.tabKOMUNIKFormat, 1);
                       EXPECT_EQ(r.tabKOMUNIKParita, 1);
                   }},
        OptionCase{"TestsAndTone", "42: A1",
                   [](auto& r) {
                       EXPECT_EQ(r.tabKOMUNIKPocetTestu, "10");
                       EXPECT_EQ(r.tabKOMUNIKFrekvence, 1);
                   }},
        OptionCase{"PanelSwitchDigit", "40: 07",
                   [](auto& r) {
                       EXPECT_TRUE(r.tabPrepnoutJTS);
                       EXPECT_EQ(r.tabPrepnoutJTSCislo, "7");
                   }},
        OptionCase{"PanelSwitchOff", "40: 0F",
                   [](auto& r) {
                       EXPECT_FALSE(r.tabPrepnoutJTS);
                       EXPECT_EQ(r.tabPrepnoutJTSCislo, "0");
                   }},
        OptionCase{"ValidityBelowItsOffset", "33: 00",
                   [](auto& r) { EXPECT_EQ(r.tabDobaPlatnostiSMS, "-166"); }},
        OptionCase{"Validity30", "33: C4", [](auto& r) { EXPECT_EQ(r.tabDobaPlatnostiSMS, "30"); }},
        OptionCase{"RingWaitLongest", "45: FF", [](auto& r) { EXPECT_EQ(r.tabRFRWait, "768"); }},
        OptionCase{"ExistTimeLongest", "59: 73 24 8D 5B", [](auto& r) { EXPECT_EQ(r.eeExistTime, "65535"); }},
        OptionCase{"ExistTimeRoundsDown", "59: 00 00 00 00", [](auto& r) { EXPECT_EQ(r.eeExistTime, "0"); }},
        OptionCase{"ExistTimeHighestHighWord", "59: FF FF FF 7F",
                   [](auto& r) { EXPECT_EQ(r.eeExistTime, "91625"); }},
        OptionCase{"OptionFlags", "32: 61",
                   [](auto& r) {
                       EXPECT_TRUE(r.tabPrepnoutNepovolPristup);
                       EXPECT_FALSE(r.tabBezpecRezim);
                       EXPECT_FALSE(r.opExist);
                       EXPECT_TRUE(r.tabOdpovidatT0);
                       EXPECT_TRUE(r.opNotAuthorized);
                   }},
        OptionCase{"RowFlags", "47: 20 40 80 01 00 FF", [](auto& r) {
                       EXPECT_TRUE(r.tabINPLHEvent[5]);
                       EXPECT_TRUE(r.tabINPHLEvent[6]);
                       EXPECT_TRUE(r.tabOUTNeg[7]);
                       EXPECT_TRUE(r.tabINPNeg[0]);
                       EXPECT_FALSE(r.tabINPNeg[1]);
                       EXPECT_EQ(r.tabOUTimpulsLEN[0], "0");
                       EXPECT_EQ(r.tabOUTimpulsLEN[1], "255");
                   }}));

TEST_F(DecodeImageTest, SetsTelephoneFlagsBeforeTheirNumbersWithoutWarnings) {
    putBytes(*image, 34, hexBytes("03 00 03"));                    // receive and events for T0 and T1
    putBytes(*image, 141, hexBytes("30 31 38 31 46 35 00 00 00")); // T0 "5", T1 empty
    ASSERT_TRUE(DecodeImage(*image, form));
    EXPECT_TRUE(view.boxes.empty());
    EXPECT_TRUE(form.record().tabTCPrijem[0]);
    EXPECT_TRUE(form.record().tabTCUdalost[0]);
    EXPECT_EQ(form.record().tabTC[0], "5");
    EXPECT_TRUE(form.record().tabTCPrijem[1]) << "the image is taken as it is";
}

TEST_F(DecodeImageTest, AsksOnceForEachFurtherAlarmRow) {
    putBytes(*image, 35, hexBytes("A4"));       // rows 2, 5 and 7
    view.expectBox(AlarmQuestion, Answer::Yes); // row 5 takes over from row 2
    view.expectBox(AlarmQuestion, Answer::No);  // row 7 does not
    ASSERT_TRUE(DecodeImage(*image, form));
    EXPECT_EQ(view.boxes, (std::vector<Message>{AlarmQuestion, AlarmQuestion}));
    EXPECT_EQ(form.record().tabTCPoplach, (RowFlags{false, false, false, false, false, true, false, false}));
}

TEST_F(DecodeImageTest, WeighsOnlyTheAlarmRowsOfTheImage) {
    putBytes(*image, 35, hexBytes("20")); // the form holds row 5
    ASSERT_TRUE(DecodeImage(*image, form));
    putBytes(*image, 35, hexBytes("04")); // an image with row 2 alone asks nothing and keeps it
    ASSERT_TRUE(DecodeImage(*image, form));
    EXPECT_TRUE(view.boxes.empty());
    EXPECT_EQ(form.record().tabTCPoplach, (RowFlags{false, false, true, false, false, false, false, false}));

    putBytes(*image, 35, hexBytes("A0"));      // rows 5 and 7 over row 2: one question, for row 7
    view.expectBox(AlarmQuestion, Answer::No); // row 7 does not take over
    ASSERT_TRUE(DecodeImage(*image, form));
    EXPECT_EQ(form.record().tabTCPoplach, (RowFlags{false, false, false, false, false, true, false, false}));
}

struct HostileCase {
    const char* name;
    std::function<void(EepromImage&)> spoil;
};

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

class DecodeHostile : public DecodeImageTest, public testing::WithParamInterface<HostileCase> {};

TEST_P(DecodeHostile, ShowsTheMessageAndKeepsTheSettings) {
    form.setText({TextField::tabJmenoStanice, 0}, "KEEP");
    const SettingsRecord before = form.record();
    GetParam().spoil(*image);
    view.expectBox(DecodeError);
    EXPECT_FALSE(DecodeImage(*image, form));
    EXPECT_EQ(view.boxes, std::vector<Message>{DecodeError});
    EXPECT_EQ(form.record(), before);
    EXPECT_FALSE(form.imageLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeHostile,
    testing::Values(HostileCase{"TextWithoutTerminator",
                                [](EepromImage& i) {
                                    for (std::int32_t a = 40000; a < EepromImage::Size; ++a)
                                        i.putByte(a, 'x');
                                    i.putWord(40000, 18);
                                }},
                    HostileCase{"LastTextWithoutTerminator",
                                [](EepromImage& i) {
                                    i.putWord(65535, 16);
                                    i.putByte(65535, 'x');
                                }},
                    HostileCase{"ExistenceHighWordTooLarge", [](EepromImage& i) { i.putWord(32768, 61); }},
                    HostileCase{"NumberLengthNotHex",
                                [](EepromImage& i) { putBytes(i, 141, hexBytes("30 47 38 31 46 35 00")); }},
                    HostileCase{"NumberRunsPastTheEnd", [](EepromImage& i) {
                                    i.putWord(65534, 20);
                                    putBytes(i, 65534, hexBytes("46 46"));
                                }}));

/// Lets every box pass: which images a random run refuses is not known beforehand.
class PermissiveView : public ScriptedView {
  public:
    Answer ask(const Message& message) override {
        boxes.push_back(message);
        return Answer::Ok;
    }
};

TEST(DecodeRandomImage, RandomBytesBehindAValidSignatureNeverCrash) {
    PermissiveView view;
    SettingsForm form{view};
    auto image = std::make_unique<EepromImage>();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        for (std::int32_t a = 0; a < 4096; ++a)
            image->putByte(a, byte(random));
        for (std::int32_t a = 65280; a < EepromImage::Size; ++a)
            image->putByte(a, byte(random));
        for (std::int32_t word = 0; word <= 20; word += 2) // group addresses anywhere, sometimes near the end
            image->putWord(round % 3 == 0 ? 65536 - 1 - byte(random) : byte(random) * 16, word);
        image->putByte(35, 0); // no alarm rows: the question is another test's business
        image->putWord(10010, 24);
        image->putByte(26, HeaderChecksum(*image));
        const SettingsRecord before = form.record();
        view.boxes.clear();
        if (DecodeImage(*image, form)) {
            EXPECT_TRUE(view.boxes.empty());
        } else {
            ++refused;
            EXPECT_EQ(form.record(), before);
            EXPECT_EQ(view.boxes, std::vector<Message>{DecodeError});
        }
        EXPECT_FALSE(form.imageLoading());
    }
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace orb
