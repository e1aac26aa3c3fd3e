// The `Label` unit kind: a child window of the runtime's label class that
// paints its caption itself.
#pragma once

#include <cstdint>

#include "forms/label_numbers.h"
#include "forms/label_props.h"
#include "forms/unit_object.h"
#include "forms/unit_routines.h"

struct LabelObject : UnitObject {
    LabelProps props;        // the property block's values, kept up to date
    HFONT font = nullptr;    // made from props.font, owned; null: the default GUI font
    HBRUSH brush = nullptr;  // the background colour's brush, owned; null: the button face
    ~LabelObject() override;
};

// Its descriptor rows and interface function for the core library record.
extern const UnitKindEntry kLabelKind;

// The DrawText flags of a label's caption.
UINT LabelTextFormat(const LabelProps& props);
