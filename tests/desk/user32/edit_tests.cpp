// The EDIT control: typing through the queue, selection, the length limit,
// deletion, input styles, double-byte text and the notifications its
// parent receives.
#include "tests/desk/msg_recorder.h"
#include "tests/support/system_under_test.h"
#include "tests/support/user_input.h"

using namespace desktest;

namespace {

constexpr int kId = 100;

class EditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DestroyAll();
        parent_ = MakeTopLevel();
    }
    void TearDown() override { DestroyAll(); }

    // An edit control with the default GUI font (6 pixels a single-byte
    // character), focused, with an empty log.
    HWND Make(DWORD style = ES_AUTOHSCROLL, const char* text = "", int width = 100) {
        HWND edit = MakeControl("EDIT", parent_, kId, WS_VISIBLE | style, text, 10, 10, width, 24);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
        SetFocus(edit);
        Pump();
        ClearLog();
        return edit;
    }

    void Type(const std::string& gbk) {
        userinput::TypeText(gbk);
        Pump();
    }
    void Press(BYTE vk, bool shift = false, bool ctrl = false) {
        userinput::PressKey(vk, shift, ctrl);
        Pump();
    }
    std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    std::vector<UINT> Codes() { return Notifications(parent_, kId); }

    HWND parent_ = nullptr;
};

uint32_t Cmd(UINT code) {
    return static_cast<uint32_t>(MAKEWPARAM(kId, code));
}

TEST_F(EditTest, ATypedCharacterNotifiesUpdateThenChangeBeforeTheKeyComesUp) {
    HWND edit = Make();
    Type("7");
    EXPECT_TRUE(SequenceIs({{edit, WM_KEYDOWN, '7'},
                            {edit, WM_CHAR, '7'},
                            {parent_, WM_COMMAND, Cmd(EN_UPDATE),
                             static_cast<uint32_t>(reinterpret_cast<uintptr_t>(edit))},
                            {parent_, WM_COMMAND, Cmd(EN_CHANGE),
                             static_cast<uint32_t>(reinterpret_cast<uintptr_t>(edit))},
                            {edit, WM_KEYUP, '7'}}));
    EXPECT_EQ(TextOf(edit), "7");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{1}, DWORD{1}));
    EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(EditTest, CreationTextSetsNothingOffAndLeavesTheCaretAtTheStart) {
    HWND edit = Make(ES_AUTOHSCROLL, "abc");
    EXPECT_EQ(TextOf(edit), "abc");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
}

TEST_F(EditTest, TheLimitStopsTypingButNotSetText) {
    HWND edit = Make();
    SendMessageA(edit, EM_LIMITTEXT, 3, 0);
    Type("12345");
    EXPECT_EQ(TextOf(edit), "123");
    EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_UPDATE,
                                          EN_CHANGE, EN_MAXTEXT, EN_MAXTEXT}));
    // A selection makes room: typing over it replaces it.
    SendMessageA(edit, EM_SETSEL, 0, 1);
    Type("9");
    EXPECT_EQ(TextOf(edit), "923");
    SetWindowTextA(edit, "longer than three");
    EXPECT_EQ(TextOf(edit), "longer than three");
    SendMessageA(edit, EM_SETSEL, 100, 100);
    ClearLog();
    Type("x");
    EXPECT_EQ(TextOf(edit), "longer than three");
    EXPECT_EQ(Codes(), (std::vector<UINT>{EN_MAXTEXT}));
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, TheLimitCountsBytesAndNeverSplitsACharacter) {
    HWND edit = Make();
    SendMessageA(edit, EM_LIMITTEXT, 3, 0);
    Type("中文");
    EXPECT_EQ(TextOf(edit), "中");
    Type("a");
    EXPECT_EQ(TextOf(edit), "中a");
}

