// Reading and writing a `Button` property block: four words, the picture
// and font byte sets, the caption as a counted text.
#include "forms/button_props.h"

#include <utility>

#include "forms/byte_reader.h"
#include "forms/byte_writer.h"

bool ReadButtonProps(const uint8_t* block, uint32_t length, ButtonProps* props) {
    ByteReader r(block, length);
    ButtonProps p;
    Word version = r.ReadWord();
    if (!r.Ok() || version > kButtonPropsVersion) return false;
    p.buttonType = r.ReadInt();
    p.horizontalAlign = r.ReadInt();
    p.verticalAlign = r.ReadInt();
    p.picture = r.ReadByteSet();
    p.font = ReadFontSet(&r);
    p.caption = r.ReadCountedText();
    if (!r.Ok()) return false;
    *props = std::move(p);
    return true;
}

std::vector<uint8_t> WriteButtonProps(const ButtonProps& p) {
    ByteWriter w;
    w.Word32(kButtonPropsVersion);
    w.Int(p.buttonType);
    w.Int(p.horizontalAlign);
    w.Int(p.verticalAlign);
    w.ByteSet(p.picture);
    WriteFontSet(&w, p.font);
    w.CountedText(p.caption);
    return w.Take();
}
