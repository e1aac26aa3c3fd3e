// The `Label` unit kind: a child window of the runtime's label class that
// paints its caption itself.
#pragma once

#include <cstdint>

#include "forms/label_props.h"
#include "forms/unit_object.h"

struct LabelObject : UnitObject {
    LabelProps props;  // the property block's values, kept up to date
    HFONT font;        // made from props.font, owned; null: the default GUI font
    HBRUSH brush;      // the background colour's brush, owned; null: the button face
};

enum LabelProperty : int32_t {
    kLabelCaption = 8,
    kLabelTextEffect = 9,
    kLabelBorder = 10,
    kLabelGradientWidth = 11,
    kLabelBorderColour1 = 12,  // to 14
    kLabelFont = 15,
    kLabelTextColour = 16,
    kLabelBackColour = 17,
    kLabelPicture = 18,
    kLabelPictureMode = 19,
    kLabelGradientMode = 20,
    kLabelBackColour1 = 21,  // to 23
    kLabelHorizontalAlign = 24,
    kLabelWordWrap = 25,
    kLabelVerticalAlign = 26,
    kLabelDataSource = 27,
    kLabelDataColumn = 28,
};

void* LabelInterface(int32_t operation);

// The DrawText flags of a label's caption.
UINT LabelTextFormat(const LabelProps& props);
