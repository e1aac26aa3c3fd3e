// Reading and writing an `EditBox` property block: seventeen words, the
// font byte set, then counted texts.
#include "forms/editbox_props.h"

#include <utility>

#include "forms/byte_reader.h"
#include "forms/byte_writer.h"

bool ReadEditBoxProps(const uint8_t* block, uint32_t length, EditBoxProps* props) {
    ByteReader r(block, length);
    EditBoxProps p;
    Word version = r.ReadWord();
    if (!r.Ok() || version > kEditBoxPropsVersion) return false;
    p.borderStyle = r.ReadInt();
    p.textColour = r.ReadWord();
    p.backColour = r.ReadWord();
    p.hideSelection = r.ReadInt();
    p.maxLength = r.ReadInt();
    p.multiLine = r.ReadInt();
    p.scrollBars = r.ReadInt();
    p.align = r.ReadInt();
    p.inputMode = r.ReadInt();
    p.passwordChar = r.ReadWord() & 0xFFFF;
    p.caseConversion = r.ReadInt();
    p.spin = r.ReadInt();
    p.spinMin = r.ReadInt();
    p.spinMax = r.ReadInt();
    p.selectionStart = r.ReadInt();
    p.selectionLength = r.ReadInt();
    p.font = ReadFontSet(&r);
    p.content = r.ReadCountedText();
    if (version >= 2) {
        p.dataSource = r.ReadCountedText();
        p.dataColumn = r.ReadCountedText();
    }
    if (!r.Ok()) return false;
    *props = std::move(p);
    return true;
}

std::vector<uint8_t> WriteEditBoxProps(const EditBoxProps& p) {
    ByteWriter w;
    w.Word32(kEditBoxPropsVersion);
    w.Int(p.borderStyle);
    w.Word32(p.textColour);
    w.Word32(p.backColour);
    w.Int(p.hideSelection);
    w.Int(p.maxLength);
    w.Int(p.multiLine);
    w.Int(p.scrollBars);
    w.Int(p.align);
    w.Int(p.inputMode);
    w.Word32(p.passwordChar & 0xFFFF);
    w.Int(p.caseConversion);
    w.Int(p.spin);
    w.Int(p.spinMin);
    w.Int(p.spinMax);
    w.Int(p.selectionStart);
    w.Int(p.selectionLength);
    WriteFontSet(&w, p.font);
    w.CountedText(p.content);
    w.CountedText(p.dataSource);
    w.CountedText(p.dataColumn);
    return w.Take();
}
