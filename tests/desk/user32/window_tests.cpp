// Window creation, showing, placement, relations and destruction: the
// messages each step sends and the geometry the desk reports.
#include <algorithm>

#include "tests/desk/msg_recorder.h"
#include "tests/support/system_under_test.h"

using namespace desktest;

namespace {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { DestroyAll(); }
    void TearDown() override { DestroyAll(); }
};

// Whether `upper` lies above `lower` in the Z order of their siblings.
bool Above(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == lower) return true;
    }
    return false;
}

HWND TestChild(HWND parent, int id, DWORD style = 0, int x = 10, int y = 10) {
    return CreateWindowExA(0, TestClass(), "", WS_CHILD | style, x, y, 100, 24, parent,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
}

void KeepOnly(std::initializer_list<UINT> messages) {
    auto& log = Log();
    log.erase(std::remove_if(log.begin(), log.end(),
                             [&](const Msg& m) {
                                 return std::find(messages.begin(), messages.end(), m.message) ==
                                        messages.end();
                             }),
              log.end());
}

TEST_F(WindowTest, HiddenOverlappedWindowHearsOnlyCreationUntilShown) {
    HWND w = MakeTopLevel("test", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(SequenceIs({{w, WM_NCCREATE}, {w, WM_CREATE}}));
    EXPECT_EQ(TextOf(w), "test");
}

TEST_F(WindowTest, FirstShowActivatesFocusesAndThenSendsSizeAndMove) {
    HWND w = MakeTopLevel("test", WS_OVERLAPPEDWINDOW);
    ClearLog();
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    // 300 x 200 with a 4-pixel sizing frame and a 19-pixel caption.
    EXPECT_TRUE(
        SequenceIs({{w, WM_SHOWWINDOW, 1, 0},
                    {w, WM_WINDOWPOSCHANGING},
                    {w, WM_ACTIVATEAPP, 1},
                    {w, WM_NCACTIVATE, 1},
                    {w, WM_ACTIVATE, WA_ACTIVE, 0},
                    {w, WM_SETFOCUS, 0},
                    {w, WM_WINDOWPOSCHANGED},
                    {w, WM_SIZE, SIZE_RESTORED, static_cast<uint32_t>(MAKELPARAM(292, 173))},
                    {w, WM_MOVE, 0, static_cast<uint32_t>(MAKELPARAM(104, 123))}}));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w);
    ClearLog();
    EXPECT_TRUE(
        ShowWindow(w, SW_SHOW));  // already visible: no WM_SHOWWINDOW, no second size report
    EXPECT_TRUE(Sent(w, WM_SHOWWINDOW).empty());
    EXPECT_TRUE(Sent(w, WM_SIZE).empty());
}

TEST_F(WindowTest, ChildLearnsItsSizeAtCreationAndParentIsNotified) {
    HWND parent = MakeTopLevel();
    ClearLog();
    HWND child = TestChild(parent, 7, WS_VISIBLE);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(
        SequenceIs({{child, WM_NCCREATE},
                    {child, WM_CREATE},
                    {child, WM_SIZE, SIZE_RESTORED, static_cast<uint32_t>(MAKELPARAM(100, 24))},
                    {child, WM_MOVE, 0, static_cast<uint32_t>(MAKELPARAM(10, 10))},
                    {parent, WM_PARENTNOTIFY, static_cast<uint32_t>(MAKEWPARAM(WM_CREATE, 7)),
                     static_cast<uint32_t>(reinterpret_cast<uintptr_t>(child))},
                    {child, WM_SHOWWINDOW, 1, 0},
                    {child, WM_WINDOWPOSCHANGING},
                    {child, WM_WINDOWPOSCHANGED}}));
    EXPECT_EQ(GetActiveWindow(), parent);  // showing a child activates nothing
}

TEST_F(WindowTest, DestroyGoesTopDownThenNcDestroyBottomUp) {
    HWND parent = MakeTopLevel();
    HWND first = TestChild(parent, 1, WS_VISIBLE);
    HWND grandchild = TestChild(first, 2, WS_VISIBLE);
    HWND second = TestChild(parent, 3, WS_VISIBLE);
    ClearLog();
    EXPECT_TRUE(DestroyWindow(parent));
    KeepOnly({WM_DESTROY, WM_NCDESTROY});
    EXPECT_TRUE(SequenceIs({{parent, WM_DESTROY},
                            {first, WM_DESTROY},
                            {grandchild, WM_DESTROY},
                            {second, WM_DESTROY},
                            {grandchild, WM_NCDESTROY},
                            {first, WM_NCDESTROY},
                            {second, WM_NCDESTROY},
                            {parent, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, DestroyingAChildTellsTheParentFirstAndHidesIt) {
    HWND parent = MakeTopLevel();
    HWND child = TestChild(parent, 5, WS_VISIBLE);
    ClearLog();
    DestroyWindow(child);
    EXPECT_TRUE(
        SequenceIs({{parent, WM_PARENTNOTIFY, static_cast<uint32_t>(MAKEWPARAM(WM_DESTROY, 5))},
                    {child, WM_SHOWWINDOW, 0, 0},
                    {child, WM_WINDOWPOSCHANGING},
                    {child, WM_WINDOWPOSCHANGED},
                    {child, WM_DESTROY},
                    {child, WM_NCDESTROY}}));
    EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
}

TEST_F(WindowTest, DestroyingTheOwnerTakesOwnedWindowsFirst) {
    HWND owner = MakeTopLevel("owner");
    HWND owned = CreateWindowExA(0, TestClass(), "owned", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 owner, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner);  // a pop-up's parent is its owner
    ClearLog();
    DestroyWindow(owner);
    KeepOnly({WM_DESTROY});
    EXPECT_TRUE(SequenceIs({{owned, WM_DESTROY}, {owner, WM_DESTROY}}));
}

TEST_F(WindowTest, MovingAndSizingSendTheMessagesOfWhatChanged) {
    HWND parent = MakeTopLevel();
    HWND child = TestChild(parent, 1, WS_VISIBLE);
    ClearLog();
    MoveWindow(child, 20, 30, 50, 40, TRUE);
    EXPECT_TRUE(
        SequenceIs({{child, WM_WINDOWPOSCHANGING},
                    {child, WM_WINDOWPOSCHANGED},
                    {child, WM_MOVE, 0, static_cast<uint32_t>(MAKELPARAM(20, 30))},
                    {child, WM_SIZE, SIZE_RESTORED, static_cast<uint32_t>(MAKELPARAM(50, 40))}}));
    ClearLog();
    SetWindowPos(child, nullptr, 25, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(SequenceIs({{child, WM_WINDOWPOSCHANGING},
                            {child, WM_WINDOWPOSCHANGED},
                            {child, WM_MOVE, 0, static_cast<uint32_t>(MAKELPARAM(25, 30))}}));
    ClearLog();
    SetWindowPos(child, nullptr, 25, 30, 50, 40, SWP_NOZORDER);
    EXPECT_TRUE(SequenceIs({{child, WM_WINDOWPOSCHANGING}})) << "nothing changed, nothing done";
}

TEST_F(WindowTest, PositionChangesCanBeAlteredInWindowPosChanging) {
    struct Local {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->cx = 77;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Local::Proc;
    wc.lpszClassName = "DeskTestClamp";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "DeskTestClamp", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    MoveWindow(w, 5, 5, 300, 30, TRUE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 77);
    DestroyWindow(w);
}

TEST_F(WindowTest, FrameMetricsAgreeAcrossAdjustClientAndScreen) {
    HWND w = MakeTopLevel();
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 300 - 2 * GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(client.bottom,
              200 - 2 * GetSystemMetrics(SM_CYFRAME) - GetSystemMetrics(SM_CYCAPTION));
    RECT outer = client;
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(outer.right - outer.left, 300);
    EXPECT_EQ(outer.bottom - outer.top, 200);
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, 100 + 4);
    EXPECT_EQ(origin.y, 100 + 4 + 19);

    // A fixed-frame dialog style, and a tool window's small caption.
    RECT dialog = {0, 0, 100, 50};
    AdjustWindowRectEx(&dialog, WS_CAPTION | WS_SYSMENU, FALSE, 0);
    EXPECT_EQ(dialog.left, -3);
    EXPECT_EQ(dialog.top, -3 - 19);
    RECT tool = {0, 0, 100, 50};
    AdjustWindowRectEx(&tool, WS_CAPTION, FALSE, WS_EX_TOOLWINDOW);
    EXPECT_EQ(tool.top, -3 - GetSystemMetrics(SM_CYSMCAPTION));

    // A control with a sunken edge, in its parent's client coordinates.
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, TestClass(), "", WS_CHILD | WS_VISIBLE, 10, 20,
                                100, 24, w, nullptr, nullptr, nullptr);
    RECT screen;
    GetWindowRect(edit, &screen);
    EXPECT_EQ(screen.left, 104 + 10);
    EXPECT_EQ(screen.top, 123 + 20);
    GetClientRect(edit, &client);
    EXPECT_EQ(client.right, 100 - 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(client.bottom, 24 - 2 * GetSystemMetrics(SM_CYEDGE));
    POINT p = {0, 0};
    MapWindowPoints(edit, w, &p, 1);
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 22);
    EXPECT_EQ(WindowFromPoint(POINT{screen.left + 5, screen.top + 5}), edit);
    // On the frame, which is part of the window.
    if (sut::UnderWine()) {
        sut::NoteWineDifference("with no window manager, the frame's outer pixels are the desktop's");
        EXPECT_EQ(WindowFromPoint(POINT{105, 101}), GetDesktopWindow());
    } else {
        EXPECT_EQ(WindowFromPoint(POINT{105, 101}), w);
    }
}

TEST_F(WindowTest, TheWorkAreaLiesOnTheScreen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
#ifndef _WIN32
    // The desk's screen is what its runner set: DESK_SCREEN=1920x1080.
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);
#endif
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_GE(work.left, 0);
    EXPECT_GE(work.top, 0);
    EXPECT_LE(work.right, width);
    EXPECT_LE(work.bottom, height);
    EXPECT_GT(work.right - work.left, width / 2);
    EXPECT_GT(work.bottom - work.top, height / 2);
}

TEST_F(WindowTest, OverlappedWindowsAlwaysHaveATitleBar) {
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, TestClass(), "", 0, 0, 0, 0, 0, nullptr, nullptr,
                             nullptr, nullptr);
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION, static_cast<LONG>(WS_CAPTION));
    HWND popup = CreateWindowExA(0, TestClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_EQ(GetWindowLongA(popup, GWL_STYLE) & WS_CAPTION, 0);
}

TEST_F(WindowTest, ZOrderAndRelations) {
    HWND parent = MakeTopLevel();
    HWND a = TestChild(parent, 1);
    HWND b = TestChild(parent, 2);
    HWND c = TestChild(parent, 3);
    HWND inner = TestChild(b, 4);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), a);  // new children go to the bottom
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), c);
    SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
    EXPECT_EQ(GetParent(inner), b);
    EXPECT_EQ(GetAncestor(inner, GA_ROOT), parent);
    EXPECT_TRUE(IsChild(parent, inner));
    EXPECT_FALSE(IsChild(a, inner));
    EXPECT_EQ(GetDlgItem(parent, 2), b);
    EXPECT_EQ(GetDlgItem(parent, 4), nullptr);  // only direct children
    EXPECT_EQ(GetDlgCtrlID(inner), 4);

    std::vector<HWND> seen;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{a, c, b, inner}));

    // SetParent keeps the coordinates, now in the new parent.
    HWND other = MakeTopLevel("other");
    EXPECT_EQ(SetParent(a, other), parent);
    EXPECT_EQ(GetParent(a), other);
    RECT r;
    GetWindowRect(a, &r);
    POINT origin = {0, 0};
    ClientToScreen(other, &origin);
    EXPECT_EQ(r.left, origin.x + 10);
}

