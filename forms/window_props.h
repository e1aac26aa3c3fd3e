// The property block of a `window` unit (versions 0 to 6). A block of an
// older version lacks the fields marked below; they keep their defaults.
// Blocks are always written back in the newest version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/colour.h"
#include "runtime/abi.h"

constexpr uint32_t kWindowPropsVersion = 6;

struct WindowProps {
    int32_t borderStyle = 2;  // 0 none, 1 resizable, 2 fixed, 3/4 tool window, 5/6 sunken edge
    int32_t pictureMode = 1;  // background picture mode
    uint32_t backColour = kDefaultColour;
    int32_t maxButton = 0;         // maximise button (0/1)
    int32_t minButton = 0;         // minimise button (0/1)
    int32_t controlBox = 1;        // system menu (0/1)
    int32_t startPosition = 1;     // 0 as stored, 1 centred, 2 minimised, 3 maximised
    int32_t closeAllowed = 1;      // close command in the system menu (0/1)
    int32_t musicMode = 0;         // 0 repeat, 1 once, other: not played
    int32_t enterMovesFocus = 0;   // (0/1)
    int32_t escapeCloses = 1;      // (0/1)
    int32_t f1Help = 0;            // F1 opens the help file (0/1)
    int32_t helpTopic = 0;         // 0: the help file's contents
    int32_t inTaskBar = 1;         // from version 2
    Word options[2] = {0, 0};      // from version 3; kept, not interpreted
    int32_t alwaysOnTop = 0;       // from version 4
    Word option30 = 0;             // from version 5; kept, not interpreted
    std::string className;         // version 6; empty means "WTWindow"
    std::vector<uint8_t> picture;  // background picture
    std::vector<uint8_t> icon;     // an icon file image
    std::vector<uint8_t> music;    // background music
    std::string caption;
    std::string helpFile;
};

// False when the block ends early or its version is above the newest.
bool ReadWindowProps(const uint8_t* block, uint32_t length, WindowProps* props);
std::vector<uint8_t> WriteWindowProps(const WindowProps& props);
