// The `Button` unit kind: a BUTTON control under the runtime's own
// procedure, which turns its focus changes and (reflected) clicks into the
// button's events.
#pragma once

#include <cstdint>

#include "forms/button_props.h"
#include "forms/unit_object.h"

struct ButtonObject : UnitObject {
    ButtonProps props;  // the property block's values, kept up to date
    HFONT font;         // made from props.font, owned; null: the default GUI font
    HICON icon;         // the picture, when it is an icon; owned
};

enum ButtonProperty : int32_t {
    kButtonPicture = 8,
    kButtonType = 9,
    kButtonCaption = 10,
    kButtonHorizontalAlign = 11,
    kButtonVerticalAlign = 12,
    kButtonFont = 13,
};

void* ButtonInterface(int32_t operation);

// The style bits of a property block (without the loader's and the picture's).
DWORD ButtonStyle(const ButtonProps& props);