TEST_F(WindowTest, ActivationBringsATopLevelWindowToTheTop) {
    // Other programs' windows share the screen: only the order of this
    // test's windows is checked.
    HWND first = MakeTopLevel("first");
    HWND second = MakeTopLevel("second");
    EXPECT_TRUE(Above(second, first));
    SetActiveWindow(first);
    if (sut::UnderWine()) {
        sut::NoteWineDifference("a window activated while its program is in the background is not raised");
        EXPECT_TRUE(Above(second, first));
    } else {
        EXPECT_TRUE(Above(first, second));
    }
    HWND topmost = CreateWindowExA(WS_EX_TOPMOST, TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 5,
                                   5, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(second);
    EXPECT_TRUE(Above(topmost, second));  // topmost windows stay above
    EXPECT_TRUE(Above(second, first));
}

TEST_F(WindowTest, WindowLongsSubclassingAndProperties) {
    HWND w = MakeTopLevel();
    ClearLog();
    LONG old = SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) | WS_DISABLED);
    EXPECT_EQ(old & WS_DISABLED, 0);
    EXPECT_TRUE(SequenceIs({{w, WM_STYLECHANGING, static_cast<uint32_t>(GWL_STYLE)},
                            {w, WM_STYLECHANGED, static_cast<uint32_t>(GWL_STYLE)}}));
    EXPECT_FALSE(IsWindowEnabled(w));

    EXPECT_EQ(SetWindowLongA(w, GWL_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongA(w, GWL_USERDATA), 1234);

    struct Local {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_USER + 3) return 42;
            return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(hwnd, "old")), hwnd, message,
                                   wParam, lParam);
        }
    };
    LONG previous =
        SetWindowLongA(w, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(Local::Proc)));
    EXPECT_TRUE(SetPropA(w, "OLD", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(previous))));
    EXPECT_EQ(SendMessageA(w, WM_USER + 3, 0, 0), 42);
    ClearLog();
    SendMessageA(w, WM_USER + 2, 0, 0);  // passed on to the original procedure
    EXPECT_TRUE(SequenceIs({{w, WM_USER + 2}}));
    EXPECT_NE(RemovePropA(w, "old"), nullptr);  // atom names ignore case
    EXPECT_EQ(GetPropA(w, "old"), nullptr);
    SetWindowLongA(w, GWL_WNDPROC, previous);
}

