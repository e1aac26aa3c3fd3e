// The BUTTON control's click in all its forms, and the up-down control
// with its buddy.
#include <algorithm>

#include "tests/desk/msg_recorder.h"
#include "tests/support/system_under_test.h"
#include "tests/support/user_input.h"

using namespace desktest;

namespace {

constexpr int kId = 110;

uint32_t H(HWND hwnd) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd));
}

class ButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DestroyAll();
        parent_ = MakeTopLevel();
        button_ = MakeControl("BUTTON", parent_, kId, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                              "确认修改", 20, 20, 80, 30);
        Pump();
        ClearLog();
    }
    void TearDown() override { DestroyAll(); }
    size_t Clicks() {
        size_t n = 0;
        for (UINT code : Notifications(parent_, kId)) n += code == BN_CLICKED;
        return n;
    }
    HWND parent_ = nullptr;
    HWND button_ = nullptr;
};

TEST_F(ButtonTest, AMouseClickFocusesPressesReleasesThenNotifies) {
    userinput::Click(userinput::CentreOf(button_));
    Pump();
    if (sut::UnderWine()) {
        // Windows asks an inactive window only; the test's window is active.
        sut::NoteWineDifference("a click into the active window asks WM_MOUSEACTIVATE");
        EXPECT_EQ(Sent(button_, WM_MOUSEACTIVATE).size(), 1u);
        std::vector<Msg>& log = Log();
        log.erase(std::remove_if(log.begin(), log.end(),
                                 [](const Msg& m) { return m.message == WM_MOUSEACTIVATE; }),
                  log.end());
    }
    EXPECT_TRUE(SequenceIs(
        {{parent_, WM_PARENTNOTIFY, WM_LBUTTONDOWN},
         {button_, WM_LBUTTONDOWN},
         {parent_, WM_KILLFOCUS, H(button_)},
         {button_, WM_SETFOCUS, H(parent_)},
         {button_, BM_SETSTATE, 1},
         {button_, WM_LBUTTONUP},
         {button_, BM_SETSTATE, 0},
         {button_, WM_CAPTURECHANGED},
         {parent_, WM_COMMAND, static_cast<uint32_t>(MAKEWPARAM(kId, BN_CLICKED)), H(button_)}}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageA(button_, BM_GETSTATE, 0, 0), BST_FOCUS);
}

TEST_F(ButtonTest, ReleasingOutsideTheButtonIsNoClick) {
    POINT inside = userinput::CentreOf(button_);
    userinput::Mouse(WM_LBUTTONDOWN, inside);
    userinput::Mouse(WM_MOUSEMOVE, POINT{inside.x + 200, inside.y});
    userinput::Mouse(WM_LBUTTONUP, POINT{inside.x + 200, inside.y});
    Pump();
    EXPECT_EQ(Clicks(), 0u);
    EXPECT_EQ(GetFocus(), button_);  // the press still took the focus
    EXPECT_EQ(SendMessageA(button_, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(ButtonTest, SpaceOnTheFocusedButtonClicksIt) {
    SetFocus(button_);
    userinput::PressKey(VK_SPACE, false, false);
    Pump();
    EXPECT_EQ(Clicks(), 1u);
    userinput::PressKey(VK_RETURN, false,
                        false);  // Enter is the window's business, not the button's
    Pump();
    EXPECT_EQ(Clicks(), 1u);
}

TEST_F(ButtonTest, BmClickClicksEnabledButtonsOnly) {
    SendMessageA(button_, BM_CLICK, 0, 0);
    EXPECT_EQ(Clicks(), 1u);
    EXPECT_EQ(GetFocus(), button_);
    EnableWindow(button_, FALSE);
    SendMessageA(button_, BM_CLICK, 0, 0);
    // A disabled button sends no BN_CLICKED, its documentation says.
    const size_t clicks = sut::UnderWine() ? 2u : 1u;
    if (sut::UnderWine()) sut::NoteWineDifference("BM_CLICK clicks a disabled button");
    EXPECT_EQ(Clicks(), clicks);
    userinput::Click(userinput::CentreOf(button_));  // the mouse falls through to the parent
    Pump();
    EXPECT_EQ(Clicks(), clicks);
    EXPECT_EQ(Sent(parent_, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(ButtonTest, SetStyleMakesADefaultButtonQuietly) {
    EXPECT_EQ(SendMessageA(button_, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    SendMessageA(button_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageA(button_, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(button_, GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP),
              BS_DEFPUSHBUTTON | WS_TABSTOP);
    EXPECT_TRUE(Sent(button_, WM_STYLECHANGING).empty());
}

TEST_F(ButtonTest, FocusNotificationsNeedBsNotify) {
    SetFocus(button_);
    SetFocus(parent_);
    EXPECT_TRUE(Notifications(parent_, kId).empty());
    SetWindowLongA(button_, GWL_STYLE, GetWindowLongA(button_, GWL_STYLE) | BS_NOTIFY);
    SetFocus(button_);
    SetFocus(parent_);
    EXPECT_EQ(Notifications(parent_, kId), (std::vector<UINT>{BN_SETFOCUS, BN_KILLFOCUS}));
}

class UpDownTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DestroyAll();
        InitCommonControls();
        parent_ = MakeTopLevel();
        edit_ = MakeControl("EDIT", parent_, 100, WS_VISIBLE | ES_AUTOHSCROLL, "", 10, 10, 100, 24);
    }
    void TearDown() override { DestroyAll(); }
    HWND Make(DWORD style) {
        HWND updown =
            MakeControl(UPDOWN_CLASSA, parent_, 104, WS_VISIBLE | style, "", 200, 10, 16, 24);
        SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
        Pump();
        ClearLog();
        return updown;
    }
    void ClickArrow(HWND updown, bool up) {
        RECT r;
        GetWindowRect(updown, &r);
        userinput::Click(POINT{(r.left + r.right) / 2, up ? r.top + 2 : r.bottom - 2});
        Pump();
    }
    HWND parent_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_F(UpDownTest, AFreshControlCountsFrom100DownTo0) {
    HWND updown = Make(0);
    EXPECT_EQ(SendMessageA(updown, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
    EXPECT_EQ(SendMessageA(updown, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(edit_));
}

TEST_F(UpDownTest, TheArrowAsksTheParentWritesTheBuddyAndReportsThePosition) {
    HWND updown = Make(UDS_SETBUDDYINT);
    SendMessageA(updown, UDM_SETRANGE32, 0, 5000);
    SetWindowTextA(edit_, "999");
    ClearLog();
    ClickArrow(updown, true);
    EXPECT_EQ(TextOf(edit_), "1,000");  // thousands separators unless UDS_NOTHOUSANDS
    EXPECT_EQ(GetFocus(), edit_);
    std::vector<Msg> notes = Sent(parent_, WM_NOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    std::vector<Msg> scrolls = Sent(parent_, WM_VSCROLL);
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(scrolls[0].wParam, static_cast<WPARAM>(MAKEWPARAM(SB_THUMBPOSITION, 1000)));
    EXPECT_EQ(scrolls[1].wParam, static_cast<WPARAM>(MAKEWPARAM(SB_ENDSCROLL, 1000)));
    EXPECT_EQ(SendMessageA(updown, UDM_GETPOS32, 0, 0), 1000);
    ClickArrow(updown, false);
    EXPECT_EQ(TextOf(edit_), "999");
}

TEST_F(UpDownTest, PositionsStayInTheRangeOrWrap) {
    HWND updown = Make(UDS_SETBUDDYINT | UDS_NOTHOUSANDS);
    SendMessageA(updown, UDM_SETRANGE, 0, MAKELPARAM(3, 1));  // upper 3, lower 1
    SendMessageA(updown, UDM_SETPOS, 0, MAKELPARAM(9, 0));
    EXPECT_EQ(TextOf(edit_), "3");
    ClickArrow(updown, true);
    EXPECT_EQ(TextOf(edit_), "3");
    SetWindowLongA(updown, GWL_STYLE, GetWindowLongA(updown, GWL_STYLE) | UDS_WRAP);
    ClickArrow(updown, true);
    EXPECT_EQ(TextOf(edit_), "1");
    SetWindowTextA(edit_, "abc");
    EXPECT_NE(HIWORD(SendMessageA(updown, UDM_GETPOS, 0, 0)), 0);  // the buddy holds no number
}

TEST_F(UpDownTest, TheParentMayRefuseAStep) {
    struct Local {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS)
                return 1;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Local::Proc;
    wc.lpszClassName = "DeskTestRefuser";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "DeskTestRefuser", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND buddy = CreateWindowExA(0, "EDIT", "5", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, owner,
                                 nullptr, nullptr, nullptr);
    HWND updown =
        CreateWindowExA(0, UPDOWN_CLASSA, "",
                        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ALIGNRIGHT, 0,
                        0, 16, 20, owner, nullptr, nullptr, nullptr);
    // UDS_AUTOBUDDY took the previous window; UDS_ALIGNRIGHT put the arrows
    // inside its right end.
    EXPECT_EQ(SendMessageA(updown, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(buddy));
    RECT b;
    RECT u;
    GetWindowRect(buddy, &b);
    GetWindowRect(updown, &u);
    EXPECT_EQ(b.right - b.left, 34);
    // Next to the buddy's right edge, its documentation says.
    if (sut::UnderWine()) {
        sut::NoteWineDifference("the arrows overlap the buddy's right edge by 2 pixels");
        EXPECT_EQ(u.left, b.right - 2);
    } else {
        EXPECT_EQ(u.left, b.right);
    }
    SendMessageA(updown, UDM_SETRANGE32, 0, 10);
    userinput::Click(POINT{u.left + 8, u.top + 2});
    Pump();
    EXPECT_EQ(TextOf(buddy), "5");
}

}  // namespace
