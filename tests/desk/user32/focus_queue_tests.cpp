// Focus and activation order, enabling, and the queue: posted messages,
// the quit message, user input behind posted messages, TranslateMessage and
// the key state and clicks.
#include "tests/desk/msg_recorder.h"
#include "tests/support/system_under_test.h"
#include "tests/support/user_input.h"

using namespace desktest;

namespace {

class FocusTest : public ::testing::Test {
  protected:
    void SetUp() override { DestroyAll(); }
    void TearDown() override { DestroyAll(); }
};

uint32_t H(HWND hwnd) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd));
}

HWND Child(HWND parent, int id, int x = 10) {
    return CreateWindowExA(0, TestClass(), "", WS_CHILD | WS_VISIBLE, x, 10, 50, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
}

TEST_F(FocusTest, FocusChangeTellsTheLoserThenTheWinner) {
    HWND w = MakeTopLevel();
    HWND a = Child(w, 1);
    HWND b = Child(w, 2, 70);
    EXPECT_EQ(SetFocus(a), w);
    ClearLog();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_TRUE(SequenceIs({{a, WM_KILLFOCUS, H(b)}, {b, WM_SETFOCUS, H(a)}}));
    ClearLog();
    EXPECT_EQ(SetFocus(b), b);  // no change, no messages
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(SetFocus(nullptr), b);
    EXPECT_TRUE(SequenceIs({{b, WM_KILLFOCUS, 0}}));
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(FocusTest, SwitchingWindowsDeactivatesFirstAndMovesTheFocus) {
    HWND first = MakeTopLevel("first");
    HWND control = Child(first, 1);
    HWND second = MakeTopLevel("second");
    SetFocus(control);  // activates the first window again
    ASSERT_EQ(GetActiveWindow(), first);
    ClearLog();
    EXPECT_EQ(SetActiveWindow(second), first);
    EXPECT_TRUE(SequenceIs({{first, WM_NCACTIVATE, 0},
                            {first, WM_ACTIVATE, WA_INACTIVE, H(second)},
                            {second, WM_NCACTIVATE, 1},
                            {second, WM_ACTIVATE, WA_ACTIVE, H(first)},
                            {control, WM_KILLFOCUS, H(second)},
                            {second, WM_SETFOCUS, H(control)}}));
}

TEST_F(FocusTest, FocusingAControlOfAnInactiveWindowActivatesItFirst) {
    HWND first = MakeTopLevel("first");
    HWND control = Child(first, 1);
    HWND second = MakeTopLevel("second");
    ClearLog();
    SetFocus(control);
    EXPECT_TRUE(SequenceIs({{second, WM_NCACTIVATE, 0},
                            {second, WM_ACTIVATE, WA_INACTIVE, H(first)},
                            {first, WM_NCACTIVATE, 1},
                            {first, WM_ACTIVATE, WA_ACTIVE, H(second)},
                            {second, WM_KILLFOCUS, H(first)},
                            {first, WM_SETFOCUS, H(second)},
                            {first, WM_KILLFOCUS, H(control)},
                            {control, WM_SETFOCUS, H(first)}}));
}

TEST_F(FocusTest, DisabledWindowsCannotHoldTheFocus) {
    HWND w = MakeTopLevel();
    HWND a = Child(w, 1);
    SetFocus(a);
    ClearLog();
    EXPECT_FALSE(EnableWindow(a, FALSE));  // it was enabled
    EXPECT_TRUE(SequenceIs({{a, WM_CANCELMODE}, {a, WM_KILLFOCUS, 0}, {a, WM_ENABLE, 0}}));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(a, FALSE));  // already disabled: nothing sent
    ClearLog();
    EXPECT_TRUE(EnableWindow(a, TRUE));
    EXPECT_TRUE(SequenceIs({{a, WM_ENABLE, 1}}));

    HWND inner = Child(a, 2);
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(inner), nullptr);  // a disabled parent disables its children
}

