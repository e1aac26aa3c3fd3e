// GBK to UTF-8 and back on arbitrary bytes. Whatever either direction
// accepts must come back unchanged through the other, what GBK to UTF-8
// gives must be well-formed UTF-8, and what the engine is handed as a
// program text (EngineText) must be that same conversion.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "sqlitelib/codepage.h"

namespace {

// The UTF-16 units of a text by the decoding rules the library documents
// (one- to three-byte sequences in their shortest form, continuations 0x80
// to 0xBF), up to the first zero unit; false where it refuses the text.
bool ReferenceUnits(const std::string& utf8, std::vector<uint32_t>* units) {
    const auto* p = reinterpret_cast<const uint8_t*>(utf8.c_str());
    auto continuation = [](uint8_t b) { return b >= 0x80 && b <= 0xBF; };
    for (size_t i = 0; p[i] != 0;) {
        uint8_t lead = p[i];
        uint32_t unit;
        if (lead < 0x80) {
            unit = lead;
            i += 1;
        } else if ((lead & 0xE0) == 0xC0) {
            if (!continuation(p[i + 1])) return false;
            unit = ((lead & 0x1Fu) << 6) | (p[i + 1] & 0x3Fu);
            if (unit < 0x80) return false;
            i += 2;
        } else if ((lead & 0xF0) == 0xE0) {
            if (!continuation(p[i + 1]) || !continuation(p[i + 2])) return false;
            unit = ((lead & 0x0Fu) << 12) | ((p[i + 1] & 0x3Fu) << 6) | (p[i + 2] & 0x3Fu);
            if (unit < 0x800) return false;
            i += 3;
        } else {
            return false;
        }
        if (unit == 0) break;
        units->push_back(unit);
    }
    return true;
}

std::string ShortestUtf8(const std::vector<uint32_t>& units) {
    std::string out;
    for (uint32_t u : units) {
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string Take(char* text) {
    std::string copy = text;
    std::free(text);
    return copy;
}

void FromGbk(const std::string& gbk) {
    char* converted = sqlitelib::ToUtf8(gbk.c_str());
    {
        sqlitelib::EngineText engine(gbk.c_str());
        FUZZ_CHECK(engine.ok() == (converted != nullptr), "EngineText and ToUtf8 disagree");
        if (converted != nullptr) FUZZ_CHECK(std::strcmp(engine.get(), converted) == 0, "EngineText differs");
        if (sqlitelib::IsAsciiText(gbk.c_str())) {
            FUZZ_CHECK(engine.get() == gbk.c_str(), "ASCII text is copied");
        }
    }
    if (sqlitelib::IsAsciiText(gbk.c_str())) FUZZ_CHECK(converted != nullptr, "ASCII refused");
    if (converted == nullptr) return;
    std::string utf8 = Take(converted);
    std::vector<uint32_t> units;
    FUZZ_CHECK(ReferenceUnits(utf8, &units) && ShortestUtf8(units) == utf8, "ToUtf8 gives malformed UTF-8");
    for (uint32_t u : units) FUZZ_CHECK(u < 0xD800 || u > 0xDFFF, "ToUtf8 gives a surrogate %04x", u);
    char* back = sqlitelib::FromUtf8(utf8.c_str());
    FUZZ_CHECK(back != nullptr, "UTF-8 made from GBK is refused back");
    FUZZ_CHECK(Take(back) == gbk, "GBK does not come back unchanged");
}

void FromEngine(const std::string& utf8) {
    char* converted = sqlitelib::FromUtf8(utf8.c_str());
    std::vector<uint32_t> units;
    bool decodable = ReferenceUnits(utf8, &units);
    if (!decodable) FUZZ_CHECK(converted == nullptr, "FromUtf8 takes a text the rules refuse");
    if (converted == nullptr) return;
    std::string gbk = Take(converted);
    FUZZ_CHECK(decodable, "FromUtf8 takes a text the rules refuse");
    char* again = sqlitelib::ToUtf8(gbk.c_str());
    FUZZ_CHECK(again != nullptr, "GBK made from UTF-8 is refused back");
    FUZZ_CHECK(Take(again) == ShortestUtf8(units), "the characters do not come back unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LiveBlockCheck blocks;
    std::string text = InputText(data, size);
    FromGbk(text);
    FromEngine(text);
    blocks.Expect(0, "conversions");
    return 0;
}
