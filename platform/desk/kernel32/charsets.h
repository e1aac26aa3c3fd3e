// The two character sets the desk converts without the C library: code page
// 936 (GBK, the program's texts) and UTF-8 (host names, terminal, log). A
// statically linked desk has no converter modules or locales to load, so both
// are done here, code page 936 from tables made at build time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace desk {

// Reads one code page 936 character from `length` bytes (at least 1): the
// number of bytes it takes (1 or 2) and its UTF-16 unit, or 0 when the bytes
// there are no character (an unassigned byte or pair, or a lead byte that is
// the last byte).
size_t GbkDecode(const uint8_t* bytes, size_t length, uint16_t* unit);
// Appends the code page 936 form of a UTF-16 unit; false when the code page
// has no such character (surrogates included).
bool GbkEncode(uint16_t unit, std::string* out);

// Reads one UTF-8 sequence from `length` bytes (at least 1): its length and
// code point, or 0 when the bytes there are no well-formed sequence (a stray
// trail byte, an overlong form, a surrogate, beyond U+10FFFF, or cut off).
size_t Utf8Decode(const uint8_t* bytes, size_t length, uint32_t* codePoint);
// Appends the UTF-8 form of a code point up to U+10FFFF.
void Utf8Append(uint32_t codePoint, std::string* out);

}  // namespace desk
