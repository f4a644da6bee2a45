#include "image/Cp1250.h"

#include "image/ImageErrors.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <string>
#include <unordered_map>

namespace orb {

namespace {

/// The Unicode character of every Windows-1250 byte, taken once from the system's converter. The
/// converter refuses the five bytes the code page leaves undefined; they stand for U+0081 etc.
const std::array<char32_t, 256>& byteToCharacter() {
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> characters{};
        const iconv_t converter = iconv_open("UTF-32LE", "CP1250");
        if (converter == reinterpret_cast<iconv_t>(-1)) throw EncodingError("no Windows-1250 converter");
        for (int byte = 0; byte < 256; ++byte) {
            char in = static_cast<char>(byte);
            unsigned char out[4] = {};
            char* inPointer = &in;
            char* outPointer = reinterpret_cast<char*>(out);
            std::size_t inLeft = 1;
            std::size_t outLeft = sizeof out;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
            const bool converted =
                iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != std::size_t(-1);
            characters[static_cast<std::size_t>(byte)] =
                converted && outLeft == 0 ? char32_t(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24)
                                          : char32_t(byte);
        }
        iconv_close(converter);
        return characters;
    }();
    return table;
}

const std::unordered_map<char32_t, char>& characterToByte() {
    static const std::unordered_map<char32_t, char> table = [] {
        std::unordered_map<char32_t, char> bytes;
        const auto& characters = byteToCharacter();
        for (int byte = 0; byte < 256; ++byte)
            bytes.emplace(characters[static_cast<std::size_t>(byte)], static_cast<char>(byte));
        return bytes;
    }();
    return table;
}

/// Reads the UTF-8 sequence at position and advances past it; throws on a malformed sequence.
char32_t nextCharacter(const std::string& text, std::size_t& position) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(position);
    int continuation = 0;
    char32_t character = lead;
    char32_t smallest = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
        continuation = 3, character = lead & 0x07, smallest = 0x10000;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuation = 2, character = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        continuation = 1, character = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0x80) {
        throw EncodingError("malformed UTF-8 text");
    }
    if (position + static_cast<std::size_t>(continuation) >= text.size())
        throw EncodingError("malformed UTF-8 text");
    for (int i = 1; i <= continuation; ++i) {
        const unsigned char next = byteAt(position + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) throw EncodingError("malformed UTF-8 text");
        character = character << 6 | (next & 0x3F);
    }
    if (character < smallest || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF))
        throw EncodingError("malformed UTF-8 text");
    position += static_cast<std::size_t>(continuation) + 1;
    return character;
}

} // namespace

std::optional<char32_t> FirstCharacterWithoutCp1250Code(const std::string& text) {
    const auto& bytes = characterToByte();
    for (std::size_t position = 0; position < text.size();) {
        char32_t character = U'\uFFFD';
        try {
            character = nextCharacter(text, position);
        } catch (const EncodingError&) {
            return character;
        }
        if (!bytes.contains(character)) return character;
    }
    return std::nullopt;
}

void AppendUtf8(std::string& text, char32_t character) {
    if (character < 0x80) {
        text += static_cast<char>(character);
    } else if (character < 0x800) {
        text += static_cast<char>(0xC0 | character >> 6);
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        text += static_cast<char>(0xE0 | character >> 12);
        text += static_cast<char>(0x80 | (character >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | character >> 18);
        text += static_cast<char>(0x80 | (character >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (character >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    }
}

std::string Utf8ToCp1250(const std::string& text) {
    const auto& bytes = characterToByte();
    std::string result;
    for (std::size_t position = 0; position < text.size();) {
        const char32_t character = nextCharacter(text, position);
        const auto found = bytes.find(character);
        if (found == bytes.end())
            throw EncodingError("character " + std::to_string(static_cast<unsigned long>(character)) +
                                " has no Windows-1250 code");
        result += found->second;
    }
    return result;
}

std::string Cp1250ToUtf8(const std::string& bytes) {
    const auto& characters = byteToCharacter();
    std::string result;
    for (const char byte : bytes)
        AppendUtf8(result, characters[static_cast<unsigned char>(byte)]);
    return result;
}

} // namespace orb
