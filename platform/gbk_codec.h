// GBK (code page 936) to UTF-16 and back, table-driven and the same on every
// platform: the one converter behind the Windows build's UTF-16 layer, the
// desk's MultiByteToWideChar/WideCharToMultiByte and transcript, and the
// SQLite library's engine texts. Windows' own conversions depend on the code
// pages the system has installed, a host's iconv on its C library; this does
// on neither, so a text converts the same wherever the program runs.
//
// What converts to what, as Windows' code page 936 has it:
//   - a byte below 0x80 is itself;
//   - 0x80 is the euro sign U+20AC, and 0xFF, neither a character nor a
//     lead byte, is the private-use U+F8F5, so that it survives a round trip;
//   - a lead byte 0x81-0xFE with a trail byte 0x40-0xFE (less 0x7F) is a
//     pair, one UTF-16 unit when the table holds a character for it;
//   - the three user-defined areas are characters too: AAA1-AFFE, F8A1-FEFE
//     and A140-A7A0 (trail bytes A1-FE, A1-FE, 40-A0 less 7F) take the
//     private-use units U+E000-U+E765 in that order, and those units go back
//     to the same pairs;
//   - everything else is invalid: a pair the table leaves empty, a lead byte
//     before a byte that is no trail byte, a lead byte at the end or before a
//     zero byte, and a unit with no GBK form (a surrogate, each half of a
//     pair included, Hangul, U+FFFF, ...). No character is ever mapped to a
//     look-alike.
// Invalid input is treated one of two ways. The lenient conversions
// (MultiByteToWideChar and WideCharToMultiByte without flags) give the code
// page's default character '?' for it: a lead byte takes the next byte with
// it unless that byte is zero or missing, and each unit with no form is one
// '?'. The strict ones (MB_ERR_INVALID_CHARS, WC_NO_BEST_FIT_CHARS with a
// check of the used-default flag) refuse the whole text instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gbk {

// The code page's default character, both ways.
constexpr uint16_t kDefaultChar = '?';

// What the strict conversions answer for a text with an invalid sequence.
constexpr size_t kInvalid = static_cast<size_t>(-1);

// Reads one character from `length` bytes (at least 1): its length (1 or 2)
// and its unit, or 0 when the bytes there are invalid (*unit left alone).
// A zero byte is a character of its own.
size_t DecodeChar(const uint8_t* bytes, size_t length, uint16_t* unit);

// Writes the GBK form of one unit to `out`: its length (1 or 2), or 0 when
// the unit has none.
size_t EncodeChar(uint16_t unit, uint8_t out[2]);

// Decodes `length` bytes (zero bytes included, they become zero units).
// Answers how many units the whole text takes; writes the first
// min(that, capacity) of them to `out`, which may be null when capacity is 0.
size_t ToUtf16(const char* text, size_t length, uint16_t* out, size_t capacity);
// The same, but kInvalid (and nothing promised in `out`) for a text with an
// invalid sequence.
size_t ToUtf16Strict(const char* text, size_t length, uint16_t* out, size_t capacity);

// Encodes `count` units. Answers how many bytes the whole text takes;
// writes only whole characters, as many as fit in `capacity` bytes, and
// tells in *written (when given) how many bytes that was.
size_t FromUtf16(const uint16_t* units, size_t count, char* out, size_t capacity,
                 size_t* written = nullptr);
// The same, but kInvalid for a text with a unit that has no GBK form.
size_t FromUtf16Strict(const uint16_t* units, size_t count, char* out, size_t capacity,
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
