#include "image/EepromImage.h"
#include "image/HexPair.h"
#include "image/ImageErrors.h"
#include "image/PhoneNumber.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace orb {
namespace {

TEST(EepromImage, AddressesTheWholeBufferAndRefusesOthers) {
    auto image = std::make_unique<EepromImage>();
    image->putByte(32767, 0x11);
    image->putByte(32768, 0x22);
    image->putByte(65535, 0x33);
    EXPECT_EQ(image->getByte(32767), 0x11);
    EXPECT_EQ(image->getByte(32768), 0x22);
    EXPECT_EQ(image->getByte(65535), 0x33);
    EXPECT_EQ(image->getByte(0), 0);
    EXPECT_THROW(image->putByte(65536, 1), SubscriptOutOfRange);
    EXPECT_THROW(image->putByte(-1, 1), SubscriptOutOfRange);
    EXPECT_THROW(image->getByte(65536), SubscriptOutOfRange);
    EXPECT_THROW(image->getByte(-1), SubscriptOutOfRange);
    EXPECT_THROW(image->putByte(0, 256), Overflow);
}

TEST(EepromImage, StoresWordsLittleEndian) {
    auto image = std::make_unique<EepromImage>();
    image->putWord(10010, 24);
    EXPECT_EQ(image->getByte(24), 0x1A);
    EXPECT_EQ(image->getByte(25), 0x27);
    EXPECT_EQ(image->getWord(24), 10010);
    image->putWord(65535, 100);
    EXPECT_EQ(image->getWord(100), 65535);

    EXPECT_THROW(image->putWord(65536, 24), Overflow);
    EXPECT_THROW(image->putWord(-1, 24), Overflow);
    EXPECT_THROW(image->putWord(1, std::numeric_limits<std::int32_t>::max()), Overflow);
    EXPECT_THROW(image->putWord(1, 65535), SubscriptOutOfRange);
    EXPECT_THROW(image->getWord(65535), SubscriptOutOfRange);
    EXPECT_EQ(image->getWord(24), 10010) << "a refused word leaves the bytes alone";
}

TEST(HexPair, ReadsLowDigitFirstInEitherCase) {
    EXPECT_EQ(HexPairToByte('A', '3'), 0x3A);
    EXPECT_EQ(HexPairToByte('f', 'f'), 255);
    EXPECT_EQ(HexPairToByte('0', '0'), 0);
    EXPECT_THROW(HexPairToByte('G', '0'), TypeMismatch);
    EXPECT_THROW(HexPairToByte('0', ' '), TypeMismatch);
}

TEST(HexPair, WritesLowDigitFirstInUpperCase) {
    using Pair = std::array<std::uint8_t, 2>;
    EXPECT_EQ(ByteToHexPair(0), (Pair{'0', '0'}));
    EXPECT_EQ(ByteToHexPair(7), (Pair{'7', '0'}));
    EXPECT_EQ(ByteToHexPair(255), (Pair{'F', 'F'}));
    EXPECT_EQ(ByteToHexPair(0x3A), (Pair{'A', '3'}));
}

struct PhoneCase {
    const char* number;
    const char* encoded;
};

class PhoneNumberCodec : public testing::TestWithParam<PhoneCase> {};

TEST_P(PhoneNumberCodec, EncodesAndDecodesBack) {
    EXPECT_EQ(EncodePhoneNumber(GetParam().number), GetParam().encoded);
    EXPECT_EQ(DecodePhoneNumber(GetParam().encoded), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Table, PhoneNumberCodec,
                         testing::Values(PhoneCase{"+12345", "05912143F5"},
                                         PhoneCase{"123456789", "098121436587F9"},
                                         PhoneCase{"+123456789012345", "0F9121436587092143F5"},
                                         PhoneCase{"+1234567890123456", "10912143658709214365"},
                                         PhoneCase{"5", "0181F5"}, PhoneCase{"", "00"},
                                         PhoneCase{"+", "0091"},
                                         PhoneCase{"+420123456789", "0C91241032547698"}));

TEST(PhoneNumber, DecodeReadsLowerCaseLengthAndRefusesANonHexLength) {
    EXPECT_EQ(DecodePhoneNumber("0c91241032547698"), "+420123456789");
    EXPECT_EQ(DecodePhoneNumber("0581214"), "124") << "positions beyond the end yield nothing";
    EXPECT_THROW(DecodePhoneNumber("G59121"), TypeMismatch);
    EXPECT_THROW(DecodePhoneNumber("0"), TypeMismatch);
}

TEST(ImageSignature, NeedsTheSignatureWordAndTheHeaderChecksum) {
    auto image = std::make_unique<EepromImage>();
    EXPECT_FALSE(CheckImageSignature(*image)) << "a buffer fresh from start-up";

    image->putWord(10010, 24); // 0x1A + 0x27 = 65
    image->putByte(26, 66);
    EXPECT_TRUE(CheckImageSignature(*image));
    image->putByte(26, 67);
    EXPECT_FALSE(CheckImageSignature(*image));
    image->putByte(26, 66);
    image->putByte(27, 99);
    EXPECT_TRUE(CheckImageSignature(*image)) << "bytes after 26 are not covered";
    image->putWord(10011, 24);
    image->putByte(26, 67);
    EXPECT_FALSE(CheckImageSignature(*image));
}

TEST(ImageSignature, ChecksumAvoidsTheCarriageReturnCode) {
    auto image = std::make_unique<EepromImage>();
    image->putByte(0, 12); // sum 12: (12 + 1) would be 13
    EXPECT_EQ(HeaderChecksum(*image), 12);
    image->putByte(0, 11); // sum 11 gives 12 directly
    EXPECT_EQ(HeaderChecksum(*image), 12);
    image->putByte(0, 255);
    image->putByte(25, 255); // 510 + 1 = 511, mod 256 = 255
    EXPECT_EQ(HeaderChecksum(*image), 255);
    image->putByte(26, 200);
    EXPECT_EQ(HeaderChecksum(*image), 255) << "byte 26 itself is not summed";
}

} // namespace
} // namespace orb
