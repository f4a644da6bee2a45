#include "image/Cp1250.h"

#include "image/ImageErrors.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

TEST(Cp1250, StoresCzechLettersInOneByteEach) {
    EXPECT_EQ(Utf8ToCp1250("Světlo"), "\x53\x76\xEC\x74\x6C\x6F");
    EXPECT_EQ(Utf8ToCp1250("Žluťoučký kůň"), "\x8E\x6C\x75\x9D\x6F\x75\xE8\x6B\xFD\x20\x6B\xF9\xF2");
    EXPECT_EQ(Utf8ToCp1250("€"), "\x80");
    EXPECT_EQ(Cp1250ToUtf8("\x53\x76\xEC\x74\x6C\x6F"), "Světlo");
    EXPECT_EQ(Utf8ToCp1250(""), "");
}

TEST(Cp1250, EveryByteSurvivesDecodeAndEncode) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
    EXPECT_EQ(Cp1250ToUtf8("\x81\x83\x88\x90\x98"), "\u0081\u0083\u0088\u0090\u0098");
}

TEST(Cp1250, RefusesCharactersWithoutACodeAndMalformedText) {
    for (const char* text :
         {"ñ", "中", "😀", "\xC3", "\xC3\x28", "\xE2\x82", "\xFF", "\xC0\x80", "\xED\xA0\x80"})
        EXPECT_THROW(Utf8ToCp1250(text), EncodingError) << text;
}

} // namespace
} // namespace orb
