#include "model/textcodec.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodec, EveryCp1252ByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::u32string text = DecodeCp1252(all);
    EXPECT_EQ(text[0x80 - 1], U'\u20AC');
    EXPECT_EQ(text[0x81 - 1], U'\u0081');
    std::string back;
    ASSERT_TRUE(EncodeCp1252(text, back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
}

TEST(TextCodec, CharactersOutsideTheCodePage) {
    std::string bytes;
    EXPECT_FALSE(EncodeCp1252(U"\u03A9", bytes));
    EXPECT_FALSE(EncodeCp1252(U"\U0001F4E1", bytes));
    const std::u16string units = EncodeUtf16(U"a\U0001F4E1");
    EXPECT_EQ(units.size(), 3u);
    EXPECT_EQ(DecodeUtf16(units), U"a\U0001F4E1");
}

TEST(TextCodec, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(DecodeUtf8("a\xFF"
                         "b"),
              U"a\uFFFD"
              "b");
    EXPECT_EQ(DecodeUtf8("\xC3"), U"\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xC0\x80"), U"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeUtf16(std::u16string(1, char16_t(0xD800))), U"\uFFFD");
}

} // namespace
