// The GBK codec every text is converted with: the code page's regions, its
// single bytes, the way the lenient form treats broken input and the strict
// form refuses it, and round trips.
#include "platform/gbk_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Decodes exactly the given bytes from a block of their own size, so that
// the sanitizer build catches any read past the end.
std::vector<uint16_t> Decode(const std::string& bytes) {
    std::vector<char> exact(bytes.begin(), bytes.end());
    size_t needed = gbk::ToUtf16(exact.data(), exact.size(), nullptr, 0);
    std::vector<uint16_t> units(needed);
    EXPECT_EQ(needed, gbk::ToUtf16(exact.data(), exact.size(), units.data(), units.size()));
    return units;
}

std::string Encode(const std::vector<uint16_t>& units) {
    size_t needed = gbk::FromUtf16(units.data(), units.size(), nullptr, 0);
    std::string bytes(needed, '\0');
    size_t written = 0;
    EXPECT_EQ(needed,
              gbk::FromUtf16(units.data(), units.size(), &bytes[0], bytes.size(), &written));
    EXPECT_EQ(needed, written);
    return bytes;
}

using Units = std::vector<uint16_t>;

TEST(GbkCodec, AsciiAndZeroBytesAreThemselvesBothWays) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
    Units units = Decode(ascii);
    ASSERT_EQ(128u, units.size());
    for (int c = 0; c < 0x80; ++c) EXPECT_EQ(c, units[c]) << "byte " << c;
    EXPECT_EQ(ascii, Encode(units));
}

TEST(GbkCodec, KnownCharactersOfEachRegion) {
    // GB2312 hanzi and symbols, GBK/3, GBK/4, GBK/5, full-width forms.
    EXPECT_EQ((Units{0x4F60, 0x597D, 0xFF0C, 0x4E16, 0x754C}),
              Decode("\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7"));  // 你好，世界
    EXPECT_EQ(Units{0x554A}, Decode("\xB0\xA1"));
    EXPECT_EQ(Units{0x3000}, Decode("\xA1\xA1"));
    EXPECT_EQ(Units{0x00B7}, Decode("\xA1\xA4"));  // code page 936's middle dot, not U+30FB
    EXPECT_EQ(Units{0x2014}, Decode("\xA1\xAA"));
    EXPECT_EQ(Units{0x4E02}, Decode("\x81\x40"));
    EXPECT_EQ(Units{0x72DC}, Decode("\xAA\x40"));
    EXPECT_EQ(Units{0xFA29}, Decode("\xFE\x4F"));
    EXPECT_EQ(Units{0x02CA}, Decode("\xA8\x40"));
    EXPECT_EQ(Units{0xFF21}, Decode("\xA3\xC1"));
    EXPECT_EQ("\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7",
              Encode(Units{0x4F60, 0x597D, 0xFF0C, 0x4E16, 0x754C}));
}

// The first and last character of each region, both ways.
TEST(GbkCodec, EdgesOfEachRegion) {
    struct Cell {
        const char* pair;
        uint16_t unit;
    };
    const Cell cells[] = {
        {"\xA1\xA1", 0x3000}, {"\xA9\xEF", 0x254B},  // GBK/1: symbols
        {"\xB0\xA1", 0x554A}, {"\xF7\xFE", 0x9F44},  // GBK/2: 啊 .. 齄
        {"\x81\x40", 0x4E02}, {"\xA0\xFE", 0x72DB},  // GBK/3
        {"\xAA\x40", 0x72DC}, {"\xFE\x4F", 0xFA29},  // GBK/4
        {"\xA8\x40", 0x02CA}, {"\xA9\x96", 0x3007},  // GBK/5
    };
    for (const Cell& cell : cells) {
        EXPECT_EQ(Units{cell.unit}, Decode(cell.pair)) << std::hex << cell.unit;
        EXPECT_EQ(cell.pair, Encode(Units{cell.unit})) << std::hex << cell.unit;
    }
}

TEST(GbkCodec, UserDefinedAreasMapToThePrivateUseAreaInOrder) {
    EXPECT_EQ(Units{0xE000}, Decode("\xAA\xA1"));
    EXPECT_EQ(Units{0xE233}, Decode("\xAF\xFE"));
    EXPECT_EQ(Units{0xE234}, Decode("\xF8\xA1"));
    EXPECT_EQ(Units{0xE4C5}, Decode("\xFE\xFE"));
    EXPECT_EQ(Units{0xE4C6}, Decode("\xA1\x40"));
    EXPECT_EQ(Units{0xE765}, Decode("\xA7\xA0"));
    EXPECT_EQ("\xA7\xA0", Encode(Units{0xE765}));
}

