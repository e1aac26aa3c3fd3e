// The drop editor's main window loaded live: where it stands, its 13
// controls with their ids, classes, captions, positions and fonts, its
// number boxes, Escape, and a start window closed during its event 0. The
// routines bound to it here are test stand-ins, not the drop editor's.
#include "main_window_live.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "tests/support/user_input.h"

using namespace mainwindow;

namespace {

// Class names are not case-sensitive: the system's own answer "Edit" for
// the class a program creates as "EDIT". Compared in capitals.
std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

}  // namespace

TEST_F(MainWindowLive, LoadsCentredWithItsControlsAfterEvent0) {
    LoadMain(ProbeAndSetVersion);
    ASSERT_TRUE(g_probe.ran);
    EXPECT_FALSE(g_probe.visibleInEvent0) << "event 0 runs before the window is shown";
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_EQ(TextOf(hwnd_), "Quillmarsh--怪物掉落修改");
    EXPECT_EQ(ClassOf(hwnd_), "WTWINDOW");

    RECT window = {};
    GetWindowRect(hwnd_, &window);
    EXPECT_EQ(window.right - window.left, 337);
    EXPECT_EQ(window.bottom - window.top, 222);
    // Centred on the screen, whatever its size.
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 337) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - 222) / 2);

    HWND child = GetWindow(hwnd_, GW_CHILD);
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(child, nullptr) << "fewer controls than the template has";
        EXPECT_EQ(GetDlgCtrlID(child), c.id) << "Z order follows the unit table";
        std::string expectedClass = c.cls;
        for (char& ch : expectedClass)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(ClassOf(child), expectedClass);
        EXPECT_EQ(TextOf(child), c.text);
        EXPECT_TRUE(IsWindowVisible(child));
        EXPECT_TRUE(IsWindowEnabled(child));
        RECT rect = {};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, c.x);
        EXPECT_EQ(rect.top, c.y);
        EXPECT_EQ(rect.right - rect.left, c.w);
        EXPECT_EQ(rect.bottom - rect.top, c.h);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than the template has";
    // The first box in focus order (the kettle box, 编辑框3) has the focus.
    EXPECT_EQ(GetFocus(), GetDlgItem(hwnd_, 200));
}

TEST_F(MainWindowLive, ControlsCarryTheTemplateFonts) {
    LoadMain(ProbeAndSetVersion);
    // Boxes without a font of their own take the system's default GUI font
    // (宋体 on a Chinese Windows and on the desk).
    LOGFONTA gui = {};
    ASSERT_NE(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui), 0);
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(hwnd_, c.id);
        ASSERT_NE(control, nullptr);
        LOGFONTA font = {};
        HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
        ASSERT_EQ(GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
        if (c.weight == 0) {
            EXPECT_STREQ(font.lfFaceName, gui.lfFaceName) << "the default GUI font";
            EXPECT_EQ(font.lfHeight, gui.lfHeight);
            continue;
        }
        EXPECT_EQ(font.lfHeight, -12);
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
    userinput::Click(POINT{rect.left + 5, rect.top + 5});
    Pump();
    ASSERT_EQ(GetFocus(), meat) << "the click put the caret in the box";
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
