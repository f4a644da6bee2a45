#include "cli/json/JsonText.h"

#include "cli/terminal/TerminalText.h"
#include "common/CzechNumbers.h"
#include "image/EepromImage.h"
#include "settings/ImageSize.h"
#include "settings/Tables.h"

#include <algorithm>
#include <set>
#include <vector>

namespace orb {

namespace {

constexpr std::size_t EchoedKeyLength = 40;

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

/// Says where the byte at the offset stands, as an editor counts: lines and characters from 1.
std::string position(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const std::size_t from = lineStart == std::string::npos || lineStart >= offset ? 0 : lineStart + 1;
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(from), '\n');
    const auto column = 1 + std::count_if(text.begin() + static_cast<std::ptrdiff_t>(from),
                                          text.begin() + static_cast<std::ptrdiff_t>(offset),
                                          [](char byte) { return !continuesCharacter(byte); });
    return "na řádku " + std::to_string(line) + ", ve sloupci " + std::to_string(column);
}

/// Reads the parser's events without storing anything, and stops at the first thing an export cannot
/// hold. The settings object is the only object, arrays are only its values, and each key is remembered
/// at most maxKeys times, so the whole pass is linear in the text.
class BoundsReader : public nlohmann::json_sax<Json> {
  public:
    explicit BoundsReader(const JsonBounds& bounds) : bounds_(bounds) {}

    /// The reason the text was refused; for a syntax error followed by its position (errorOffset).
    const std::string& refusal() const { return refusal_; }
    const std::optional<std::size_t>& errorOffset() const { return errorOffset_; }

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }

    bool string(string_t& text) override {
        if (!value()) return false;
        const std::optional<int> limit = bounds_.textLimit(key_);
        if (CharacterCount(text) > static_cast<std::size_t>(limit.value_or(bounds_.maxTextLength)))
            return refuse(settingName() + ": " + TextLengthRefusal(limit.value_or(bounds_.maxTextLength)));
        return true;
    }

    bool start_object(std::size_t) override {
        if (depth_ != 0)
            return refuse(
                "soubor má hodnoty vnořené hlouběji, než je zapisuje export (objekt nastavení, v něm "
                "pole hodnot řádků).");
        depth_ = 1;
        return true;
    }

    bool key(string_t& key) override {
        if (keys_.size() == bounds_.maxKeys)
            return refuse("soubor má víc klíčů, než je nastavení (" + std::to_string(bounds_.maxKeys) + ").");
        if (!keys_.insert(key).second) return refuse("klíč '" + EchoedKey(key) + "' je v souboru dvakrát.");
        key_ = key;
        return true;
    }

    bool end_object() override { return --depth_, true; }

    bool start_array(std::size_t) override {
        if (depth_ == 0) return refuse("JSON musí být objekt, jehož klíče jsou jména nastavení.");
        if (depth_ != 1)
            return refuse("soubor má hodnoty vnořené hlouběji, než je zapisuje export (objekt nastavení, v "
                          "něm pole hodnot řádků).");
        depth_ = 2;
        row_ = -1;
        return true;
    }

    bool end_array() override {
        depth_ = 1;
        row_ = -1;
        return true;
    }

    bool parse_error(std::size_t byte, const std::string&,
                     const nlohmann::detail::exception& error) override {
        if (error.id == NumberOutOfRange)
            return refuse("soubor není platný JSON: obsahuje číslo mimo rozsah.");
        errorOffset_ = byte == 0 ? 0 : byte - 1;
        return refuse("soubor není platný JSON: chyba ");
    }

  private:
    /// The library's id of a number no type holds, such as 1e999.
    static constexpr int NumberOutOfRange = 406;

    /// Counts a value inside an array against the array's bound.
    bool value() {
        if (depth_ == 2 && ++row_ == static_cast<int>(bounds_.maxArrayLength))
            return refuse("klíč '" + EchoedKey(key_) + "' má víc než " +
                          std::to_string(bounds_.maxArrayLength) + " hodnot.");
        return true;
    }

    std::string settingName() const {
        return EchoedKey(key_) + (depth_ == 2 ? "[" + std::to_string(row_) + "]" : "");
    }

    bool refuse(const std::string& reason) {
        refusal_ = reason;
        return false;
    }

    const JsonBounds& bounds_;
    int depth_ = 0;
    int row_ = -1;
    std::string key_;
    std::set<std::string> keys_;
    std::string refusal_;
    std::optional<std::size_t> errorOffset_;
};

} // namespace

JsonBounds SettingsJsonBounds() {
    const std::size_t keys = SettingsToJson(SettingsRecord{}, ReservedBytes{}).size();
    const auto textLimit = [](const std::string& key) -> std::optional<int> {
        for (TextField field : AllTextFields)
            if (!isOption(field) && fieldName(field) == key && maxTextLength(field) > 0)
                return maxTextLength(field);
        return std::nullopt;
    };
    // No text can be longer than the largest memory that would hold it.
    return {keys, RowCount, textLimit, EepromImage::Size};
}

Json ParseSettingsJson(const std::string& text, const JsonBounds& bounds) {
    BoundsReader reader(bounds);
    if (!Json::sax_parse(text, &reader)) {
        if (reader.errorOffset()) // the library counts the byte it stopped at from 1
            throw JsonTextError(reader.refusal() + position(text, *reader.errorOffset()) + ".");
        throw JsonTextError(reader.refusal());
    }
    return Json::parse(text);
}

std::string TextLengthRefusal(int maxLength) {
    return "Text smí mít nejvýše " + std::to_string(maxLength) + " " +
           std::string(CzechPlural(maxLength, "znak", "znaky", "znaků")) + ".";
}

std::string EchoedKey(const std::string& key) {
    std::size_t characters = 0;
    for (std::size_t offset = 0; offset < key.size(); ++offset)
        if (!continuesCharacter(key[offset]) && characters++ == EchoedKeyLength)
            return TerminalText(std::string_view(key).substr(0, offset)) + "…";
    return TerminalText(key);
}

} // namespace orb
