// The drop editor's only window, "Quillmarsh--怪物掉落修改", as the template
// segment of the program image holds it, and the ids the program uses to
// reach its controls.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/abi.h"

constexpr uint32_t kMainWindowId = 0x52010001;
constexpr uint32_t kMainWindowUnitId = 0x06010000;  // the window as its own unit 0
constexpr uint32_t kVersionLabelId = 0x1601008C;    // 标签7: "非Steam" until checked
constexpr uint32_t kMeatEditId = 0x1601001C;        // 编辑框1: meat drop multiplier
constexpr uint32_t kItemEditId = 0x16010020;        // 编辑框2: special item multiplier
constexpr uint32_t kKettleEditId = 0x1601008D;      // 编辑框3: the kettle's water
constexpr uint32_t kApplyButtonId = 0x16010022;     // 按钮1: "确认修改"
constexpr uint32_t kNotesButtonId = 0x16010078;     // 按钮2: "说明"

// Where the three routines bound to the window's events lie, as distances
// from the code base of the program header (the header may use a code base
// of 0 and pass the routines' addresses).
struct MainWindowHandlers {
    Word checkGameFile;   // window event 0, before the window is shown
    Word showUsageNotes;  // 按钮2's click
    Word applyChanges;    // 按钮1's click
};

// The whole template segment: one window with its 13 controls.
std::vector<uint8_t> BuildMainWindowSegment(const MainWindowHandlers& handlers);
