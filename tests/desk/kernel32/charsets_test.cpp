// The desk's own code page 936 and UTF-8 conversions: the tables made at
// build time against the host's converter, cell by cell, and the UTF-8
// sequences a decoder must refuse.
#include "platform/desk/kernel32/charsets.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/win32.h"

namespace {

using desk::GbkDecode;
using desk::GbkEncode;
using desk::Utf8Append;
using desk::Utf8Decode;

// What the host's converter makes of `in` (to UTF-16 or back), or "" when it
// refuses it whole. One descriptor per direction, kept for the whole run.
std::string HostConvert(bool toWide, const std::string& in) {
    static iconv_t wide = iconv_open("UTF-16LE", "CP936");
    static iconv_t gbk = iconv_open("CP936", "UTF-16LE");
    iconv_t cd = toWide ? wide : gbk;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* inPtr = const_cast<char*>(in.data());
    char* outPtr = out;
    size_t inLeft = in.size(), outLeft = sizeof out;
    size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (done == static_cast<size_t>(-1) || inLeft != 0) return "";
    return std::string(out, sizeof out - outLeft);
}

std::string Unit(uint16_t unit) {
    return std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
}

TEST(DeskGbk, EveryByteAndPairDecodesAsTheHostConverterSays) {
    int mismatches = 0;
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        std::string single(1, static_cast<char>(lead));
        uint16_t unit = 0;
        size_t used = GbkDecode(reinterpret_cast<const uint8_t*>(single.data()), 1, &unit);
        std::string host = HostConvert(true, single);
        if ((used == 1 ? Unit(unit) : "") != host) {
            ADD_FAILURE() << "single byte " << std::hex << lead;
            ++mismatches;
        }
        if (used == 1) continue;  // a single-byte character leads no pair
        for (unsigned trail = 0x00; trail <= 0xFF && mismatches < 10; ++trail) {
            std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            size_t n = GbkDecode(reinterpret_cast<const uint8_t*>(pair.data()), 2, &unit);
            std::string mine = n == 2 ? Unit(unit) : "";
            std::string expected = HostConvert(true, pair);
            if (expected.size() != 2) expected = "";  // the host split it into two characters
            if (mine != expected) {
                ADD_FAILURE() << "pair " << std::hex << lead << " " << trail;
                ++mismatches;
            }
        }
    }
}

TEST(DeskGbk, EveryUnitEncodesAsTheHostConverterSays) {
    int mismatches = 0;
    for (unsigned unit = 0; unit <= 0xFFFF && mismatches < 10; ++unit) {
        std::string mine;
        bool ok = GbkEncode(static_cast<uint16_t>(unit), &mine);
        std::string host = unit >= 0xD800 && unit <= 0xDFFF
                               ? ""
                               : HostConvert(false, Unit(static_cast<uint16_t>(unit)));
        if ((ok ? mine : "") != host) {
            ADD_FAILURE() << "unit " << std::hex << unit;
            ++mismatches;
        }
    }
}

TEST(DeskGbk, KnownCharactersAndCutOffLeads) {
    const uint8_t zhong[] = {0xD6, 0xD0};
    uint16_t unit = 0;
    EXPECT_EQ(GbkDecode(zhong, 2, &unit), 2u);
    EXPECT_EQ(unit, 0x4E2D) << "D6 D0 is 中";
    EXPECT_EQ(GbkDecode(zhong, 1, &unit), 0u)
        << "a lead byte that is the last byte is no character";
    const uint8_t euro[] = {0x80, 0x41};
    EXPECT_EQ(GbkDecode(euro, 2, &unit), 1u) << "0x80 stands alone";
    EXPECT_EQ(unit, 0x20AC);
    const uint8_t lowTrail[] = {0xD6, 0x30};
    EXPECT_EQ(GbkDecode(lowTrail, 2, &unit), 0u) << "trail bytes start at 0x40";
    const uint8_t ff[] = {0xFF, 0x41};
    EXPECT_EQ(GbkDecode(ff, 2, &unit), 0u);
    std::string out;
    EXPECT_TRUE(GbkEncode(0x6C34, &out));
    EXPECT_EQ(out, "水");
    EXPECT_FALSE(GbkEncode(0xD83D, &out)) << "a surrogate has no GBK form";
    EXPECT_FALSE(GbkEncode(0x0E01, &out)) << "Thai has no GBK form";
}

size_t Decode(const std::string& bytes, uint32_t* codePoint) {
    return Utf8Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), codePoint);
}

TEST(DeskUtf8, RefusesStrayOverlongSurrogateTooLargeAndCutOffSequences) {
    uint32_t cp = 0;
    EXPECT_EQ(Decode("\x80", &cp), 0u) << "a stray trail byte";
    EXPECT_EQ(Decode("\xC0\x80", &cp), 0u) << "an overlong NUL";
    EXPECT_EQ(Decode("\xE0\x80\xAF", &cp), 0u) << "an overlong slash";
    EXPECT_EQ(Decode("\xED\xA0\x80", &cp), 0u) << "an encoded surrogate";
    EXPECT_EQ(Decode("\xF4\x90\x80\x80", &cp), 0u) << "beyond U+10FFFF";
    EXPECT_EQ(Decode("\xE4\xB8", &cp), 0u) << "cut off";
    EXPECT_EQ(Decode("\xE4\x41\xAD", &cp), 0u) << "a non-trail byte inside";
    EXPECT_EQ(Decode("\xE4\xB8\xAD", &cp), 3u);
    EXPECT_EQ(cp, 0x4E2Du);
    EXPECT_EQ(Decode("\xF0\x9F\x98\x80", &cp), 4u);
    EXPECT_EQ(cp, 0x1F600u);
}

TEST(DeskUtf8, EveryLengthBoundaryRoundTrips) {
    for (uint32_t cp : {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::string bytes;
        Utf8Append(cp, &bytes);
        uint32_t back = 0xFFFFFFFF;
        EXPECT_EQ(Decode(bytes, &back), bytes.size()) << std::hex << cp;
        EXPECT_EQ(back, cp) << std::hex << cp;
    }
}

TEST(DeskCodePages, SupplementaryCharactersCrossUtf8AsOnePairAndGbkAsOneSubstitute) {
    WCHAR wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xF0\x9F\x98\x80", 5, wide, 8), 3);
    EXPECT_EQ(wide[1], 0xD83D);
    EXPECT_EQ(wide[2], 0xDE00);
    char utf8[16] = {};
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, 3, utf8, sizeof utf8, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(utf8, 5), "a\xF0\x9F\x98\x80");
    char gbk[16] = {};
    BOOL used = FALSE;
    ASSERT_EQ(WideCharToMultiByte(936, 0, wide, 3, gbk, sizeof gbk, nullptr, &used), 2);
    EXPECT_EQ(std::string(gbk, 2), "a?") << "the pair is one character, replaced once";
    EXPECT_TRUE(used);
}

}  // namespace
