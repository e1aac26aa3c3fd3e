// desk-only: the window is driven by the desk's scripted user and read from its transcript
// The drop editor's main window loaded live under the desk: where it
// stands, its 13 controls with their ids, captions, positions and fonts,
// its number boxes, Escape, and a start window closed during its event 0.
// The routines bound to it here are test stand-ins, not the drop editor's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_window_template.h"
#include "forms/application.h"
#include "forms/event_handler.h"
#include "forms/live_runtime.h"
#include "forms/loaded_window.h"
#include "forms/unit_object.h"
#include "forms/window_template.h"
#include "platform/desk/frontends/script/actions.h"
#include "platform/desk/user32/user32.h"
#include "runtime/services.h"

namespace {

struct Probe {
    bool ran;
    bool visibleInEvent0;
};
Probe g_probe;

// Stands in for CheckGameFile: looks at the window, then sets the version
// label through the service table as the drop editor does.
bool ProbeAndSetVersion(const uint32_t*, int32_t, uint32_t*) {
    UnitObject* window = LiveWindowObject(*FindWindowTemplate(kMainWindowId));
    g_probe.ran = true;
    g_probe.visibleInEvent0 = window != nullptr && IsWindowVisible(window->hwnd);
    g_services.WriteProperty(kMainWindowId, kVersionLabelId, 8, -1, ToWord("0.751（Steam）"), 0);
    return false;
}

// Stands in for a failed check: closes the window through the queued
// request and processes events, as the drop editor's closing sequence does.
bool CloseInEvent0(const uint32_t*, int32_t, uint32_t*) {
    ArgValue args[2] = {ArgValue{kMainWindowId, kMainWindowUnitId, DT_WINDOW}, MakeOmitted()};
    g_services.CallCoreCommand(CoreLibraryRecord()->commands[kCmdCloseWindow], 2, args);
    g_services.CallCoreCommand(CoreLibraryRecord()->commands[kCmdProcessEvents], 0, nullptr);
    return false;
}

struct Control {
    int id;
    const char* cls;
    const char* text;  // UTF-8, as the dump writes it
    int x, y, w, h;
    int weight;  // 0: the default GUI font
};

// In Z order (unit table order): index 1 at the top has the id 220.
const Control kControls[] = {
    {220, "WTLabel", u8"水壶获取水的数量", 208, 120, 182, 32, 400},
    {210, "WTLabel", u8"附加修改 水壶获取", 17, 121, 111, 32, 700},
    {200, "EDIT", "", 142, 121, 56, 32, 0},
    {190, "WTLabel", u8"0.751（Steam）", 176, 5, 152, 32, 700},
    {180, "WTLabel", u8"您当前使用的游戏版本为：", 18, 4, 158, 32, 700},
    {170, "BUTTON", u8"说明", 192, 163, 48, 24, 400},
    {160, "BUTTON", u8"确认修改", 82, 163, 96, 24, 400},
    {150, "WTLabel", u8"物品掉落", 18, 81, 56, 32, 700},
    {140, "EDIT", "", 82, 81, 56, 32, 0},
    {130, "WTLabel", u8"倍     怪物特殊物品的掉落倍率", 146, 81, 182, 32, 400},
    {120, "WTLabel", u8"倍     游戏中[肉]的掉落倍率", 146, 41, 174, 32, 400},
    {110, "WTLabel", u8"货币掉落", 18, 41, 56, 32, 700},
    {100, "EDIT", "", 82, 41, 56, 32, 0},
};

std::string ExpectedWindowDump() {
    std::string out =
        u8"{\"title\":\"Quillmarsh--怪物掉落修改\",\"class\":\"WTWindow\",\"visible\":true,"
        "\"x\":791,\"y\":429,\"w\":337,\"h\":222,\"controls\":[";
    for (const Control& c : kControls) {
        if (out.back() != '[') out += ",";
        // The first box in focus order (the kettle box, 编辑框3) has the focus.
        out += "{\"id\":" + std::to_string(c.id) + ",\"class\":\"" + c.cls + "\",\"text\":\"" +
               c.text + "\",\"visible\":true,\"enabled\":true,\"focused\":" +
               (c.id == 200 ? "true" : "false") + ",\"x\":" + std::to_string(c.x) +
               ",\"y\":" + std::to_string(c.y) + ",\"w\":" + std::to_string(c.w) +
               ",\"h\":" + std::to_string(c.h) + "}";
    }
    return out + "]}";
}

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

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// A program image over the main window; its event 0 runs `event0`.
ProgramImage MainWindowImage(EventHandler event0) {
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

}  // namespace

TEST_F(MainWindowLive, LoadsCentredWithItsControlsAfterEvent0) {
    LoadMain(ProbeAndSetVersion);
    ASSERT_TRUE(g_probe.ran);
    EXPECT_FALSE(g_probe.visibleInEvent0) << "event 0 runs before the window is shown";
    std::string dump = desk::DumpJson();
    EXPECT_NE(dump.find(ExpectedWindowDump()), std::string::npos) << dump;
}

TEST_F(MainWindowLive, ControlsCarryTheTemplateFonts) {
    LoadMain(ProbeAndSetVersion);
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(hwnd_, c.id);
        ASSERT_NE(control, nullptr);
        LOGFONTA font = {};
        HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
        ASSERT_EQ(GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
        EXPECT_EQ(font.lfHeight, -12);
        if (c.weight == 0) {
            EXPECT_STREQ(font.lfFaceName, "宋体") << "the default GUI font";
            continue;
        }
        EXPECT_STREQ(font.lfFaceName, "微软雅黑");
        EXPECT_EQ(font.lfWeight, c.weight);
        EXPECT_EQ(font.lfCharSet, 134);
    }
}

TEST_F(MainWindowLive, NumberBoxesTakeFiveDigitsAndNormaliseOnLeaving) {
    LoadMain(ProbeAndSetVersion);
    HWND meat = GetDlgItem(hwnd_, 100);
    RECT rect;
    GetWindowRect(meat, &rect);
    desk::InputClick(POINT{rect.left + 5, rect.top + 5});
    Type("0x0012345");
    EXPECT_EQ(TextOf(meat), "00012") << "letters are refused and the length stops at five";
    Press(VK_TAB);
    EXPECT_EQ(TextOf(meat), "12");
    // 编辑框1 is the last unit of the table: Tab wraps to the first, 编辑框3.
    EXPECT_EQ(GetFocus(), GetDlgItem(hwnd_, 200));

    g_services.WriteProperty(kMainWindowId, kMeatEditId, 8, -1, ToWord("-0000"), 0);
    SetFocus(meat);
    Press(VK_TAB);
    EXPECT_EQ(TextOf(meat), "");
}

TEST_F(MainWindowLive, EscapeClosesItAndEndsTheLoop) {
    LoadMain(ProbeAndSetVersion);
    g_app.loopStarted = true;
    Press(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_TRUE(QuitPosted());
}

TEST(MainWindowProgram, AStartWindowClosedInItsEvent0EndsWithoutTheLoop) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(RunProgram(MainWindowImage(CloseInEvent0), nullptr), ::testing::ExitedWithCode(0),
                "end routine: loop took quit 0");
}

TEST(MainWindowProgram, ShownDumpedAndClosedByEscapeUnderTheScriptedUser) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    // Named after the process, so that parallel runs do not share them.
    std::string stem = ::testing::TempDir() + "main_window_escape_" + std::to_string(getpid());
    std::string script = stem + ".script";
    std::string log = stem + ".log";
    std::ofstream(script) << "dump\nkey Escape\ndump\n";
    std::remove(log.c_str());
    // The child starts afresh and takes these when the desk starts.
    setenv("DESK_SCRIPT", script.c_str(), 1);
    setenv("DESK_LOG", log.c_str(), 1);
    EXPECT_EXIT(RunProgram(MainWindowImage(ProbeAndSetVersion), nullptr),
                ::testing::ExitedWithCode(0), "end routine: loop took quit 1");
    unsetenv("DESK_SCRIPT");
    unsetenv("DESK_LOG");
    std::remove(script.c_str());

    std::vector<std::string> lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 3u)
        << "show, one dump (Escape ended the program before the second), exit";
    EXPECT_EQ(lines[0],
              u8"{\"event\":\"show\",\"title\":\"Quillmarsh--怪物掉落修改\",\"class\":\"WTWindow\","
              "\"x\":791,\"y\":429,\"w\":337,\"h\":222}");
    EXPECT_NE(lines[1].find(ExpectedWindowDump()), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2], "{\"event\":\"exit\",\"code\":0}");
    std::remove(log.c_str());
}
