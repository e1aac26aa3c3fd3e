// GBK (code page 936) to UTF-16 and back, table-driven and the same on every
// platform. Windows' own conversions depend on the code pages the system
// has installed; these do not, and they are what the Windows build hands
// its texts through at the Win32 boundary.
//
// Decoding follows MultiByteToWideChar(936, 0): a byte below 0x80 is
// itself, 0x80 is the euro sign, 0xFF is U+F8F5; a lead byte (0x81-0xFE)
// takes the next byte with it unless that byte is zero or missing; a pair
// with no character, and a lead byte left alone, give the code page's
// default character '?'. Encoding follows WideCharToMultiByte(936, 0) without
// look-alike substitutes: a unit with no GBK form (a lone surrogate, each
// half of a pair) becomes '?'.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gbk {

// The code page's default character, both ways.
constexpr uint16_t kDefaultChar = '?';

// Decodes `length` bytes (zero bytes included, they become zero units).
// Answers how many units the whole text takes; writes the first
// min(that, capacity) of them to `out`, which may be null when capacity is 0.
size_t ToUtf16(const char* text, size_t length, uint16_t* out, size_t capacity);

// Encodes `count` units. Answers how many bytes the whole text takes;
// writes only whole characters, as many as fit in `capacity` bytes, and
// tells in *written (when given) how many bytes that was.
size_t FromUtf16(const uint16_t* units, size_t count, char* out, size_t capacity,
                 size_t* written = nullptr);

// The byte count of the first `count` units' GBK form, and the number of
// units whose GBK form fills `bytes` (a character cut by the byte count
// counts as a whole one): for turning positions in one form into the other.
size_t EncodedLength(const uint16_t* units, size_t count);
size_t UnitsInBytes(const uint16_t* units, size_t count, size_t bytes);

inline bool IsLeadByte(uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

}  // namespace gbk
