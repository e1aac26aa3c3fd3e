// desk-only: the desk's terminal front end
// The terminal user's keys and clicks as the program's windows receive
// them: typing (ASCII as key presses, Chinese through the input method),
// the edit box's own limit and filtering, editing keys sent as the terminal
// sends them, Tab and Shift+Tab, Enter, Space and Escape, mouse clicks on a
// button, in an edit box and on the close box, and the user's turn at Idle.
#include "tests/desk/frontends/terminal/fixture.h"

using namespace desktest;

namespace {

class TerminalInput : public TerminalTest {
  protected:
    void SetUp() override {
        TerminalTest::SetUp();
        m_ = MakeMainWindow();
    }
    // The key-down and key-up messages a window received, as (message, key).
    std::vector<std::pair<UINT, WPARAM>> Keys(HWND hwnd) {
        std::vector<std::pair<UINT, WPARAM>> keys;
        for (const Msg& msg : Log()) {
            if (msg.hwnd == hwnd && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP))
                keys.emplace_back(msg.message, msg.wParam);
        }
        return keys;
    }
    DWORD CaretOf(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, end);
        return end;
    }
    MainWindow m_;
};

using KeyList = std::vector<std::pair<UINT, WPARAM>>;

// Lets through only what an input mode of digits and the minus sign
// accepts, as the program's own edit boxes do.
WNDPROC g_editProc = nullptr;
LRESULT CALLBACK DigitsOnly(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && wParam >= 0x20 && wParam != '-' && (wParam < '0' || wParam > '9'))
        return 0;
    return CallWindowProcA(g_editProc, hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(TerminalInput, TypingReachesTheFocusedEditBoxAsKeyPressesAndCharacters) {
    SendMessageA(m_.meat, EM_SETSEL, 1, 1);
    Send("7");
    TakeAll();
    EXPECT_EQ(TextOf(m_.meat), "27");
    EXPECT_EQ(Keys(m_.meat), (KeyList{{WM_KEYDOWN, '7'}, {WM_KEYUP, '7'}}));
    ASSERT_EQ(Sent(m_.meat, WM_CHAR).size(), 1u);
    EXPECT_EQ(Sent(m_.meat, WM_CHAR)[0].wParam, static_cast<WPARAM>('7'));

    // Chinese typed in UTF-8 comes as the GBK bytes of the input method.
    ClearLog();
    Send(u8"中");
    TakeAll();
    EXPECT_EQ(TextOf(m_.meat), "27中");
    EXPECT_TRUE(Keys(m_.meat).empty());
    std::vector<Msg> chars = Sent(m_.meat, WM_CHAR);
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].wParam, 0xD6u);  // 中 is D6 D0 in GBK
    EXPECT_EQ(chars[1].wParam, 0xD0u);
}

TEST_F(TerminalInput, TheEditBoxOwnLengthLimitAndFilteringApply) {
    SendMessageA(m_.meat, EM_SETSEL, 1, 1);
    Send("123456789");
    TakeAll();
    EXPECT_EQ(TextOf(m_.meat), "21234") << "the box takes at most 5 characters";

    g_editProc = reinterpret_cast<WNDPROC>(static_cast<uintptr_t>(SetWindowLongA(
        m_.item, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(DigitsOnly)))));
    SetFocus(m_.item);
    SendMessageA(m_.item, EM_SETSEL, 1, 1);
    Send("a-1b");
    TakeAll();
    EXPECT_EQ(TextOf(m_.item), "1-1");
}

TEST_F(TerminalInput, BackspaceDeleteLeftRightHomeAndEndEditAsOnADesktop) {
    SetWindowTextA(m_.meat, "12345");
    SendMessageA(m_.meat, EM_SETSEL, 5, 5);
    Send("\x7f");  // what the Backspace key sends
    TakeAll();
    EXPECT_EQ(TextOf(m_.meat), "1234");
    SendKey("khome");
    SendKey("kdch1");  // Delete
    TakeAll();
    EXPECT_EQ(TextOf(m_.meat), "234");
    EXPECT_EQ(CaretOf(m_.meat), 0u);
    SendKey("kend");
    SendKey("kcub1");  // Left
    Send("\x7f");
    TakeAll();
    EXPECT_EQ(TextOf(m_.meat), "24");
    SendKey("kcuf1");  // Right
    Send("9");
    TakeAll();
    EXPECT_EQ(TextOf(m_.meat), "249");
}

