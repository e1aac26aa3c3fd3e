// The UTF-8 sequence rules by hand (see utf8_codec.h).
#include "platform/utf8_codec.h"

namespace utf8 {
namespace {

bool IsSurrogate(uint32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

}  // namespace

size_t Decode(const uint8_t* bytes, size_t length, uint32_t* codePoint) {
    uint8_t first = bytes[0];
    if (first < 0x80) {
        *codePoint = first;
        return 1;
    }
    // The lead alone settles the length and the smallest value the length
    // may carry; anything smaller would be an overlong spelling.
    size_t size;
    uint32_t value, least;
    if (first >= 0xC2 && first <= 0xDF) {
        size = 2, value = first & 0x1Fu, least = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        size = 3, value = first & 0x0Fu, least = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        size = 4, value = first & 0x07u, least = 0x10000;
    } else {
        return 0;  // a continuation byte, C0, C1 or F5-FF
    }
    if (length < size) return 0;
    for (size_t i = 1; i < size; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 0;
        value = value << 6 | (bytes[i] & 0x3Fu);
    }
    if (value < least || value > kMaxCodePoint || IsSurrogate(value)) return 0;
    *codePoint = value;
    return size;
}

size_t Encode(uint32_t codePoint, uint8_t out[4]) {
    if (codePoint < 0x80) {
        out[0] = static_cast<uint8_t>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<uint8_t>(0xC0 | codePoint >> 6);
        out[1] = static_cast<uint8_t>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (IsSurrogate(codePoint) || codePoint > kMaxCodePoint) return 0;
    if (codePoint < 0x10000) {
        out[0] = static_cast<uint8_t>(0xE0 | codePoint >> 12);
        out[1] = static_cast<uint8_t>(0x80 | (codePoint >> 6 & 0x3F));
        out[2] = static_cast<uint8_t>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<uint8_t>(0xF0 | codePoint >> 18);
    out[1] = static_cast<uint8_t>(0x80 | (codePoint >> 12 & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 | (codePoint >> 6 & 0x3F));
    out[3] = static_cast<uint8_t>(0x80 | (codePoint & 0x3F));
    return 4;
}

bool Append(uint32_t codePoint, std::string* out) {
    uint8_t bytes[4];
    size_t size = Encode(codePoint, bytes);
    out->append(reinterpret_cast<const char*>(bytes), size);
    return size > 0;
}

}  // namespace utf8
