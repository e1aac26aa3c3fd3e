// The drop editor's main window loaded live, for its tests on both sides
// and for the desk's own transcript of it: its controls as the template
// lays them out, test stand-ins for the routines bound to it, and a
// program image that shows it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "app/main_window_template.h"
#include "forms/application.h"
#include "forms/event_handler.h"
#include "forms/live_runtime.h"
#include "forms/loaded_window.h"
#include "forms/unit_object.h"
#include "forms/window_template.h"
#include "runtime/services.h"

namespace mainwindow {

struct Probe {
    bool ran;
    bool visibleInEvent0;
};
inline Probe g_probe;

// Stands in for CheckGameFile: looks at the window, then sets the version
// label through the service table as the drop editor does.
inline bool ProbeAndSetVersion(const uint32_t*, int32_t, uint32_t*) {
    UnitObject* window = LiveWindowObject(*FindWindowTemplate(kMainWindowId));
    g_probe.ran = true;
    g_probe.visibleInEvent0 = window != nullptr && IsWindowVisible(window->hwnd);
    g_services.WriteProperty(kMainWindowId, kVersionLabelId, 8, -1, ToWord("0.751（Steam）"), 0);
    return false;
}

// Stands in for a failed check: closes the window through the queued
// request and processes events, as the drop editor's closing sequence does.
inline bool CloseInEvent0(const uint32_t*, int32_t, uint32_t*) {
    ArgValue args[2] = {ArgValue{kMainWindowId, kMainWindowUnitId, DT_WINDOW}, MakeOmitted()};
    g_services.CallCoreCommand(CoreLibraryRecord()->commands[kCmdCloseWindow], 2, args);
    g_services.CallCoreCommand(CoreLibraryRecord()->commands[kCmdProcessEvents], 0, nullptr);
    return false;
}

struct Control {
    int id;
    const char* cls;
    const char* text;  // GBK, as the sources are compiled
    int x, y, w, h;    // in the window's client area
    int weight;        // 0: the default GUI font
};

// In Z order (unit table order): index 1 at the top has the id 220.
inline const Control kControls[] = {
    {220, "WTLabel", "水壶获取水的数量", 208, 120, 182, 32, 400},
    {210, "WTLabel", "附加修改 水壶获取", 17, 121, 111, 32, 700},
    {200, "EDIT", "", 142, 121, 56, 32, 0},
    {190, "WTLabel", "0.751（Steam）", 176, 5, 152, 32, 700},
    {180, "WTLabel", "您当前使用的游戏版本为：", 18, 4, 158, 32, 700},
    {170, "BUTTON", "说明", 192, 163, 48, 24, 400},
    {160, "BUTTON", "确认修改", 82, 163, 96, 24, 400},
    {150, "WTLabel", "物品掉落", 18, 81, 56, 32, 700},
    {140, "EDIT", "", 82, 81, 56, 32, 0},
    {130, "WTLabel", "倍     怪物特殊物品的掉落倍率", 146, 81, 182, 32, 400},
    {120, "WTLabel", "倍     游戏中[肉]的掉落倍率", 146, 41, 174, 32, 400},
    {110, "WTLabel", "货币掉落", 18, 41, 56, 32, 700},
    {100, "EDIT", "", 82, 41, 56, 32, 0},
};

class MainWindowLive : public LiveRuntime {
  protected:
    void LoadMain(EventHandler event0) {
        g_probe = Probe{};
        StartWith(BuildMainWindowSegment({HandlerAddress(event0), kNoHandler, kNoHandler}));
        LoadStartWindow(kMainWindowId);
        UnitObject* window = LiveWindowObject(*FindWindowTemplate(kMainWindowId));
        ASSERT_NE(window, nullptr);
        hwnd_ = window->hwnd;
    }
    HWND hwnd_ = nullptr;
};

// A program image over the main window; its event 0 runs `event0`, and its
// end routine says on stderr whether the message loop took the quit.
inline ProgramImage MainWindowImage(EventHandler event0) {
    static std::vector<uint8_t> segment;
    segment = BuildMainWindowSegment({HandlerAddress(event0), kNoHandler, kNoHandler});
    return ProgramImage{CoreOnlyHeader(segment), [] {
                            g_services.CallRuntimeHelper(kHelperInitializeProgram, 0, 0);
                            g_services.CallRuntimeHelper(
                                kHelperRegisterEndRoutine,
                                ToWord(reinterpret_cast<const void*>(+[] {
                                    std::fprintf(stderr, "end routine: loop took quit %d\n",
                                                 g_app.quitTaken ? 1 : 0);
                                })),
                                0);
                            g_services.LoadStartWindow(kMainWindowId);
                            g_services.RunMessageLoop();
                            return 0;
                        }};
}

}  // namespace mainwindow