// The whole double-byte square: every pair is one unit, the regions hold
// the number of characters the code page defines, and every character comes
// back as its own pair.
TEST(GbkCodec, EveryDoubleByteRangeDecodesAndRoundTrips) {
    auto count = [](unsigned firstLead, unsigned lastLead, unsigned firstTrail,
                    unsigned lastTrail) {
        size_t mapped = 0;
        for (unsigned lead = firstLead; lead <= lastLead; ++lead) {
            for (unsigned trail = firstTrail; trail <= lastTrail; ++trail) {
                std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
                Units units = Decode(pair);
                EXPECT_EQ(1u, units.size()) << std::hex << lead << trail;
                if (units.size() != 1 || units[0] == gbk::kDefaultChar) continue;
                EXPECT_GE(units[0], 0x80) << std::hex << lead << trail;
                EXPECT_EQ(pair, Encode(units)) << std::hex << lead << trail;
                ++mapped;
            }
        }
        return mapped;
    };
    EXPECT_EQ(715u, count(0xA1, 0xA9, 0xA1, 0xFE));   // GBK/1: symbols
    EXPECT_EQ(6763u, count(0xB0, 0xF7, 0xA1, 0xFE));  // GBK/2: GB2312 hanzi
    EXPECT_EQ(6080u, count(0x81, 0xA0, 0x40, 0xFE));  // GBK/3
    EXPECT_EQ(8080u, count(0xAA, 0xFE, 0x40, 0xA0));  // GBK/4
    EXPECT_EQ(153u, count(0xA8, 0xA9, 0x40, 0xA0));   // GBK/5
    EXPECT_EQ(564u + 658u + 672u, count(0xAA, 0xAF, 0xA1, 0xFE) + count(0xF8, 0xFE, 0xA1, 0xFE) +
                                      count(0xA1, 0xA7, 0x40, 0xA0));
}

TEST(GbkCodec, TheEuroSignAndTheLastByteAreSingleBytes) {
    EXPECT_EQ(Units{0x20AC}, Decode("\x80"));
    EXPECT_EQ("\x80", Encode(Units{0x20AC}));
    EXPECT_EQ((Units{'a', 0x20AC, 'b'}), Decode("a\x80"
                                                "b"));
    EXPECT_EQ(Units{0xF8F5}, Decode("\xFF"));
    EXPECT_EQ("\xFF", Encode(Units{0xF8F5}));
}

TEST(GbkCodec, ALeadByteTakesAnyNonZeroByteWithItAndABrokenPairIsOneDefaultChar) {
    EXPECT_EQ((Units{'?', 'x'}), Decode("\x81\x7F"
                                        "x"));  // 0x7F is no trail byte
    EXPECT_EQ((Units{'?', 'x'}), Decode("\xB0\x20"
                                        "x"));
    EXPECT_EQ((Units{'?', 'x'}), Decode("\xB0\xFF"
                                        "x"));
    EXPECT_EQ((Units{'?', 'x'}), Decode("\xA2\xAB"
                                        "x"));  // well formed, no character
    EXPECT_EQ((Units{'?', 'x'}), Decode("\xFE\x50"
                                        "x"));
}

TEST(GbkCodec, ALoneLeadByteIsTheDefaultCharAndNothingPastTheEndIsRead) {
    EXPECT_EQ(Units{'?'}, Decode("\xC4"));
    EXPECT_EQ((Units{0x4F60, '?'}), Decode("\xC4\xE3\xBA"));
    // The length is the end even where a trail byte follows in memory.
    const char text[] = "\xC4\xE3";
    uint16_t unit = 0;
    EXPECT_EQ(1u, gbk::ToUtf16(text, 1, &unit, 1));
    EXPECT_EQ('?', unit);
    // A zero byte ends no pair: it stays a zero unit of its own.
    EXPECT_EQ((Units{'?', 0, 'x'}), Decode(std::string("\xC4\0x", 3)));
}

TEST(GbkCodec, UnitsWithoutAGbkFormBecomeTheDefaultCharOneEach) {
    EXPECT_EQ("a?b", Encode(Units{'a', 0xAC00, 'b'}));  // Hangul
    EXPECT_EQ("?", Encode(Units{0xD800}));              // lone surrogate
    EXPECT_EQ("??", Encode(Units{0xD83D, 0xDE00}));     // a pair, unit by unit
    EXPECT_EQ("?", Encode(Units{0xFFFF}));
}

TEST(GbkCodec, EveryUnitWithAGbkFormComesBackFromIt) {
    size_t withForm = 0;
    for (uint32_t u = 1; u <= 0xFFFF; ++u) {
        Units unit{static_cast<uint16_t>(u)};
        std::string bytes = Encode(unit);
        if (bytes == "?" && u != '?') continue;
        ++withForm;
        ASSERT_EQ(unit, Decode(bytes)) << std::hex << u;
    }
    // ASCII less the zero, the euro sign, 0xFF's unit and every pair.
    EXPECT_EQ(127u + 2u + 23685u, withForm);
}

