// desk-only: the desk's terminal front end
// Message boxes on the terminal: drawn over the window with title, icon
// word, text and buttons; answered by keys (the default button, arrows,
// letters, Escape where the box can be cancelled) and by clicks; long
// texts broken to fit the terminal.
#include <algorithm>

#include "platform/desk/frontends/terminal/msgbox.h"
#include "tests/desk/frontends/terminal/fixture.h"

using namespace desktest;

namespace {

class TerminalMessageBox : public TerminalTest {
  protected:
    int Answer(UINT type, int fallback, const std::string& keys) {
        Send(keys);
        return term_->AnswerMessageBox("正文", "标题", type, fallback);
    }
};

}  // namespace

TEST_F(TerminalMessageBox, TheBoxShowsTitleIconWordTextAndButtonsOverTheWindow) {
    MakeMainWindow();
    Send("\r");
    EXPECT_EQ(term_->AnswerMessageBox("修改成功", "恭喜", MB_OK | MB_ICONINFORMATION, IDOK), IDOK);
    // The screen still shows the box as it was answered.
    int col = 0;
    int row = 0;
    ASSERT_TRUE(Locate(u8"┌ 恭喜 ─", &col, &row)) << Screen();
    int textCol = 0;
    int textRow = 0;
    ASSERT_TRUE(Locate(u8"[信息] 修改成功", &textCol, &textRow)) << Screen();
    EXPECT_EQ(textCol, col + 2);
    EXPECT_EQ(textRow, row + 2);
    int buttonCol = 0;
    int buttonRow = 0;
    ASSERT_TRUE(Locate(u8"[>确定<]", &buttonCol, &buttonRow)) << Screen();
    EXPECT_EQ(buttonRow, textRow + 2);
    EXPECT_TRUE(Locate(u8"您当前使用的游戏版本为：", &col, &row)) << "the window stays in sight";

    Send("\r");
    term_->AnswerMessageBox("错误信息", "ERROR", MB_OKCANCEL | MB_ICONERROR, IDOK);
    EXPECT_TRUE(Locate(u8"[错误] 错误信息", &col, &row)) << Screen();
    EXPECT_TRUE(Locate(u8"[>确定<]  [ 取消 ]", &col, &row)) << Screen();
}

TEST_F(TerminalMessageBox, KeysChooseTheButtonAsOnWin32) {
    EXPECT_EQ(Answer(MB_YESNOCANCEL, IDNO, "\r"), IDNO) << "Enter presses the default button";
    SendKey("kcuf1");
    EXPECT_EQ(Answer(MB_YESNOCANCEL, IDNO, "\r"), IDCANCEL) << "Right, then Enter";
    SendKey("kcub1");
    SendKey("kcub1");
    EXPECT_EQ(Answer(MB_YESNOCANCEL, IDYES, "\r"), IDNO) << "Left wraps round";
    EXPECT_EQ(Answer(MB_YESNOCANCEL, IDYES, "\t\t\t "), IDYES) << "Tab wraps round; Space presses";
    EXPECT_EQ(Answer(MB_YESNOCANCEL, IDYES, "n"), IDNO) << "a button's letter";
    EXPECT_EQ(Answer(MB_ABORTRETRYIGNORE, IDABORT, "I"), IDIGNORE);
    EXPECT_EQ(Answer(MB_OKCANCEL, IDOK, "\033"), IDCANCEL) << "Escape cancels";
    EXPECT_EQ(Answer(MB_OK, IDOK, "\033"), IDOK) << "Escape closes a box with only OK";
    // Yes/No cannot be cancelled: Escape and unknown letters do nothing.
    EXPECT_EQ(Answer(MB_YESNO, IDYES, "\033xy"), IDYES);
    EXPECT_EQ(Answer(MB_YESNO, IDNO, "\033q\r"), IDNO);
}

TEST_F(TerminalMessageBox, AClickOnAButtonAnswersIt) {
    MakeMainWindow();
    desk::TermMessageBox box = desk::MakeTermMessageBox("正文", "标题", MB_YESNOCANCEL, IDYES);
    desk::TermMessageBoxPlace place =
        desk::PlaceTermMessageBox(box, desk::LayOutScreen(80, 24), 80, 24);
    ASSERT_EQ(place.buttons.size(), 3u);
    const desk::CellBox& no = place.buttons[1];
    SendMouse(no.col + 1, no.row, true);  // a press alone does not answer
    SendMouse(no.col + 1, no.row, false);
    EXPECT_EQ(term_->AnswerMessageBox("正文", "标题", MB_YESNOCANCEL, IDYES), IDNO);
}

TEST_F(TerminalMessageBox, ALongTextIsBrokenToFitTheTerminal) {
    std::string text;
    for (int i = 0; i < 30; ++i) text += "使用说明";  // 240 cells
    text += "\r\n第二段";
    Send("\r");
    term_->AnswerMessageBox(text, "说明", MB_OK, IDOK);
    std::string screen = Screen();
    int col = 0;
    int row = 0;
    ASSERT_TRUE(Locate(u8"┌ 说明 ─", &col, &row)) << screen;
    int lines = 0;
    std::string joined;  // the text rows inside the frame, run together
    for (int r = row + 1; r < LINES; ++r) {
        std::string line = Row(r);
        if (line.find(u8"使用说明") != std::string::npos) ++lines;
        size_t left = line.find(u8"│");
        size_t right = line.rfind(u8"│");
        if (left != std::string::npos && right > left)
            joined += line.substr(left + std::string(u8"│").size(), right - left - 3);
    }
    EXPECT_GE(lines, 4) << "240 cells of text need at least four lines" << screen;
    joined.erase(std::remove(joined.begin(), joined.end(), ' '), joined.end());
    size_t count = 0;
    for (size_t at = joined.find(u8"使用说明"); at != std::string::npos;
         at = joined.find(u8"使用说明", at + 1))
        ++count;
    EXPECT_EQ(count, 30u) << "every character is shown" << screen;
    EXPECT_TRUE(Locate(u8"第二段", &col, &row)) << screen;
}
