#include "image/EncodeImage.h"

#include "image/Cp1250.h"
#include "image/DecimalNumber.h"
#include "image/ImageErrors.h"
#include "image/ImageLayout.h"
#include "image/PhoneNumber.h"
#include "settings/Fields.h"
#include "settings/Tables.h"

#include <array>
#include <string>

namespace orb {

namespace {

using namespace layout;

/// The options beside the record never enter the image; the field access still wants a set of them.
const SettingsOptions NoOptions{};

int checkedByte(std::int64_t value, const char* what) {
    if (value < 0 || value > 255) throw Overflow(std::string(what) + " does not fit a byte");
    return static_cast<int>(value);
}

int roundedByte(const std::string& text, const char* what) {
    return checkedByte(DecimalNumber::parse(text).roundedHalfEven(), what);
}

int rowBits(const RowFlags& flags) {
    int bits = 0;
    for (int row = 0; row < RowCount; ++row)
        if (flags[static_cast<std::size_t>(row)]) bits |= 1 << row;
    return bits;
}

/// The image's code of the chosen entry of a drop-down list.
template <typename Table> int codeOf(const Table& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        throw SubscriptOutOfRange("no entry " + std::to_string(index) + " in a choice table");
    return table[static_cast<std::size_t>(index)].code;
}

/// The option block, addresses 32..62; the reserved bytes 43 and 44 stay 0.
using OptionBytes = std::array<std::uint8_t, OptionBlockEnd - OptionBlock>;

OptionBytes encodeOptionBlock(const SettingsRecord& r) {
    OptionBytes bytes{};
    const auto put = [&](std::int32_t address, int value) {
        bytes[static_cast<std::size_t>(address - OptionBlock)] = static_cast<std::uint8_t>(value);
    };

    put(OptionFlags, (r.tabPrepnoutNepovolPristup ? 1 << NotAuthorizedToT0Bit : 0) |
                         (r.tabBezpecRezim ? 1 << SecureModeBit : 0) |
                         (r.opExist ? 1 << ExistenceReportBit : 0) |
                         (r.tabOdpovidatT0 ? 1 << StatusToT0Bit : 0) |
                         (r.opNotAuthorized && !r.rtNotAuthorized.empty() ? 1 << NotAuthorizedReportBit : 0));
    put(SmsValidity, checkedByte(DecimalNumber::parse(r.tabDobaPlatnostiSMS).floor() + ValidityOffset,
                                 "tabDobaPlatnostiSMS"));
    put(ReceiveFlags, rowBits(r.tabTCPrijem));
    put(AlarmFlags, rowBits(r.tabTCPoplach));
    put(EventFlags, rowBits(r.tabTCUdalost));
    put(InputsInMessage, rowBits(r.tabINPZpr));
    put(OutputsInMessage, rowBits(r.tabOUTZpr));
    put(BlockCount, roundedByte(r.tabKOMUNIKPocetBloku, "tabKOMUNIKPocetBloku"));
    put(PanelSwitchDigit,
        r.tabPrepnoutJTS ? roundedByte(r.tabPrepnoutJTSCislo, "tabPrepnoutJTSCislo") : PanelSwitchOff);
    put(FormatAndParity,
        codeOf(FormatTable, r.tabKOMUNIKFormat) * 16 + codeOf(ParityTable, r.tabKOMUNIKParita));
    const int toneCode = codeOf(FrequencyTable, r.tabKOMUNIKFrekvence);
    put(TestsAndTone,
        checkedByte(
            DecimalNumber::parse(r.tabKOMUNIKPocetTestu).times(16, 1).plus(toneCode).roundedHalfEven(),
            "tabKOMUNIKPocetTestu"));
    put(RingWait, checkedByte(DecimalNumber::parse(r.tabRFRWait).times(1, 3).truncated() - 1, "tabRFRWait"));
    put(WaitFree, roundedByte(r.tabWaitFree, "tabWaitFree"));
    put(RisingEvents, rowBits(r.tabINPLHEvent));
    put(FallingEvents, rowBits(r.tabINPHLEvent));
    put(OutputNegation, rowBits(r.tabOUTNeg));
    put(InputNegation, rowBits(r.tabINPNeg));
    for (int row = 0; row < RowCount; ++row)
        put(PulseLengths + row,
            roundedByte(r.tabOUTimpulsLEN[static_cast<std::size_t>(row)], "tabOUTimpulsLEN"));

    // The period is counted in whole units, rounded up.
    const std::int64_t period =
        DecimalNumber::parse(r.eeExistTime).times(ExistenceUnitsPerTwoMinutes, 2).ceil();
    if (period < 0 || period > 0xFFFFFFFF) throw Overflow("eeExistTime does not fit the existence period");
    for (int i = 0; i < 4; ++i)
        put(ExistenceLow + i, static_cast<int>(period >> (8 * i) & 0xFF));
    return bytes;
}

/// Appends a text in the image's code page with its terminating 0 byte.
void appendText(std::string& area, const std::string& bytes) {
    if (bytes.find('\0') != std::string::npos) throw EncodingError("a text holds a 0 byte");
    area += bytes;
    area += '\0';
}

void appendPhoneNumber(std::string& area, const std::string& number) {
    const std::string bytes = Utf8ToCp1250(number);
    if (bytes.empty()) return appendText(area, bytes);
    const std::size_t digits = bytes.size() - (bytes.front() == '+' ? 1 : 0);
    if (digits > 255) throw Overflow("a telephone number has more digits than its length field holds");
    appendText(area, EncodePhoneNumber(bytes));
}

/// The text area from address 64 and the addresses of its groups, indexed by header word / 2.
struct EncodedTexts {
    std::string bytes;
    std::array<std::int32_t, PhoneNumbers / 2 + 1> groupAddresses{};
};

EncodedTexts encodeTextArea(const SettingsRecord& record) {
    EncodedTexts area;
    const auto startGroup = [&](std::int32_t headerWord) {
        area.groupAddresses[static_cast<std::size_t>(headerWord / 2)] =
            layout::TextArea + static_cast<std::int32_t>(area.bytes.size());
    };
    const auto text = [&](TextField field, int row) {
        return Utf8ToCp1250(textOf(record, NoOptions, TextRef{field, row}));
    };

    for (const RowTextGroup& group : RowTextGroups) {
        startGroup(group.headerWord);
        for (int row = 0; row < RowCount; ++row)
            appendText(area.bytes, text(group.field, row));
    }
    startGroup(StationGroup);
    for (const TextField field : StationTexts)
        appendText(area.bytes, text(field, 0));
    startGroup(PhoneNumbers);
    for (const std::string& number : record.tabTC)
        appendPhoneNumber(area.bytes, number);

    if (layout::TextArea + area.bytes.size() > static_cast<std::size_t>(EepromImage::Size))
        throw SubscriptOutOfRange("the image is longer than 65536 bytes");
    return area;
}

} // namespace

std::int32_t EncodeImage(const SettingsRecord& record, EepromImage& image) {
    // Everything is converted before the first byte is written, so a setting that cannot be stored
    // leaves the buffer as it was, and never a new image under the old signature.
    const OptionBytes options = encodeOptionBlock(record);
    const EncodedTexts area = encodeTextArea(record);

    for (std::size_t i = 0; i < options.size(); ++i)
        image.putByte(OptionBlock + static_cast<std::int32_t>(i), options[i]);
    std::int32_t cursor = layout::TextArea;
    for (const char byte : area.bytes)
        image.putByte(cursor++, static_cast<unsigned char>(byte));
    for (std::size_t i = 0; i < area.groupAddresses.size(); ++i)
        image.putWord(area.groupAddresses[i], static_cast<std::int32_t>(2 * i));
    image.putWord(OptionBlock, OptionBlockWord);
    // The signature and the checksum over the finished header come last.
    image.putWord(Signature, SignatureWord);
    image.putByte(Checksum, HeaderChecksum(image));
    return cursor;
}

} // namespace orb