TEST(GbkCodec, ShortBuffersTakeWholeCharactersAndTellTheFullLength) {
    Units units{'a', 0x4F60, 'b'};
    char bytes[4] = {'#', '#', '#', '#'};
    size_t written = 99;
    EXPECT_EQ(4u, gbk::FromUtf16(units.data(), units.size(), bytes, 2, &written));
    EXPECT_EQ(1u, written);  // the double-byte character does not fit, nor does what follows
    EXPECT_EQ('a', bytes[0]);
    EXPECT_EQ('#', bytes[1]);
    EXPECT_EQ(4u, gbk::FromUtf16(units.data(), units.size(), bytes, 3, &written));
    EXPECT_EQ(3u, written);

    uint16_t wide[2] = {0, 0xBEEF};
    EXPECT_EQ(3u, gbk::ToUtf16("a\xC4\xE3"
                               "b",
                               4, wide, 1));
    EXPECT_EQ('a', wide[0]);
    EXPECT_EQ(0xBEEF, wide[1]);
}

TEST(GbkCodec, PositionsTranslateBetweenUnitsAndBytes) {
    Units text{'a', 0x4F60, 'b'};
    EXPECT_EQ(0u, gbk::EncodedLength(text.data(), 0));
    EXPECT_EQ(3u, gbk::EncodedLength(text.data(), 2));
    EXPECT_EQ(4u, gbk::EncodedLength(text.data(), 3));
    EXPECT_EQ(0u, gbk::UnitsInBytes(text.data(), 3, 0));
    EXPECT_EQ(1u, gbk::UnitsInBytes(text.data(), 3, 1));
    EXPECT_EQ(2u, gbk::UnitsInBytes(text.data(), 3, 2));  // inside 你: the character counts
    EXPECT_EQ(2u, gbk::UnitsInBytes(text.data(), 3, 3));
    EXPECT_EQ(3u, gbk::UnitsInBytes(text.data(), 3, 4));
    EXPECT_EQ(3u, gbk::UnitsInBytes(text.data(), 3, 100));
}

// Decodes strictly, from a block of exactly the text's size.
size_t DecodeStrict(const std::string& bytes, Units* units) {
    std::vector<char> exact(bytes.begin(), bytes.end());
    units->assign(bytes.size(), 0xBEEF);
    size_t count = gbk::ToUtf16Strict(exact.data(), exact.size(), units->data(), units->size());
    if (count != gbk::kInvalid) units->resize(count);
    return count;
}

TEST(GbkCodecStrict, RefusesEveryTextTheLenientFormRepairs) {
    // Each text is invalid from its second byte on.
    const std::string broken[] = {
        "a\xC4",                    // a lead byte at the end
        std::string("a\xC4\0x", 4), // a lead byte before a zero byte
        "a\xA2\xAB",                // well formed, no character
        "a\xFE\x50",
        "a\x81\x7F",                // 0x7F is no trail byte
        "a\xB0\x20",
        "a\xB0\xFF",
    };
    for (const std::string& text : broken) {
        Units units;
        EXPECT_EQ(gbk::kInvalid, DecodeStrict(text, &units)) << text;
        std::vector<uint8_t> exact(text.begin() + 1, text.end());
        uint16_t unit = 0x1234;
        EXPECT_EQ(0u, gbk::DecodeChar(exact.data(), exact.size(), &unit)) << text;
        EXPECT_EQ(0x1234, unit) << "a refused character leaves the unit alone";
    }
}

TEST(GbkCodecStrict, TakesEveryCharacterTheCodePageDefines) {
    // ASCII, the zero byte, the euro sign, 0xFF, a user-defined pair and hanzi.
    const std::string text("a\0\x80\xFF\xAA\xA1\xC4\xE3", 8);
    Units units;
    ASSERT_EQ(6u, DecodeStrict(text, &units));
    EXPECT_EQ((Units{'a', 0, 0x20AC, 0xF8F5, 0xE000, 0x4F60}), units);
    EXPECT_EQ(Decode(text), units) << "strict and lenient agree on a valid text";

    char bytes[8];
    size_t written = 0;
    EXPECT_EQ(8u, gbk::FromUtf16Strict(units.data(), units.size(), bytes, sizeof bytes, &written));
    EXPECT_EQ(text, std::string(bytes, written));
}

TEST(GbkCodecStrict, RefusesUnitsWithoutAFormAndNeverUsesALookAlike) {
    const Units refused[] = {
        {'a', 0xAC00},    // Hangul
        {0xD800},         // a lone surrogate
        {0xD83D, 0xDE00}, // a pair: GBK has nothing beyond the first plane
        {0xFFFF},
        {0x30FB},         // looks like A1A4, which is U+00B7
        {0xE766},         // past the last user-defined unit
    };
    for (const Units& units : refused) {
        char bytes[8] = {};
        size_t written = 99;
        EXPECT_EQ(gbk::kInvalid,
                  gbk::FromUtf16Strict(units.data(), units.size(), bytes, sizeof bytes, &written))
            << std::hex << units.back();
        EXPECT_EQ(0u, written);
        uint8_t pair[2];
        EXPECT_EQ(0u, gbk::EncodeChar(units.back(), pair)) << std::hex << units.back();
    }
}

}  // namespace
