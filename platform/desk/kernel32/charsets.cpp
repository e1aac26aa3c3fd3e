// Code page 936 by table lookup and UTF-8 by hand (see charsets.h).
#include "platform/desk/kernel32/charsets.h"

#include <algorithm>

namespace desk {

// Made by tools/make_gbk_table: the units of the single bytes 0x80-0xFF and
// of every pair lead 0x81-0xFE, trail 0x40-0xFE (0 where there is none), and
// for encoding the units in ascending order with their codes (a pair as
// lead << 8 | trail, a single byte as itself).
extern const uint16_t kGbkSingleBytes[128];
extern const uint16_t kGbkPairs[126 * 191];
extern const uint16_t kGbkEncodeUnits[];
extern const uint16_t kGbkEncodeCodes[];
extern const size_t kGbkEncodeCount;

size_t GbkDecode(const uint8_t* bytes, size_t length, uint16_t* unit) {
    uint8_t lead = bytes[0];
    if (lead < 0x80) {
        *unit = lead;
        return 1;
    }
    if (kGbkSingleBytes[lead - 0x80] != 0) {
        *unit = kGbkSingleBytes[lead - 0x80];
        return 1;
    }
    if (lead < 0x81 || lead > 0xFE || length < 2) return 0;
    uint8_t trail = bytes[1];
    if (trail < 0x40 || trail > 0xFE) return 0;
    uint16_t found = kGbkPairs[(lead - 0x81) * 191 + (trail - 0x40)];
    if (found == 0) return 0;
    *unit = found;
    return 2;
}

bool GbkEncode(uint16_t unit, std::string* out) {
    if (unit < 0x80) {
        out->push_back(static_cast<char>(unit));
        return true;
    }
    const uint16_t* end = kGbkEncodeUnits + kGbkEncodeCount;
    const uint16_t* at = std::lower_bound(kGbkEncodeUnits, end, unit);
    if (at == end || *at != unit) return false;
    uint16_t code = kGbkEncodeCodes[at - kGbkEncodeUnits];
    if (code > 0xFF) out->push_back(static_cast<char>(code >> 8));
    out->push_back(static_cast<char>(code & 0xFF));
    return true;
}

size_t Utf8Decode(const uint8_t* bytes, size_t length, uint32_t* codePoint) {
    uint8_t first = bytes[0];
    if (first < 0x80) {
        *codePoint = first;
        return 1;
    }
    size_t size;
    uint32_t value, least;
    if (first >= 0xC2 && first <= 0xDF) {
        size = 2, value = first & 0x1F, least = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        size = 3, value = first & 0x0F, least = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        size = 4, value = first & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (length < size) return 0;
    for (size_t i = 1; i < size; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 0;
        value = value << 6 | (bytes[i] & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *codePoint = value;
    return size;
}

void Utf8Append(uint32_t codePoint, std::string* out) {
    if (codePoint < 0x80) {
        out->push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out->push_back(static_cast<char>(0xC0 | codePoint >> 6));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | codePoint >> 12));
        out->push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | codePoint >> 18));
        out->push_back(static_cast<char>(0x80 | (codePoint >> 12 & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace desk
