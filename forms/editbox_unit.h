// The `EditBox` unit kind: an EDIT control under the runtime's own
// procedure, which filters typed characters by input mode and normalises
// the content when the focus leaves; optionally with an up-down control.
#pragma once

#include <cstdint>

#include "forms/editbox_numbers.h"
#include "forms/editbox_props.h"
#include "forms/unit_object.h"
#include "forms/unit_routines.h"

struct EditBoxObject : UnitObject {
    EditBoxProps props;      // the property block's values; the content is refreshed when read
    HFONT font = nullptr;    // made from props.font, owned; null: the default GUI font
    HBRUSH brush = nullptr;  // the background colour's brush, owned
    HWND spin = nullptr;     // the up-down control (control id + 4), or null
    bool quietChange =
        false;               // a property write is setting the text: its own EN_CHANGE is no event
    bool skipTrail = false;  // a refused double-byte character's trail byte is still to come
    // Made in password mode: leaving that mode needs a new control, even
    // where the style bits no longer show it (a password character of 0).
    bool madeAsPassword = false;
    ~EditBoxObject() override;
};

// The id of the up-down control beside an edit box.
constexpr int kSpinIdOffset = 4;

// Its descriptor rows and interface function for the core library record.
extern const UnitKindEntry kEditBoxKind;

// The style bits of a property block (without the loader's).
DWORD EditBoxStyle(const EditBoxProps& props);
