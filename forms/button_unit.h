// The `Button` unit kind: a BUTTON control under the runtime's own
// procedure, which turns its focus changes and (reflected) clicks into the
// button's events.
#pragma once

#include <cstdint>

#include "forms/button_numbers.h"
#include "forms/button_props.h"
#include "forms/unit_object.h"
#include "forms/unit_routines.h"

struct ButtonObject : UnitObject {
    ButtonProps props;     // the property block's values, kept up to date
    HFONT font = nullptr;  // made from props.font, owned; null: the default GUI font
    HICON icon = nullptr;  // the picture, when it is an icon; owned
    ~ButtonObject() override;
};

// Its descriptor rows and interface function for the core library record.
extern const UnitKindEntry kButtonKind;

// The style bits of a property block (without the loader's and the picture's).
DWORD ButtonStyle(const ButtonProps& props);