TEST_F(TerminalInput, TabAndShiftTabArriveAsTabKeyPresses) {
    Send("\t");
    SendKey("kcbt");  // Shift+Tab
    TakeAll();
    EXPECT_EQ(Keys(m_.meat), (KeyList{{WM_KEYDOWN, VK_TAB},
                                      {WM_KEYUP, VK_TAB},
                                      {WM_KEYDOWN, VK_SHIFT},
                                      {WM_KEYDOWN, VK_TAB},
                                      {WM_KEYUP, VK_TAB},
                                      {WM_KEYUP, VK_SHIFT}}));
}

TEST_F(TerminalInput, SpaceAndEnterClickTheFocusedButtonAndEscapeReachesIt) {
    SetFocus(m_.apply);
    ClearLog();
    Send(" ");
    TakeAll();
    EXPECT_EQ(Notifications(m_.main, 100), std::vector<UINT>{BN_CLICKED});
    // Enter presses the button the way Space does, as a desktop user would.
    Send("\r");
    Send("\033");
    TakeAll();
    EXPECT_EQ(Notifications(m_.main, 100), (std::vector<UINT>{BN_CLICKED, BN_CLICKED}));
    EXPECT_EQ(Keys(m_.apply), (KeyList{{WM_KEYDOWN, VK_SPACE},
                                       {WM_KEYUP, VK_SPACE},
                                       {WM_KEYDOWN, VK_SPACE},
                                       {WM_KEYUP, VK_SPACE},
                                       {WM_KEYDOWN, VK_ESCAPE},
                                       {WM_KEYUP, VK_ESCAPE}}));

    // In an edit box Enter stays Enter: the window's key handling decides.
    SetFocus(m_.meat);
    ClearLog();
    Send("\r");
    TakeAll();
    EXPECT_EQ(Keys(m_.meat), (KeyList{{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}}));
}

TEST_F(TerminalInput, AClickOnAButtonClicksItAndAClickInAnEditBoxPlacesTheCaret) {
    term_->Redraw();
    int col = 0;
    int row = 0;
    ASSERT_TRUE(Locate(u8"[ 确认修改 ]", &col, &row)) << Screen();
    SendMouse(col + 3, row, true);
    SendMouse(col + 3, row, false);
    TakeAll();
    EXPECT_EQ(Notifications(m_.main, 100), std::vector<UINT>{BN_CLICKED});
    EXPECT_EQ(Sent(m_.apply, WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Sent(m_.apply, WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(GetFocus(), m_.apply);

    // "12345" centred in the item box's eight cells: columns 27 to 31.
    SetWindowTextA(m_.item, "12345");
    term_->Redraw();
    ASSERT_TRUE(Locate("[ 12345  ]", &col, &row)) << Screen();
    SendMouse(col + 4, row, true);  // on the "3"
    SendMouse(col + 4, row, false);
    TakeAll();
    EXPECT_EQ(GetFocus(), m_.item);
    EXPECT_EQ(CaretOf(m_.item), 2u);
    SendMouse(col + 8, row, true);  // right of the text
    SendMouse(col + 8, row, false);
    TakeAll();
    EXPECT_EQ(CaretOf(m_.item), 5u);
}

TEST_F(TerminalInput, AClickOnTheCloseBoxClosesTheWindow) {
    term_->Redraw();
    int col = 0;
    int row = 0;
    ASSERT_TRUE(Locate(u8"[X]┐", &col, &row)) << Screen();
    SendMouse(col + 1, row, true);
    SendMouse(col + 1, row, false);
    TakeAll();
    EXPECT_EQ(Sent(m_.main, WM_CLOSE).size(), 1u);
    EXPECT_FALSE(IsWindow(m_.main));
}

TEST_F(TerminalInput, IdleDrawsTheWindowsTakesOneKeyAndEndsWhenNoWindowIsLeft) {
    SendMessageA(m_.meat, EM_SETSEL, 1, 1);
    Send("8");
    EXPECT_TRUE(term_->Idle());
    int col = 0;
    int row = 0;
    EXPECT_TRUE(Locate("Quillmarsh", &col, &row)) << Screen();
    Pump();
    EXPECT_EQ(TextOf(m_.meat), "28");
    EXPECT_TRUE(term_->Idle()) << "nothing typed: the program looks at its queue again";

    DestroyWindow(m_.main);
    EXPECT_FALSE(term_->Idle()) << "no window is left that the user could use";
}
