// The property block of an `EditBox` unit (versions 0 to 2; the data source
// texts come with version 2). Written back in the newest version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/font_set.h"

constexpr uint32_t kEditBoxPropsVersion = 2;

struct EditBoxProps {
    int32_t borderStyle = 1;  // 0 none, 1 sunken, 2 raised, 3 thin sunken, 4 both, 5 single line
    uint32_t textColour = 0;
    uint32_t backColour = 0xFFFFFF;
    int32_t hideSelection = 1;    // hide the selection when unfocused (0/1)
    int32_t maxLength = 0;        // bytes; 0 = the platform's limit
    int32_t multiLine = 0;        // (0/1)
    int32_t scrollBars = 0;       // 0 none, 1 horizontal, 2 vertical, 3 both
    int32_t align = 0;            // 0 left, 1 centre, 2 right
    int32_t inputMode = 0;        // 0 to 11: which keys pass, how the content is normalised
    uint32_t passwordChar = '*';  // a 16-bit character, stored in a word
    int32_t caseConversion = 0;   // 0 none, 1 lower, 2 upper
    int32_t spin = 0;             // 0 none, 1 and 2 two kinds of up-down control
    int32_t spinMin = 0;
    int32_t spinMax = 100;
    int32_t selectionStart = 0;
    int32_t selectionLength = 0;
    FontSet font = {};  // absent: the default GUI font
    std::string content;
    std::string dataSource;  // from version 2
    std::string dataColumn;  // from version 2
};

// False when the block ends early or its version is above the newest.
bool ReadEditBoxProps(const uint8_t* block, uint32_t length, EditBoxProps* props);
std::vector<uint8_t> WriteEditBoxProps(const EditBoxProps& props);
