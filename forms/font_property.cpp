// Font parts. Writing the angle reduces it into 0 ... 3599 and sets both
// escapement and orientation; bold is weight 700 or nothing; a size below 0
// counts as 0. A face name written alone must be 1 to 31 bytes, one in a
// font record at most 30 (an empty one is kept); anything else is "宋体".
#include "forms/font_property.h"

#include <cstring>
#include <string>

#include "forms/property_kinds.h"
#include "runtime/memory.h"

namespace {

constexpr LONG kBoldWeight = 700;
const char kFallbackFace[] = "宋体";

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

void SetFace(LOGFONTA* font, const char* face) {
    std::memset(font->lfFaceName, 0, LF_FACESIZE);
    std::strncpy(font->lfFaceName, face, LF_FACESIZE - 1);
}

void SetAngle(LOGFONTA* font, int32_t angle) {
    int32_t reduced = angle % 3600;
    if (reduced < 0) reduced += 3600;
    font->lfEscapement = reduced;
    font->lfOrientation = reduced;
}

FontSet Present(const LOGFONTA& logfont) {
    FontSet set = {};
    set.present = true;
    set.logfont = logfont;
    return set;
}

}  // namespace

LOGFONTA EffectiveFont(const FontSet& font) {
    if (font.present) return font.logfont;
    LOGFONTA logfont = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof logfont, &logfont);
    return logfont;
}

int32_t FontPoints(const LOGFONTA& font) {
    LONG height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    return MulDiv(height, 72, ScreenDpi());
}

LONG FontHeightOfPoints(int32_t points) {
    return points <= 0 ? 0 : -MulDiv(points, ScreenDpi(), 72);
}

Word ReadFontPart(const FontSet& set, int32_t subIndex) {
    LOGFONTA font = EffectiveFont(set);
    switch (subIndex) {
        case kFontAngle:
            return static_cast<Word>(font.lfEscapement);
        case kFontBold:
            return font.lfWeight >= kBoldWeight ? 1 : 0;
        case kFontItalic:
            return font.lfItalic != 0 ? 1 : 0;
        case kFontStrikeOut:
            return font.lfStrikeOut != 0 ? 1 : 0;
        case kFontUnderline:
            return font.lfUnderline != 0 ? 1 : 0;
        case kFontSize:
            return static_cast<Word>(FontPoints(font));
        case kFontFace:
            return ToWord(CopyText(font.lfFaceName));
        case kFontWhole: {
            auto* record = static_cast<FontRecord*>(Allocate(sizeof(FontRecord)));
            record->angle = font.lfEscapement;
            record->bold = font.lfWeight >= kBoldWeight ? 1 : 0;
            record->italic = font.lfItalic != 0 ? 1 : 0;
            record->strikeOut = font.lfStrikeOut != 0 ? 1 : 0;
            record->underline = font.lfUnderline != 0 ? 1 : 0;
            record->points = FontPoints(font);
            record->face = CopyText(font.lfFaceName);
            return ToWord(record);
        }
        default:
            return 0;
    }
}

FontSet WriteFontPart(const FontSet& current, int32_t subIndex, Word value) {
    if (subIndex == kFontWhole) {
        const FontRecord* record = FromWord<const FontRecord>(value);
        if (record == nullptr) return FontSet{};
        LOGFONTA font = {};
        SetAngle(&font, record->angle);
        font.lfWeight = record->bold ? kBoldWeight : 0;
        font.lfItalic = record->italic ? 1 : 0;
        font.lfStrikeOut = record->strikeOut ? 1 : 0;
        font.lfUnderline = record->underline ? 1 : 0;
        font.lfHeight = FontHeightOfPoints(record->points < 0 ? 0 : record->points);
        bool usable = record->face != nullptr && std::strlen(record->face) < LF_FACESIZE - 1;
        SetFace(&font, usable ? record->face : kFallbackFace);
        return Present(font);
    }
    LOGFONTA font = EffectiveFont(current);
    switch (subIndex) {
        case kFontAngle:
            SetAngle(&font, static_cast<int32_t>(value));
            break;
        case kFontBold:
            font.lfWeight = value != 0 ? kBoldWeight : 0;
            break;
        case kFontItalic:
            font.lfItalic = value != 0 ? 1 : 0;
            break;
        case kFontStrikeOut:
            font.lfStrikeOut = value != 0 ? 1 : 0;
            break;
        case kFontUnderline:
            font.lfUnderline = value != 0 ? 1 : 0;
            break;
        case kFontSize: {
            int32_t points = static_cast<int32_t>(value);
            font.lfHeight = FontHeightOfPoints(points < 0 ? 0 : points);
            break;
        }
        case kFontFace: {
            const char* face = FromWord<const char>(value);
            size_t length = face != nullptr ? std::strlen(face) : 0;
            SetFace(&font, length >= 1 && length <= LF_FACESIZE - 1 ? face : kFallbackFace);
            break;
        }
        default:
            return current;
    }
    return Present(font);
}
