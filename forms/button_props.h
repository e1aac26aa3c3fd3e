// The property block of a `Button` unit (versions 0 and 1, one layout).
// Written back in the newest version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/font_set.h"

constexpr uint32_t kButtonPropsVersion = 1;

struct ButtonProps {
    int32_t buttonType = 0;        // 0 normal, 1 default button
    int32_t horizontalAlign = 1;   // 0 left, 1 centre, 2 right
    int32_t verticalAlign = 1;     // 0 top, 1 centre, 2 bottom
    std::vector<uint8_t> picture;  // an icon or another picture
    FontSet font = {};             // absent: the default GUI font
    std::string caption = "按钮";
};

// False when the block ends early or its version is above the newest.
bool ReadButtonProps(const uint8_t* block, uint32_t length, ButtonProps* props);
std::vector<uint8_t> WriteButtonProps(const ButtonProps& props);
