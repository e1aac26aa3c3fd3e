// The property block of a `Label` unit (versions 0 to 2; the data source
// texts come with version 2). Written back in the newest version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/colour.h"
#include "forms/font_set.h"

constexpr uint32_t kLabelPropsVersion = 2;

struct LabelProps {
    int32_t textEffect = 0;     // 0 plain; 1, 2 relief with a white copy
    int32_t gradientWidth = 8;  // band width of border style 6
    int32_t borderStyle = 0;    // 0 to 5 as an edit box's; 6 gradient border
    uint32_t borderColours[3] = {0x808080, 0xFFFFFF, 0x808080};
    uint32_t textColour = 0;
    uint32_t backColour = kDefaultColour;
    int32_t pictureMode = 1;   // background picture mode
    int32_t gradientMode = 0;  // 0 none, else shaded background
    uint32_t backColours[3] = {0x808080, 0xFFFFFF, 0x808080};
    int32_t horizontalAlign = 0;   // 0 left, 1 centre, 2 right
    int32_t verticalAlign = 1;     // 0 top, 1 centre, 2 bottom
    int32_t wordWrap = 0;          // (0/1)
    FontSet font = {};             // absent: the default GUI font
    std::vector<uint8_t> picture;  // background picture
    std::string caption = "标签";
    std::string dataSource;  // from version 2
    std::string dataColumn;  // from version 2
};

// False when the block ends early or its version is above the newest.
bool ReadLabelProps(const uint8_t* block, uint32_t length, LabelProps* props);
std::vector<uint8_t> WriteLabelProps(const LabelProps& props);
