#include "image/DecodeImage.h"

#include "image/CodecMessages.h"
#include "image/Cp1250.h"
#include "image/HexPair.h"
#include "image/ImageErrors.h"
#include "image/ImageLayout.h"
#include "image/PhoneNumber.h"
#include "settings/Tables.h"

#include <algorithm>
#include <string>
#include <variant>

namespace orb {

namespace {

using namespace layout;

bool bit(int byte, int index) {
    return (byte >> index & 1) != 0;
}

void setRowBits(RowFlags& flags, int byte) {
    for (int row = 0; row < RowCount; ++row)
        flags[static_cast<std::size_t>(row)] = bit(byte, row);
}

/// Selects the entry whose code matches; a code the table does not know leaves the choice as it is.
template <typename Table> void lookUpChoice(const Table& table, int code, int& index) {
    for (std::size_t entry = 0; entry < table.size(); ++entry) {
        if (table[entry].code == code) {
            index = static_cast<int>(entry);
            return;
        }
    }
}

/// A read at or beyond the end of what was loaded into the image.
class ReadPastEnd : public SubscriptOutOfRange {
  public:
    using SubscriptOutOfRange::SubscriptOutOfRange;
};

/// The image as far as its first `end` bytes: the decoder reads through it, so a read beyond what a file
/// filled is told apart from a fault of the image's content.
class BoundedImage {
  public:
    BoundedImage(const EepromImage& image, std::int32_t end) : image_(image), end_(end) {}

    std::uint8_t getByte(std::int32_t address) const {
        if (address >= end_) throw ReadPastEnd("image address " + std::to_string(address) + " past the end");
        reached_ = std::max(reached_, address + 1);
        return image_.getByte(address);
    }
    /// Tells how far the reads so far went: one past the highest address read.
    std::int32_t reached() const { return reached_; }
    int getWord(std::int32_t address) const { return getByte(address + 1) * 256 + getByte(address); }

