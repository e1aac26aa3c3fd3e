// What the display scale tests read and write on the live window: property
// values as a program sees them, a control's place in its parent, its font
// height, and the live window with a font of its own on the label.
#pragma once

#include "forms/property_access.h"
#include "live_fixture.h"

inline uint32_t Read(uint32_t unitId, int32_t property) {
    return static_cast<uint32_t>(ReadProperty(kLiveWindowId, unitId, property, -1));
}

inline void Write(uint32_t unitId, int32_t property, uint32_t value) {
    WriteProperty(kLiveWindowId, unitId, property, -1, value, 0);
}

inline RECT InParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline LONG FontHeight(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    if (font == nullptr || GetObjectA(font, sizeof lf, &lf) == 0) return 0;
    return lf.lfHeight;
}

// The live window with a 12-pixel font on the label.
inline LiveWindowSource WithLabelFont() {
    LiveWindowSource source;
    LabelProps lp;
    lp.caption = "标签";
    lp.font = MakeFontSet(-12, FW_NORMAL, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    source.label.propertyBlock = WriteLabelProps(lp);
    return source;
}
