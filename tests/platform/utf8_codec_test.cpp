// The UTF-8 codec: the one spelling of every code point it takes, and the
// sequences it must refuse, read from blocks of their exact size.
#include "platform/utf8_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The length Decode answers for exactly these bytes; *codePoint as it left it.
size_t DecodeExact(const std::string& bytes, uint32_t* codePoint) {
    std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    return utf8::Decode(exact.data(), exact.size(), codePoint);
}

TEST(Utf8Codec, RefusesOverlongSurrogateTooLargeStrayAndCutOffSequences) {
    struct Case {
        const char* bytes;
        const char* what;
    };
    const Case refused[] = {
        {"\xC0\x80", "an overlong NUL"},
        {"\xC0\xAF", "an overlong slash, two bytes"},
        {"\xC1\xBF", "the largest two-byte overlong"},
        {"\xE0\x80\xAF", "an overlong slash, three bytes"},
        {"\xE0\x9F\xBF", "the largest three-byte overlong"},
        {"\xF0\x8F\xBF\xBF", "the largest four-byte overlong"},
        {"\xED\xA0\x80", "the first surrogate"},
        {"\xED\xBF\xBF", "the last surrogate"},
        {"\xF4\x90\x80\x80", "just beyond U+10FFFF"},
        {"\xF5\x80\x80\x80", "a lead beyond U+10FFFF"},
        {"\xFF", "a byte UTF-8 never uses"},
        {"\x80", "a stray continuation byte"},
        {"\xBF\x41", "a stray continuation byte before ASCII"},
        {"\xE4\xB8", "cut off by the end"},
        {"\xF0\x9F\x98", "a four-byte sequence cut off by the end"},
        {"\xE4\x41\xAD", "a byte inside that is no continuation"},
    };
    for (const Case& c : refused) {
        uint32_t codePoint = 0x1234;
        EXPECT_EQ(0u, DecodeExact(c.bytes, &codePoint)) << c.what;
        EXPECT_EQ(0x1234u, codePoint) << c.what;
    }
}

TEST(Utf8Codec, TakesTheShortestFormAtEveryBoundary) {
    struct Case {
        const char* bytes;
        uint32_t codePoint;
    };
    const Case taken[] = {
        {"\x7F", 0x7F},
        {"\xC2\x80", 0x80},
        {"\xDF\xBF", 0x7FF},
        {"\xE0\xA0\x80", 0x800},
        {"\xED\x9F\xBF", 0xD7FF},
        {"\xEE\x80\x80", 0xE000},
        {"\xEF\xBF\xBF", 0xFFFF},
        {"\xF0\x90\x80\x80", 0x10000},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF},
    };
    for (const Case& c : taken) {
        uint32_t codePoint = 0;
        std::string bytes = c.bytes;
        EXPECT_EQ(bytes.size(), DecodeExact(bytes + "z", &codePoint)) << std::hex << c.codePoint;
        EXPECT_EQ(c.codePoint, codePoint);
        std::string encoded;
        EXPECT_TRUE(utf8::Append(c.codePoint, &encoded));
        EXPECT_EQ(bytes, encoded) << std::hex << c.codePoint;
    }
    uint32_t codePoint = 1;
    EXPECT_EQ(1u, DecodeExact(std::string(1, '\0'), &codePoint));
    EXPECT_EQ(0u, codePoint) << "the zero byte is a character";
}

TEST(Utf8Codec, EveryCodePointRoundTripsAndNoOtherValueHasAForm) {
    for (uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        uint8_t bytes[4];
        size_t size = utf8::Encode(cp, bytes);
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            ASSERT_EQ(0u, size) << "surrogate " << std::hex << cp;
            continue;
        }
        ASSERT_EQ(cp < 0x80 ? 1u : cp < 0x800 ? 2u : cp < 0x10000 ? 3u : 4u, size) << std::hex << cp;
        uint32_t back = 0xFFFFFFFF;
        ASSERT_EQ(size, utf8::Decode(bytes, size, &back)) << std::hex << cp;
        ASSERT_EQ(cp, back);
    }
    uint8_t bytes[4];
    EXPECT_EQ(0u, utf8::Encode(0x110000, bytes));
    EXPECT_EQ(0u, utf8::Encode(0xFFFFFFFF, bytes));
    std::string out = "x";
    EXPECT_FALSE(utf8::Append(0xDC00, &out));
    EXPECT_EQ("x", out) << "nothing is appended for a value without a form";
}

}  // namespace