TEST_F(FocusTest, HidingOrDestroyingTheFocusedChildGivesTheFocusToItsParent) {
    HWND w = MakeTopLevel();
    HWND a = Child(w, 1);
    HWND inner = Child(a, 2);
    SetFocus(inner);
    ShowWindow(a, SW_HIDE);
    if (sut::UnderWine()) {
        sut::NoteWineDifference("undocumented: Wine leaves the focus on a hidden child");
        EXPECT_EQ(GetFocus(), inner);
    } else {
        EXPECT_EQ(GetFocus(), w);
    }
    SetFocus(inner);  // hidden windows may still take the focus
    EXPECT_EQ(GetFocus(), inner);
    DestroyWindow(a);
    if (sut::UnderWine()) {
        sut::NoteWineDifference("undocumented: Wine leaves no focus when the focused child goes");
        EXPECT_EQ(GetFocus(), nullptr);
    } else {
        EXPECT_EQ(GetFocus(), w);
    }
}

TEST_F(FocusTest, ClosingTheActiveWindowActivatesTheNextOne) {
    HWND first = MakeTopLevel("first");
    HWND second = MakeTopLevel("second");
    ClearLog();
    DestroyWindow(second);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);
    ASSERT_FALSE(Sent(first, WM_ACTIVATE).empty());
    EXPECT_EQ(Sent(first, WM_ACTIVATE)[0].wParam, static_cast<WPARAM>(WA_ACTIVE));
    EXPECT_TRUE(Sent(first, WM_ACTIVATEAPP).empty());  // the program stayed active
    ClearLog();
    DestroyWindow(first);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    ASSERT_EQ(Sent(first, WM_ACTIVATEAPP).size(), 1u);
    EXPECT_EQ(Sent(first, WM_ACTIVATEAPP)[0].wParam, static_cast<WPARAM>(FALSE));
}

class QueueTest : public FocusTest {};

TEST_F(QueueTest, QuitComesAfterEveryPostedMessage) {
    HWND w = MakeTopLevel();
    Pump();
    PostMessageA(w, WM_USER + 1, 0, 0);
    PostQuitMessage(5);
    PostMessageA(w, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0) ==
                FALSE);  // GetMessage says FALSE for the quit message
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, TypedKeysWaitBehindPostedMessagesAndCharsComeBeforeKeyUp) {
    HWND w = MakeTopLevel();
    Pump();
    userinput::PressKey('A', false, false);
    PostMessageA(w, WM_USER + 1, 0, 0);
    ClearLog();
    Pump();
    EXPECT_TRUE(SequenceIs(
        {{w, WM_USER + 1}, {w, WM_KEYDOWN, 'A'}, {w, WM_CHAR, 'a'}, {w, WM_KEYUP, 'A'}}));
    // Repeat count 1 and transition bits, as Windows packs them.
    EXPECT_EQ(Log()[1].lParam & 0xC000FFFF, 1);
    EXPECT_EQ(static_cast<DWORD>(Log()[3].lParam) & 0xC000FFFFu, 0xC0000001u);
}

TEST_F(QueueTest, KeyStateFollowsTheMessagesTaken) {
    HWND w = MakeTopLevel();
    Pump();
    userinput::PressKey(VK_TAB, true, false);  // Shift+Tab
    MSG msg;
    bool sawTab = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
            sawTab = true;
            EXPECT_LT(GetKeyState(VK_SHIFT), 0);  // as a pre-translation sees it
            EXPECT_EQ(msg.hwnd, w);
            continue;  // eaten before TranslateMessage: no WM_CHAR
        }
        EXPECT_NE(msg.message, static_cast<UINT>(WM_CHAR));
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EXPECT_TRUE(sawTab);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);

    // Shift makes capitals and symbols; text outside the keyboard comes from
    // the input method as lead and trail bytes.
    ClearLog();
    userinput::TypeText("A!中");
    Pump();
    std::string chars;
    for (const Msg& m : Sent(w, WM_CHAR)) chars.push_back(static_cast<char>(m.wParam));
    EXPECT_EQ(chars, std::string("A!中"));
}

