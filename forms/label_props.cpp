// Reading and writing a `Label` property block: seventeen words, the font
// and picture byte sets, then counted texts.
#include "forms/label_props.h"

#include <utility>

#include "forms/byte_reader.h"
#include "forms/byte_writer.h"

bool ReadLabelProps(const uint8_t* block, uint32_t length, LabelProps* props) {
    ByteReader r(block, length);
    LabelProps p;
    Word version = r.ReadWord();
    if (!r.Ok() || version > kLabelPropsVersion) return false;
    p.textEffect = r.ReadInt();
    p.gradientWidth = r.ReadInt();
    p.borderStyle = r.ReadInt();
    for (uint32_t& colour : p.borderColours) colour = r.ReadWord();
    p.textColour = r.ReadWord();
    p.backColour = r.ReadWord();
    p.pictureMode = r.ReadInt();
    p.gradientMode = r.ReadInt();
    for (uint32_t& colour : p.backColours) colour = r.ReadWord();
    p.horizontalAlign = r.ReadInt();
    p.verticalAlign = r.ReadInt();
    p.wordWrap = r.ReadInt();
    p.font = ReadFontSet(&r);
    p.picture = r.ReadByteSet();
    p.caption = r.ReadCountedText();
    if (version >= 2) {
        p.dataSource = r.ReadCountedText();
        p.dataColumn = r.ReadCountedText();
    }
    if (!r.Ok()) return false;
    *props = std::move(p);
    return true;
}

std::vector<uint8_t> WriteLabelProps(const LabelProps& p) {
    ByteWriter w;
    w.Word32(kLabelPropsVersion);
    w.Int(p.textEffect);
    w.Int(p.gradientWidth);
    w.Int(p.borderStyle);
    for (uint32_t colour : p.borderColours) w.Word32(colour);
    w.Word32(p.textColour);
    w.Word32(p.backColour);
    w.Int(p.pictureMode);
    w.Int(p.gradientMode);
    for (uint32_t colour : p.backColours) w.Word32(colour);
    w.Int(p.horizontalAlign);
    w.Int(p.verticalAlign);
    w.Int(p.wordWrap);
    WriteFontSet(&w, p.font);
    w.ByteSet(p.picture);
    w.CountedText(p.caption);
    w.CountedText(p.dataSource);
    w.CountedText(p.dataColumn);
    return w.Take();
}
