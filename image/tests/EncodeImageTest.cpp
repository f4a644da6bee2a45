#include "image/EncodeImage.h"

#include "image/ImageErrors.h"
#include "image/tests/HexBytes.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace orb {
namespace {

using test::hexBytes;
using test::imageBytes;

const char* const DefaultHeaderAndOptions =
    "40 00 48 00 50 00 58 00 60 00 68 00 80 00 70 00 78 00 88 00 8D 00 20 00 1A 27 D7 00 00 00 00 00 "
    "14 A9 00 00 00 00 00 01 0F 01 10 00 00 00 05 00 00 00 00 01 01 01 01 01 01 01 01 C4 C9 01 00 00";

TEST(EncodeImage, DefaultSettingsGiveTheBareImage) {
    auto image = std::make_unique<EepromImage>();
    EXPECT_EQ(EncodeImage(SettingsRecord{}, *image), 149);
    EXPECT_EQ(imageBytes(*image, 0, 64), hexBytes(DefaultHeaderAndOptions));
    EXPECT_EQ(imageBytes(*image, 64, 85), std::vector<std::uint8_t>(85, 0));
    EXPECT_TRUE(CheckImageSignature(*image));
}

TEST(EncodeImage, PacksTextsAndNumbersBehindTheirHeaderWords) {
    SettingsRecord record;
    record.tabINPNazev[0] = "A1";
    record.tabJmenoStanice = "CHATA";
    record.tabTC[0] = "+12345";
    auto image = std::make_unique<EepromImage>();

    EXPECT_EQ(EncodeImage(record, *image), 166);
    EXPECT_EQ(imageBytes(*image, 0, 27),
              hexBytes("40 00 4A 00 52 00 5A 00 62 00 6A 00 82 00 72 00 7A 00 8A 00 "
                       "94 00 20 00 1A 27 F0"));
    EXPECT_EQ(imageBytes(*image, 64, 3), hexBytes("41 31 00"));
    EXPECT_EQ(imageBytes(*image, 138, 10), hexBytes("43 48 41 54 41 00 00 00 00 00"));
    EXPECT_EQ(imageBytes(*image, 148, 18), hexBytes("30 35 39 31 32 31 34 33 46 35 00 00 00 00 00 00 00 00"));
}

TEST(EncodeImage, StoresTextsInTheCodePageAndShortNumbersWithFiller) {
    SettingsRecord record;
    record.tabJmenoStanice = "Světlo";
    record.tabTC[7] = "5";
    auto image = std::make_unique<EepromImage>();

    EXPECT_EQ(EncodeImage(record, *image), 149 + 6 + 6);
    EXPECT_EQ(imageBytes(*image, 136, 7), hexBytes("53 76 EC 74 6C 6F 00"));
    EXPECT_EQ(imageBytes(*image, 147 + 6, 8), hexBytes("00 30 31 38 31 46 35 00")) << "T6 empty, then T7";
}

struct OptionCase {
    const char* name;
    std::function<void(SettingsRecord&)> change;
    std::int32_t address;
    const char* bytes;
};

void PrintTo(const OptionCase& c, std::ostream* out) {
    *out << c.name;
}

class EncodeOption : public testing::TestWithParam<OptionCase> {};

TEST_P(EncodeOption, ConvertsTheSettingIntoItsByte) {
    SettingsRecord record;
    GetParam().change(record);
    auto image = std::make_unique<EepromImage>();
    EncodeImage(record, *image);
    const auto expected = hexBytes(GetParam().bytes);
    EXPECT_EQ(imageBytes(*image, GetParam().address, static_cast<std::int32_t>(expected.size())), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EncodeOption,
    testing::Values(
        OptionCase{"RingWaitLongest", [](SettingsRecord& r) { r.tabRFRWait = "768"; }, 45, "FF"},
        OptionCase{"RingWait4", [](SettingsRecord& r) { r.tabRFRWait = "4"; }, 45, "00"},
        OptionCase{"RingWait5", [](SettingsRecord& r) { r.tabRFRWait = "5"; }, 45, "00"},
        OptionCase{"RingWait6", [](SettingsRecord& r) { r.tabRFRWait = "6"; }, 45, "01"},
        OptionCase{"ExistTimeLongest", [](SettingsRecord& r) { r.eeExistTime = "65535"; }, 59, "73 24 8D 5B"},
        OptionCase{"ExistTimeWhole", [](SettingsRecord& r) { r.eeExistTime = "6"; }, 59, "51 25 02 00"},
        OptionCase{"ExistTimeLeadingZeros", [](SettingsRecord& r) { r.eeExistTime = "0007"; }, 59,
                   "DF 80 02 00"},
        OptionCase{"Validity30", [](SettingsRecord& r) { r.tabDobaPlatnostiSMS = "30"; }, 33, "C4"},
        OptionCase{"Validity1", [](SettingsRecord& r) { r.tabDobaPlatnostiSMS = "1"; }, 33, "A7"},
        OptionCase{"PanelSwitchOff",
                   [](SettingsRecord& r) {
                       r.tabPrepnoutJTS = false;
                       r.tabPrepnoutJTSCislo = "7";
                   },
                   40, "0F"},
        OptionCase{"PanelSwitchOn",
                   [](SettingsRecord& r) {
                       r.tabPrepnoutJTS = true;
                       r.tabPrepnoutJTSCislo = "7";
                   },
                   40, "07"},
        OptionCase{"NotAuthorizedWithText", [](SettingsRecord& r) { r.rtNotAuthorized = "x"; }, 32, "54"},
        OptionCase{"NotAuthorizedTextUnticked",
                   [](SettingsRecord& r) {
                       r.opNotAuthorized = false;
                       r.rtNotAuthorized = "x";
                   },
                   32, "14"},
        OptionCase{"AllOptionFlags",
                   [](SettingsRecord& r) {
                       r.tabPrepnoutNepovolPristup = r.tabOdpovidatT0 = true;
                       r.tabBezpecRezim = r.opExist = false;
                   },
                   32, "21"},
        OptionCase{"PulseParityAndTone",
                   [](SettingsRecord& r) {
                       r.tabKOMUNIKFormat = r.tabKOMUNIKParita = r.tabKOMUNIKFrekvence = 1;
                       r.tabKOMUNIKPocetTestu = "10";
                   },
                   41, "12 A1"},
        OptionCase{"RowFlags",
                   [](SettingsRecord& r) {
                       r.tabTCPrijem[0] = r.tabTCPrijem[7] = true;
                       r.tabTCPoplach[1] = r.tabTCUdalost[2] = r.tabINPZpr[3] = r.tabOUTZpr[4] = true;
                       r.tabINPLHEvent[5] = r.tabINPHLEvent[6] = r.tabOUTNeg[7] = r.tabINPNeg[0] = true;
                   },
                   34, "81 02 04 08 10 01 0F 01 10 00 00 00 05 20 40 80 01"},
        OptionCase{"CountsAndPulseLengths",
                   [](SettingsRecord& r) {
                       r.tabKOMUNIKPocetBloku = "100";
                       r.tabWaitFree = "90";
                       r.tabOUTimpulsLEN = {"0", "255", "2.5", "3.5", "007", "1", "1", "1"};
                   },
                   39, "64 0F 01 10 00 00 00 5A 00 00 00 00 00 FF 02 04 07"}));

struct RefusedCase {
    const char* name;
    std::function<void(SettingsRecord&)> change;
    std::function<void(const SettingsRecord&, EepromImage&)> expectThrow;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

template <typename Error> std::function<void(const SettingsRecord&, EepromImage&)> throws() {
    return [](const SettingsRecord& record, EepromImage& image) {
        EXPECT_THROW(EncodeImage(record, image), Error);
    };
}

class EncodeRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(EncodeRefused, LeavesTheOldImageUntouched) {
    SettingsRecord old;
    old.tabJmenoStanice = "OLD";
    auto image = std::make_unique<EepromImage>();
    EncodeImage(old, *image);
    const auto before = imageBytes(*image, 0, EepromImage::Size);

    SettingsRecord record;
    record.tabINPNazev.fill("NEW");
    GetParam().change(record);
    GetParam().expectThrow(record, *image);
    EXPECT_TRUE(imageBytes(*image, 0, EepromImage::Size) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EncodeRefused,
    testing::Values(
        RefusedCase{"ValidityTooLong", [](SettingsRecord& r) { r.tabDobaPlatnostiSMS = "90"; },
                    throws<Overflow>()},
        RefusedCase{"ValidityNotANumber", [](SettingsRecord& r) { r.tabDobaPlatnostiSMS = "3a"; },
                    throws<TypeMismatch>()},
        RefusedCase{"ValidityEmpty", [](SettingsRecord& r) { r.tabDobaPlatnostiSMS = ""; },
                    throws<TypeMismatch>()},
        RefusedCase{"PulseLength256", [](SettingsRecord& r) { r.tabOUTimpulsLEN[7] = "256"; },
                    throws<Overflow>()},
        RefusedCase{"PulseLengthNegative", [](SettingsRecord& r) { r.tabOUTimpulsLEN[0] = "-1"; },
                    throws<Overflow>()},
        RefusedCase{"RingWaitBelow3", [](SettingsRecord& r) { r.tabRFRWait = "2"; }, throws<Overflow>()},
        RefusedCase{"RingWaitAbove770", [](SettingsRecord& r) { r.tabRFRWait = "771"; }, throws<Overflow>()},
        RefusedCase{"TestCount16", [](SettingsRecord& r) { r.tabKOMUNIKPocetTestu = "16"; },
                    throws<Overflow>()},
        RefusedCase{"PanelDigitNotANumber",
                    [](SettingsRecord& r) {
                        r.tabPrepnoutJTS = true;
                        r.tabPrepnoutJTSCislo = "x";
                    },
                    throws<TypeMismatch>()},
        RefusedCase{"ExistTimeBeyond32Bits", [](SettingsRecord& r) { r.eeExistTime = "183252"; },
                    throws<Overflow>()},
        RefusedCase{"ChoiceOutsideItsTable", [](SettingsRecord& r) { r.tabKOMUNIKParita = 2; },
                    throws<SubscriptOutOfRange>()},
        RefusedCase{"TextWithoutCode", [](SettingsRecord& r) { r.tabOUTVyp[7] = "año"; },
                    throws<EncodingError>()},
        RefusedCase{"TextWithZeroByte", [](SettingsRecord& r) { r.rtReCall = std::string("a\0b", 3); },
                    throws<EncodingError>()},
        RefusedCase{"NumberTooLongForItsLengthField",
                    [](SettingsRecord& r) { r.tabTC[7] = std::string(256, '1'); }, throws<Overflow>()},
        RefusedCase{"LongerThanTheBuffer", [](SettingsRecord& r) { r.tabINPLH.fill(std::string(8200, 'x')); },
                    throws<SubscriptOutOfRange>()}));

TEST(EncodeImage, ExistencePeriodJustFitsThirtyTwoBits) {
    SettingsRecord record;
    record.eeExistTime = "183251"; // 4294945312.5 units, rounded up
    auto image = std::make_unique<EepromImage>();
    EncodeImage(record, *image);
    EXPECT_EQ(imageBytes(*image, 59, 4), hexBytes("21 AA FF FF"));
}

TEST(EncodeImage, KeepsReservedBytesAndWhatLiesBeyondTheImage) {
    auto image = std::make_unique<EepromImage>();
    for (std::int32_t address = 0; address < 400; ++address)
        image->putByte(address, 0xAB);
    EncodeImage(SettingsRecord{}, *image);

    EXPECT_EQ(imageBytes(*image, 27, 5), hexBytes("AB AB AB AB AB"));
    EXPECT_EQ(image->getByte(63), 0xAB);
    EXPECT_EQ(imageBytes(*image, 43, 2), hexBytes("00 00"));
    EXPECT_EQ(image->getByte(148), 0);
    EXPECT_EQ(image->getByte(149), 0xAB);
    // The checksum covers the header only, so the reserved bytes do not change it.
    EXPECT_EQ(image->getByte(26), 0xD7);
}

} // namespace
} // namespace orb
