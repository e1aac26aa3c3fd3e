// The numbers of a `Label` unit: its own properties as the property
// services index them, and its one event.
#pragma once

#include <cstdint>

enum LabelProperty : int32_t {
    kLabelCaption = 8,
    kLabelTextEffect = 9,
    kLabelBorder = 10,
    kLabelGradientWidth = 11,
    kLabelBorderColour1 = 12,
    kLabelBorderColour2 = 13,
    kLabelBorderColour3 = 14,
    kLabelFont = 15,
    kLabelTextColour = 16,
    kLabelBackColour = 17,
    kLabelPicture = 18,
    kLabelPictureMode = 19,
    kLabelGradientMode = 20,
    kLabelBackColour1 = 21,
    kLabelBackColour2 = 22,
    kLabelBackColour3 = 23,
    kLabelHorizontalAlign = 24,
    kLabelWordWrap = 25,
    kLabelVerticalAlign = 26,
    kLabelDataSource = 27,
    kLabelDataColumn = 28,
};

// A private request sent to the label (its message's two parameters are
// the event's arguments; the handler's value is the answer).
constexpr int32_t kLabelRequest = 0;