TEST_F(QueueTest, KeysWithoutAFocusWindowAreSystemKeysOfTheActiveWindow) {
    HWND w = MakeTopLevel();
    Pump();
    SetFocus(nullptr);
    ClearLog();
    userinput::PressKey('X', false, false);
    Pump();
    EXPECT_TRUE(SequenceIs(
        {{w, WM_SYSKEYDOWN, 'X'}, {w, 0x0106 /* WM_SYSCHAR */, 'x'}, {w, WM_SYSKEYUP, 'X'}}));
}

TEST_F(QueueTest, AClickIntoAnInactiveWindowActivatesItBeforeTheButtonMessage) {
    HWND first = MakeTopLevel("first");
    HWND control = Child(first, 1);
    HWND second = CreateWindowExA(0, TestClass(), "second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600,
                                  100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    Pump();
    ASSERT_EQ(GetActiveWindow(), second);
    ClearLog();
    POINT at = userinput::CentreOf(control);
    userinput::Mouse(WM_LBUTTONDOWN, at);
    userinput::Mouse(WM_LBUTTONUP, at);
    Pump();
    EXPECT_TRUE(SequenceIs(
        {{first, WM_PARENTNOTIFY, WM_LBUTTONDOWN, static_cast<uint32_t>(MAKELPARAM(35, 20))},
         {control, WM_MOUSEACTIVATE, H(first)},
         {first, WM_MOUSEACTIVATE, H(first)},
         {second, WM_NCACTIVATE, 0},
         {second, WM_ACTIVATE, WA_INACTIVE, H(first)},
         {first, WM_NCACTIVATE, 1},
         {first, WM_ACTIVATE, WA_CLICKACTIVE, H(second)},
         {second, WM_KILLFOCUS, H(first)},
         {first, WM_SETFOCUS, H(second)},
         {control, WM_LBUTTONDOWN, MK_LBUTTON, static_cast<uint32_t>(MAKELPARAM(25, 10))},
         {control, WM_LBUTTONUP, 0, static_cast<uint32_t>(MAKELPARAM(25, 10))}}));
}

TEST_F(QueueTest, ClicksOnDisabledChildrenFallToTheParent) {
    HWND w = MakeTopLevel();
    HWND control = Child(w, 1);
    EnableWindow(control, FALSE);
    Pump();
    ClearLog();
    userinput::Click(userinput::CentreOf(control));
    Pump();
    EXPECT_TRUE(Sent(control, WM_LBUTTONDOWN).empty());
    EXPECT_EQ(Sent(w, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(QueueTest, ACloseRequestTheWindowRefusesLeavesItOpen) {
    struct Local {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_CLOSE) return 0;  // refuses, as a close query can
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Local::Proc;
    wc.lpszClassName = "DeskTestStubborn";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "DeskTestStubborn", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(w));
    DestroyWindow(w);
}

}  // namespace

namespace {

class MenuTest : public FocusTest {};

TEST_F(MenuTest, AMenuBarTakesRoomFromTheClientArea) {
    HWND w = MakeTopLevel();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "打开");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "文件");
    ClearLog();
    EXPECT_TRUE(SetMenu(w, bar));
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.bottom, 173 - GetSystemMetrics(SM_CYMENU));
    ASSERT_EQ(Sent(w, WM_SIZE).size(), 1u);
    EXPECT_EQ(CheckMenuItem(bar, 1, MF_CHECKED),
              static_cast<DWORD>(MF_UNCHECKED));  // found in the submenu
    EXPECT_EQ(CheckMenuItem(bar, 2, MF_CHECKED), static_cast<DWORD>(-1));
}

TEST_F(MenuTest, AcceleratorsTurnKeysIntoCommands) {
    HWND w = MakeTopLevel();
    ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'S', 500}};
    HACCEL table = CreateAcceleratorTableA(entries, 1);
    Pump();
    userinput::PressKey('S', false, true);
    userinput::PressKey('S', false, false);
    ClearLog();
    MSG msg;
    int translated = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (TranslateAcceleratorA(w, table, &msg)) {
            ++translated;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(translated, 1);  // Ctrl+S only, not S alone
    std::vector<Msg> commands = Sent(w, WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(MAKEWPARAM(500, 1)));
    EXPECT_TRUE(DestroyAcceleratorTable(table));
}

}  // namespace