TEST_F(WindowTest, WindowTextIsCutToTheBuffer) {
    HWND w = MakeTopLevel();
    EXPECT_TRUE(SetWindowTextA(w, "窗口标题"));
    EXPECT_EQ(GetWindowTextLengthA(w), 8);
    char small[5];
    EXPECT_EQ(GetWindowTextA(w, small, sizeof small), 4);
    EXPECT_EQ(std::string(small), std::string("窗口"));
}

TEST_F(WindowTest, ShownWindowsArePaintedThroughTheQueue) {
    g_recordEverything = true;
    HWND w = MakeTopLevel();
    Pump();
    EXPECT_EQ(Sent(w, WM_PAINT).size(), 1u);
    // Erased once: Windows does it while showing, the desk in BeginPaint.
    EXPECT_EQ(Sent(w, WM_ERASEBKGND).size(), 1u);
    ClearLog();
    Pump();
    EXPECT_TRUE(Sent(w, WM_PAINT).empty());  // painted windows are not painted again
    InvalidateRect(w, nullptr, FALSE);
    Pump();
    EXPECT_EQ(Sent(w, WM_PAINT).size(), 1u);
    EXPECT_TRUE(Sent(w, WM_ERASEBKGND).empty());
    g_recordEverything = false;
}

TEST_F(WindowTest, MinimiseAndRestoreKeepTheNormalRectangle) {
    HWND w = MakeTopLevel();
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_LT(r.left, 0);
    ClearLog();
    ShowWindow(w, SW_RESTORE);
    EXPECT_FALSE(IsIconic(w));
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right - r.left, 300);
    ASSERT_FALSE(Sent(w, WM_SIZE).empty());
    EXPECT_EQ(Sent(w, WM_SIZE).back().wParam, static_cast<WPARAM>(SIZE_RESTORED));
}

}  // namespace
