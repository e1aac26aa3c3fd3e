// Reading and writing a `window` property block. All fields are words except
// the counted texts and the byte sets at its end.
#include "forms/window_props.h"

#include <utility>

#include "forms/byte_reader.h"
#include "forms/byte_writer.h"

bool ReadWindowProps(const uint8_t* block, uint32_t length, WindowProps* props) {
    ByteReader r(block, length);
    WindowProps p;
    Word version = r.ReadWord();
    if (!r.Ok() || version > kWindowPropsVersion) return false;
    p.borderStyle = r.ReadInt();
    p.pictureMode = r.ReadInt();
    p.backColour = r.ReadWord();
    p.maxButton = r.ReadInt();
    p.minButton = r.ReadInt();
    p.controlBox = r.ReadInt();
    p.startPosition = r.ReadInt();
    p.closeAllowed = r.ReadInt();
    p.musicMode = r.ReadInt();
    p.enterMovesFocus = r.ReadInt();
    p.escapeCloses = r.ReadInt();
    p.f1Help = r.ReadInt();
    p.helpTopic = r.ReadInt();
    if (version >= 2) p.inTaskBar = r.ReadInt();
    if (version >= 3) {
        p.options[0] = r.ReadWord();
        p.options[1] = r.ReadWord();
    }
    if (version >= 4) p.alwaysOnTop = r.ReadInt();
    if (version >= 5) p.option30 = r.ReadWord();
    if (version >= 6) p.className = r.ReadCountedText();
    p.picture = r.ReadByteSet();
    p.icon = r.ReadByteSet();
    p.music = r.ReadByteSet();
    p.caption = r.ReadCountedText();
    p.helpFile = r.ReadCountedText();
    if (!r.Ok()) return false;
    *props = std::move(p);
    return true;
}

std::vector<uint8_t> WriteWindowProps(const WindowProps& p) {
    ByteWriter w;
    w.Word32(kWindowPropsVersion);
    w.Int(p.borderStyle);
    w.Int(p.pictureMode);
    w.Word32(p.backColour);
    w.Int(p.maxButton);
    w.Int(p.minButton);
    w.Int(p.controlBox);
    w.Int(p.startPosition);
    w.Int(p.closeAllowed);
    w.Int(p.musicMode);
    w.Int(p.enterMovesFocus);
    w.Int(p.escapeCloses);
    w.Int(p.f1Help);
    w.Int(p.helpTopic);
    w.Int(p.inTaskBar);
    w.Word32(p.options[0]);
    w.Word32(p.options[1]);
    w.Int(p.alwaysOnTop);
    w.Word32(p.option30);
    w.CountedText(p.className);
    w.ByteSet(p.picture);
    w.ByteSet(p.icon);
    w.ByteSet(p.music);
    w.CountedText(p.caption);
    w.CountedText(p.helpFile);
    return w.Take();
}
