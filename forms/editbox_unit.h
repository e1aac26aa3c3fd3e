// The `EditBox` unit kind: an EDIT control under the runtime's own
// procedure, which filters typed characters by input mode and normalises
// the content when the focus leaves; optionally with an up-down control.
#pragma once

#include <cstdint>

#include "forms/editbox_props.h"
#include "forms/unit_object.h"

struct EditBoxObject : UnitObject {
    EditBoxProps props;  // the property block's values; the content is refreshed when read
    HFONT font;          // made from props.font, owned; null: the default GUI font
    HBRUSH brush;        // the background colour's brush, owned
    HWND spin;           // the up-down control (control id + 4), or null
    bool quietChange;    // a property write is setting the text: its own EN_CHANGE is no event
    bool skipTrail;      // a refused double-byte character's trail byte is still to come
};

enum EditBoxProperty : int32_t {
    kEditContent = 8,
    kEditBorder = 9,
    kEditTextColour = 10,
    kEditBackColour = 11,
    kEditFont = 12,
    kEditHideSelection = 13,
    kEditMaxLength = 14,
    kEditMultiLine = 15,
    kEditScrollBars = 16,
    kEditAlign = 17,
    kEditInputMode = 18,
    kEditPasswordChar = 19,
    kEditCaseConversion = 20,
    kEditSpin = 21,
    kEditSpinMin = 22,
    kEditSpinMax = 23,
    kEditSelectionStart = 24,
    kEditSelectionLength = 25,
    kEditDataSource = 26,
    kEditDataColumn = 27,
    kEditSelectedText = 28,  // not stored: the live control's selection
};

// The id of the up-down control beside an edit box.
constexpr int kSpinIdOffset = 4;

void* EditBoxInterface(int32_t operation);

// The style bits of a property block (without the loader's).
DWORD EditBoxStyle(const EditBoxProps& props);
