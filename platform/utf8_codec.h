// UTF-8, strict and the same on every platform: the one decoder and encoder
// behind the desk's host names, terminal and transcript, its CP_UTF8
// conversions, and the SQLite library's engine texts.
//
// Decoding takes only the shortest form of a code point: an overlong form
// (C0 and C1 leads, E0 80-9F, F0 80-8F), an encoded surrogate (ED A0-BF),
// anything beyond U+10FFFF (F4 90 and up, F5-FF leads), a stray continuation
// byte and a sequence cut off by the end or by a byte that is no
// continuation are all refused, so that one text has one spelling and a
// refused text never reaches a lenient reader further on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace utf8 {

constexpr uint32_t kMaxCodePoint = 0x10FFFF;

// Reads one sequence from `length` bytes (at least 1): its length (1-4) and
// its code point in *codePoint, or 0 when the bytes there are no well-formed
// sequence (and *codePoint is left alone).
size_t Decode(const uint8_t* bytes, size_t length, uint32_t* codePoint);

// Writes the form of a code point up to kMaxCodePoint that is no surrogate
// into `out`; answers its length (1-4), or 0 for a value that has none.
size_t Encode(uint32_t codePoint, uint8_t out[4]);

// Appends the form of a code point; false (nothing appended) when it has none.
bool Append(uint32_t codePoint, std::string* out);

}  // namespace utf8
