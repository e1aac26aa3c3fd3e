// The numbers of a `Button` unit: its own properties as the property
// services index them, and its one event.
#pragma once

#include <cstdint>

enum ButtonProperty : int32_t {
    kButtonPicture = 8,
    kButtonType = 9,
    kButtonCaption = 10,
    kButtonHorizontalAlign = 11,
    kButtonVerticalAlign = 12,
    kButtonFont = 13,
};

// A click, by mouse, Space, or Enter on a default button.
constexpr int32_t kButtonClick = 0;
