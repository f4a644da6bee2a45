#include "settings/ImageSize.h"

#include "image/PhoneNumber.h"

#include <algorithm>

namespace orb {
namespace {

// The 64 bytes of the fixed block, and one more: the size labels have always shown the image length + 1.
constexpr int FixedPart = 65;

int storedLength(std::string_view text) {
    return static_cast<int>(CharacterCount(text)) + 1;
}

constexpr TextField CountedTexts[] = {
    TextField::tabJmenoStanice, TextField::tabPIN,    TextField::tabTCcentra,  TextField::rtNotAuthorized,
    TextField::rtReCall,        TextField::tabTC,     TextField::tabINPNazev,  TextField::tabINPZap,
    TextField::tabINPVyp,       TextField::tabINPLH,  TextField::tabINPHL,     TextField::tabOUTNazev,
    TextField::tabOUTZap,       TextField::tabOUTVyp, TextField::tabOUTimpuls,
};

} // namespace

bool IsCountedText(TextField field) {
    return std::find(std::begin(CountedTexts), std::end(CountedTexts), field) != std::end(CountedTexts);
}

std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

namespace {

/// A number of '0' digits as long as the given one in characters, with its '+' if it has one. The image
/// holds one byte a character, so its encoded form is as long as the given number's, whatever letters
/// a number not yet checked may hold.
std::string sameLengthNumber(const std::string& number) {
    std::string digits = number.starts_with('+') ? "+" : "";
    digits.append(CharacterCount(number) - digits.size(), '0');
    return digits;
}

} // namespace

int CountImageSize(const SettingsRecord& r) {
    int size = FixedPart;
    for (const std::string* text :
         {&r.tabJmenoStanice, &r.tabPIN, &r.tabTCcentra, &r.rtReCall, &r.rtNotAuthorized})
        size += storedLength(*text);
    for (std::size_t i = 0; i < RowCount; ++i) {
        for (const RowTexts* column : {&r.tabINPNazev, &r.tabOUTNazev, &r.tabINPZap, &r.tabINPVyp,
                                       &r.tabOUTZap, &r.tabOUTVyp, &r.tabOUTimpuls, &r.tabINPLH, &r.tabINPHL})
            size += storedLength((*column)[i]);
        const std::string encoded = EncodePhoneNumber(sameLengthNumber(r.tabTC[i]));
        size += encoded == "00" ? 1 : storedLength(encoded);
    }
    return size;
}

} // namespace orb