TEST_F(EditTest, ReplaceSelIsLimitedAndCutAtACharacterBoundary) {
    HWND edit = Make(ES_AUTOHSCROLL, "ab");
    SendMessageA(edit, EM_LIMITTEXT, 5, 0);
    SendMessageA(edit, EM_SETSEL, 2, 2);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("c中文"));
    EXPECT_EQ(TextOf(edit), "abc中");
    EXPECT_EQ(Codes(), (std::vector<UINT>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{5}, DWORD{5}));
}

TEST_F(EditTest, SetTextNotifiesOnceForSingleLineAndNotForMultiLine) {
    HWND edit = Make();
    SetWindowTextA(edit, "5");
    EXPECT_EQ(Codes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
    EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
    DestroyWindow(edit);
    HWND multi = Make(ES_MULTILINE);
    SetWindowTextA(multi, "5");
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(TextOf(multi), "5");
}

TEST_F(EditTest, SelectionConventions) {
    HWND edit = Make(ES_AUTOHSCROLL, "hello");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{5}));
    EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELONG(0, 5));
    SendMessageA(edit, EM_SETSEL, 2, 99);  // clamped to the text
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{5}));
    // The caret is at the second position even when it is the lower one:
    // Shift+Right moves that end.
    SendMessageA(edit, EM_SETSEL, 5, 2);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{5}));
    Press(VK_RIGHT, true);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{5}));
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // drops the selection at the caret
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{3}));
    // Typing replaces the selection.
    SendMessageA(edit, EM_SETSEL, 1, 3);
    Type("X");
    EXPECT_EQ(TextOf(edit), "hXlo");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
}

TEST_F(EditTest, CaretStepsOverDoubleByteCharactersWhole) {
    if (sut::AnsiCodePage() != 936) GTEST_SKIP() << "double-byte text needs code page 936";
    HWND edit = Make(ES_AUTOHSCROLL, "a中b");
    SendMessageA(edit, EM_SETSEL, 2, 2);  // inside 中: taken to one of its ends
    std::pair<DWORD, DWORD> inside = Selection(edit);
    EXPECT_TRUE(inside.first == inside.second && (inside.first == 1 || inside.first == 3))
        << inside.first << ", " << inside.second;
    SendMessageA(edit, EM_SETSEL, 1, 1);
    Press(VK_RIGHT);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{3}));
    Press(VK_END);
    Press(VK_LEFT);
    Press(VK_LEFT);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{1}, DWORD{1}));
    Press(VK_END);
    Press(VK_BACK);
    Press(VK_BACK);
    EXPECT_EQ(TextOf(edit), "a");
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(TextOf(edit), "");
    ClearLog();
    Press(VK_BACK);  // nothing to delete: no change reported
    Press(VK_DELETE);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(EditTest, ShiftHomeSelectsAndLeftCollapsesTheSelection) {
    HWND edit = Make(ES_AUTOHSCROLL, "abc");
    Press(VK_END);
    Press(VK_HOME, true);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{3}));
    Press(VK_RIGHT);
    std::pair<DWORD, DWORD> after = Selection(edit);
    EXPECT_EQ(after.first, after.second) << "an arrow key ends the selection";
    Press(VK_END);
    Press(VK_HOME, true, true);
    Press(VK_DELETE);
    EXPECT_EQ(TextOf(edit), "");
}

TEST_F(EditTest, NumberStyleRefusesOtherCharactersFromTheKeyboardOnly) {
    HWND edit = Make(ES_AUTOHSCROLL | ES_NUMBER);
    Type("1a-2中");
    EXPECT_EQ(TextOf(edit), "12");
    EXPECT_EQ(Codes().size(), 4u);  // two changes, each EN_UPDATE + EN_CHANGE
    SetWindowTextA(edit, "abc");
    EXPECT_EQ(TextOf(edit), "abc");
}

