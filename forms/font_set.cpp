// Stored fonts.
#include "forms/font_set.h"

#include <cstring>

#include "forms/byte_reader.h"
#include "forms/byte_writer.h"

namespace {

void CleanFaceName(LOGFONTA* font) {
    font->lfFaceName[LF_FACESIZE - 1] = 0;
    size_t used = std::strlen(font->lfFaceName);
    std::memset(font->lfFaceName + used, 0, LF_FACESIZE - used);
}

}  // namespace

FontSet FontFromSet(const std::vector<uint8_t>& set) {
    FontSet font = {};
    if (set.size() != kFontSetSize) return font;
    font.present = true;
    std::memcpy(&font.logfont, set.data(), kFontSetSize);
    CleanFaceName(&font.logfont);
    return font;
}

FontSet ReadFontSet(ByteReader* r) {
    return FontFromSet(r->ReadByteSet());
}

void WriteFontSet(ByteWriter* w, const FontSet& font) {
    if (!font.present) {
        w->Word32(0);
        return;
    }
    LOGFONTA logfont = font.logfont;
    CleanFaceName(&logfont);
    w->Counted(&logfont, kFontSetSize);
}

FontSet MakeFontSet(int32_t height, int32_t weight, uint8_t charSet, uint8_t outPrecision,
                    uint8_t clipPrecision, uint8_t quality, uint8_t pitchAndFamily,
                    const std::string& face) {
    FontSet font = {};
    font.present = true;
    font.logfont.lfHeight = height;
    font.logfont.lfWeight = weight;
    font.logfont.lfCharSet = charSet;
    font.logfont.lfOutPrecision = outPrecision;
    font.logfont.lfClipPrecision = clipPrecision;
    font.logfont.lfQuality = quality;
    font.logfont.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(font.logfont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return font;
}