  private:
    const EepromImage& image_;
    std::int32_t end_;
    mutable std::int32_t reached_ = 0;
};

/// Reads a text up to and including its 0 byte; a text that runs past the end throws.
std::string readText(const BoundedImage& image, std::int32_t& cursor) {
    std::string bytes;
    for (std::uint8_t byte; (byte = image.getByte(cursor++)) != 0;)
        bytes += static_cast<char>(byte);
    return Cp1250ToUtf8(bytes);
}

std::string readPhoneNumber(const BoundedImage& image, std::int32_t& cursor) {
    std::string number;
    if (image.getByte(cursor) != 0) {
        std::string encoded{static_cast<char>(image.getByte(cursor)),
                            static_cast<char>(image.getByte(cursor + 1))};
        cursor += 2;
        int characters =
            HexPairToByte(static_cast<std::uint8_t>(encoded[1]), static_cast<std::uint8_t>(encoded[0]));
        if (characters % 2 != 0) ++characters;
        // The type of address follows even a length of 0: that is how a lone '+' is stored ("0091").
        characters += 2;
        for (int i = 0; i < characters; ++i)
            encoded += static_cast<char>(image.getByte(cursor++));
        number = Cp1250ToUtf8(DecodePhoneNumber(encoded));
    }
    image.getByte(cursor++); // the terminator belongs to the image, whatever it holds
    return number;
}

/// Reads the whole image into a copy of the settings; throws an ImageError on the first fault.
SettingsRecord readSettings(const BoundedImage& image, SettingsRecord r) {
    const auto byteAt = [&](std::int32_t address) { return static_cast<int>(image.getByte(address)); };

    const int flags = byteAt(OptionFlags);
    r.tabPrepnoutNepovolPristup = bit(flags, NotAuthorizedToT0Bit);
    r.tabBezpecRezim = bit(flags, SecureModeBit);
    r.opExist = bit(flags, ExistenceReportBit);
    r.tabOdpovidatT0 = bit(flags, StatusToT0Bit);
    r.opNotAuthorized = bit(flags, NotAuthorizedReportBit);
    r.tabDobaPlatnostiSMS = std::to_string(byteAt(SmsValidity) - ValidityOffset);
    setRowBits(r.tabTCPrijem, byteAt(ReceiveFlags));
    setRowBits(r.tabTCPoplach, byteAt(AlarmFlags));
    setRowBits(r.tabTCUdalost, byteAt(EventFlags));
    setRowBits(r.tabINPZpr, byteAt(InputsInMessage));
    setRowBits(r.tabOUTZpr, byteAt(OutputsInMessage));
    r.tabKOMUNIKPocetBloku = std::to_string(byteAt(BlockCount));
    const int panelSwitch = byteAt(PanelSwitchDigit);
    r.tabPrepnoutJTS = panelSwitch != PanelSwitchOff;
    r.tabPrepnoutJTSCislo = r.tabPrepnoutJTS ? std::to_string(panelSwitch) : "0";
    lookUpChoice(ParityTable, byteAt(FormatAndParity) % 16, r.tabKOMUNIKParita);
    lookUpChoice(FormatTable, byteAt(FormatAndParity) / 16, r.tabKOMUNIKFormat);
    lookUpChoice(FrequencyTable, byteAt(TestsAndTone) % 16, r.tabKOMUNIKFrekvence);
    r.tabKOMUNIKPocetTestu = std::to_string(byteAt(TestsAndTone) / 16);
    r.tabRFRWait = std::to_string((byteAt(RingWait) + 1) * 3);
    r.tabWaitFree = std::to_string(byteAt(WaitFree));
    setRowBits(r.tabINPLHEvent, byteAt(RisingEvents));
    setRowBits(r.tabINPHLEvent, byteAt(FallingEvents));
    setRowBits(r.tabOUTNeg, byteAt(OutputNegation));
    setRowBits(r.tabINPNeg, byteAt(InputNegation));
    for (int row = 0; row < RowCount; ++row)
        r.tabOUTimpulsLEN[static_cast<std::size_t>(row)] = std::to_string(byteAt(PulseLengths + row));

    // The period is a signed 32-bit count on the unit's side: a high word from 32768 up overflows.
    const std::int64_t high = image.getWord(ExistenceHigh);
    if (high >= 32768) throw Overflow("existence period out of range");
    const std::int64_t period = high * 65536 + image.getWord(ExistenceLow);
    r.eeExistTime = std::to_string(period * 2 / ExistenceUnitsPerTwoMinutes);

    SettingsOptions noOptions; // the field access wants them, though no image field is one of them
    const auto text = [&](TextField field, int row) -> std::string& {
        return textOf(r, noOptions, TextRef{field, row});
    };
    for (const RowTextGroup& group : RowTextGroups) {
        std::int32_t cursor = image.getWord(group.headerWord);
        for (int row = 0; row < RowCount; ++row)
            text(group.field, row) = readText(image, cursor);
    }
    std::int32_t cursor = image.getWord(StationGroup);
    for (const TextField field : StationTexts)
        text(field, 0) = readText(image, cursor);
    cursor = image.getWord(PhoneNumbers);
    for (std::string& number : r.tabTC)
        number = readPhoneNumber(image, cursor);
    return r;
}

using Control = std::variant<FlagField, TextField, ChoiceField>;

/// The order in which the unit's settings reach the controls. The telephone flags come before the
/// numbers, which is why the empty-number check is silenced while an image loads.
constexpr Control ApplyOrder[] = {
    FlagField::tabPrepnoutNepovolPristup,
    FlagField::tabBezpecRezim,
    FlagField::opExist,
    FlagField::tabOdpovidatT0,
    FlagField::opNotAuthorized,
    TextField::tabDobaPlatnostiSMS,
    FlagField::tabTCPrijem,
    FlagField::tabTCPoplach,
    FlagField::tabTCUdalost,
    FlagField::tabINPZpr,
    FlagField::tabOUTZpr,
    TextField::tabKOMUNIKPocetBloku,
    FlagField::tabPrepnoutJTS,
    TextField::tabPrepnoutJTSCislo,
    ChoiceField::tabKOMUNIKParita,
    ChoiceField::tabKOMUNIKFormat,
    ChoiceField::tabKOMUNIKFrekvence,
    TextField::tabKOMUNIKPocetTestu,
    TextField::tabRFRWait,
    TextField::tabWaitFree,
    FlagField::tabINPLHEvent,
    FlagField::tabINPHLEvent,
    FlagField::tabOUTNeg,
    FlagField::tabINPNeg,
    TextField::tabOUTimpulsLEN,
    TextField::eeExistTime,
    // the text groups in their storage order, then the station group and the numbers
    TextField::tabINPNazev,
    TextField::tabOUTNazev,
    TextField::tabINPZap,
    TextField::tabINPVyp,
    TextField::tabOUTZap,
    TextField::tabOUTVyp,
    TextField::tabINPLH,
    TextField::tabINPHL,
    TextField::tabOUTimpuls,
    TextField::tabJmenoStanice,
    TextField::tabPIN,
    TextField::tabTCcentra,
    TextField::rtReCall,
    TextField::rtNotAuthorized,
    TextField::tabTC,
};

void applySettings(const SettingsRecord& staged, SettingsForm& form) {
    const SettingsOptions& options = form.options();
    for (const Control& control : ApplyOrder) {
        if (const auto* flag = std::get_if<FlagField>(&control)) {
            // The rows the image clears go first, so that a rule weighing a row's neighbours (the single
            // alarm number) sees only the image's own flags, never one the form held before.
            for (const bool value : {false, true})
                for (int row = 0; row < (isRowField(*flag) ? RowCount : 1); ++row)
                    if (flagOf(staged, options, *flag, row) == value) form.setFlag(*flag, row, value);
        } else if (const auto* text = std::get_if<TextField>(&control)) {
            for (int row = 0; row < (isRowField(*text) ? RowCount : 1); ++row)
                form.setText(TextRef{*text, row}, textOf(staged, options, TextRef{*text, row}));
        } else {
            const auto choice = std::get<ChoiceField>(control);
            form.setChoice(choice, choiceOf(staged, options, choice));
        }
    }
}

} // namespace

bool DecodeImage(const EepromImage& image, SettingsForm& form) {
    SettingsRecord staged;
    try {
        staged = readSettings(BoundedImage(image, EepromImage::Size), form.record());
    } catch (const ImageError&) {
        form.view().ask(
            Message{DecodeErrorTitle, DecodeErrorText, MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    const SettingsForm::ImageLoadingScope loading(form);
    applySettings(staged, form);
    return true;
}

bool ImageFitsIn(const EepromImage& image, std::int32_t length) {
    return ImageEnd(image, length).has_value();
}

std::optional<std::int32_t> ImageEnd(const EepromImage& image, std::int32_t length) {
    const BoundedImage bounded(image, length);
    try {
        readSettings(bounded, SettingsRecord{});
    } catch (const ReadPastEnd&) {
        return std::nullopt;
    } catch (const ImageError&) {
        // The content is at fault before the end is reached: the decoder says so when it runs.
    }
    return bounded.reached();
}

} // namespace orb
