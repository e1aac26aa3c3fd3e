// Fonts as property blocks store them: a byte set that is either empty (the
// system's default GUI font) or exactly one 60-byte LOGFONTA.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

class ByteReader;
class ByteWriter;

constexpr uint32_t kFontSetSize = 60;
static_assert(sizeof(LOGFONTA) == kFontSetSize, "a stored font is one LOGFONTA");

struct FontSet {
    bool present;      // false: the default GUI font
    LOGFONTA logfont;  // when present; the face name is zero-padded
};

// A set of any other length than 60 bytes stands for the default font too.
// Only the face name up to its first zero byte counts: the bytes after it
// are cleared, and the last byte is always a terminator.
FontSet FontFromSet(const std::vector<uint8_t>& set);
FontSet ReadFontSet(ByteReader* r);
void WriteFontSet(ByteWriter* w, const FontSet& font);

// A font by description, as template sources state one (face in GBK).
FontSet MakeFontSet(int32_t height, int32_t weight, uint8_t charSet, uint8_t outPrecision,
                    uint8_t clipPrecision, uint8_t quality, uint8_t pitchAndFamily,
                    const std::string& face);
