// Fonts as the property services pass them: the whole font through a font
// record, or one part of it chosen by the sub-index (angle, bold, italic,
// strike-out, underline, size in points, face name).
#pragma once

#include <cstdint>

#include "forms/font_set.h"
#include "runtime/abi.h"

// Seven words, allocated by the runtime's memory service and owned by the
// receiver (the face name too).
struct FontRecord {
    int32_t angle;      // tenths of degrees
    int32_t bold;       // 0/1
    int32_t italic;     // 0/1
    int32_t strikeOut;  // 0/1
    int32_t underline;  // 0/1
    int32_t points;     // size in points
    const char* face;   // face name, or null
};
static_assert(sizeof(FontRecord) == 28, "seven words");

// The font a control uses: its own, or the system's default GUI font.
LOGFONTA EffectiveFont(const FontSet& font);

// A part of the font as one word: a number, a new face name text, or (-1)
// the address of a new font record.
Word ReadFontPart(const FontSet& font, int32_t subIndex);

// The font after writing one part (the other parts from `current`, or from
// the default GUI font when it is absent), or a whole font from a font
// record (-1; a null record stands for the default GUI font).
FontSet WriteFontPart(const FontSet& current, int32_t subIndex, Word value);

// Font heights and points at the screen's resolution.
int32_t FontPoints(const LOGFONTA& font);
LONG FontHeightOfPoints(int32_t points);