TEST_F(EditTest, ReadOnlyRefusesTypingAndPaintsInStaticColours) {
    HWND edit = Make(ES_AUTOHSCROLL | ES_READONLY, "keep");
    Press(VK_END);
    Type("x");
    Press(VK_BACK);
    EXPECT_EQ(TextOf(edit), "keep");
    EXPECT_TRUE(Codes().empty());
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("!"));  // programs still may
    EXPECT_EQ(TextOf(edit), "keep!");

    g_recordEverything = true;
    ClearLog();
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    EXPECT_EQ(Sent(parent_, WM_CTLCOLORSTATIC).size(), 1u);
    EXPECT_TRUE(Sent(parent_, WM_CTLCOLOREDIT).empty());
    SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
    ClearLog();
    UpdateWindow(edit);
    EXPECT_EQ(Sent(parent_, WM_CTLCOLOREDIT).size(), 1u);
    g_recordEverything = false;
}

TEST_F(EditTest, MultiLineTakesEnterSingleLineDoesNot) {
    HWND single = Make();
    Type("a\rb");
    EXPECT_EQ(TextOf(single), "ab");
    DestroyWindow(single);
    HWND multi = Make(ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL);
    Type("a\rb");
    EXPECT_EQ(TextOf(multi), "a\r\nb");
    EXPECT_EQ(SendMessageA(multi, EM_GETLINECOUNT, 0, 0), 2);
    Press(VK_LEFT);
    Press(VK_LEFT);  // over "\r\n" in one step
    EXPECT_EQ(Selection(multi), std::make_pair(DWORD{1}, DWORD{1}));
    Press(VK_DOWN);
    EXPECT_EQ(Selection(multi), std::make_pair(DWORD{4}, DWORD{4}));
    EXPECT_EQ(SendMessageA(multi, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
}

TEST_F(EditTest, CaseStylesConvertWhatIsTypedButNotDoubleByteText) {
    HWND edit = Make(ES_AUTOHSCROLL | ES_UPPERCASE);
    Type("ab中C");
    EXPECT_EQ(TextOf(edit), "AB中C");
}

TEST_F(EditTest, WithoutAutoScrollTheTextMustFitTheControl) {
    HWND edit = Make(0, "", 30);
    Type("abcdef");
    const std::string kept = TextOf(edit);
#ifndef _WIN32
    // 30 pixels less two 1-pixel margins hold four of the desk's 6-pixel
    // characters.
    EXPECT_EQ(kept, "abcd");
#endif
    EXPECT_LT(kept.size(), 6u);
    EXPECT_EQ(kept.substr(0, 1), "a");
    RECT client;
    GetClientRect(edit, &client);
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, kept.c_str(), static_cast<int>(kept.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    EXPECT_LE(size.cx, client.right) << "what the box kept fits it";
    DestroyWindow(edit);
    HWND scrolling = Make(ES_AUTOHSCROLL, "", 30);
    Type("abcdef");
    EXPECT_EQ(TextOf(scrolling), "abcdef");
}

TEST_F(EditTest, FocusNotificationsFollowTheFocusMessages) {
    HWND edit = Make();
    SetFocus(parent_);
    SetFocus(edit);
    EXPECT_TRUE(SequenceIs(
        {{edit, WM_KILLFOCUS, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(parent_))},
         {parent_, WM_COMMAND, Cmd(EN_KILLFOCUS)},
         {parent_, WM_SETFOCUS},
         {parent_, WM_KILLFOCUS},
         {edit, WM_SETFOCUS},
         {parent_, WM_COMMAND, Cmd(EN_SETFOCUS)}}));
}

TEST_F(EditTest, AClickPutsTheCaretAtTheNearestCharacter) {
    HWND edit = Make(ES_AUTOHSCROLL, "abcdef");
    SetFocus(parent_);
    RECT r;
    GetWindowRect(edit, &r);
    // Margin 1, then 6 pixels a character: x = 14 is nearest to position 2.
    userinput::Click(POINT{r.left + 14, r.top + 5});
    Pump();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
