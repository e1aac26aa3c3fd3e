// The terminal front end on a curses screen of a fixed size, for the
// terminal tests: bytes written into a pipe reach it as a terminal would
// send them (key sequences from the terminal type's own description), and
// the screen it drew is read back cell by cell.
#pragma once

#include <string>

#include "platform/desk/frontends/terminal/curses.h"
#include "platform/desk/frontends/terminal/terminal.h"
#include "tests/desk/msg_recorder.h"

namespace desktest {

// The drop editor's main window, built from test classes: a top-level
// window of the recording test class at 791, 429 (337 x 222), labels of a
// class of the test's own that only keeps its caption (as a STATIC does),
// three EDIT boxes of at most 5 characters and two push buttons, at the
// main window's places and in its Z order.
struct MainWindow {
    HWND main;
    HWND version;  // label "0.751（Steam）"
    HWND meat;     // EDIT "2"
    HWND item;     // EDIT "1"
    HWND kettle;   // EDIT "5"
    HWND apply;    // BUTTON "确认修改"
    HWND notes;    // BUTTON "说明"
};
MainWindow MakeMainWindow(const char* mainClass = TestClass());
const char* LabelClass();

class TerminalTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // What the terminal sends: raw bytes, the sequence of a key named by its
    // terminfo capability ("kcub1" is Left), a mouse press or release at a
    // cell in the encoding the terminal type declares.
    void Send(const std::string& bytes);
    void SendKey(const char* capability);
    void SendMouse(int col, int row, bool press);
    // Lets the front end take everything sent so far, one event at a time,
    // with the program's messages handled after each.
    void TakeAll();

    // The screen as drawn: a row's text (UTF-8, trailing blanks cut), the
    // whole screen for failure messages, and where a text starts (in cells).
    std::string Row(int row);
    std::string Screen();
    bool Locate(const std::string& utf8, int* col, int* row);
    // The attributes of a cell (A_REVERSE ...).
    attr_t AttrAt(int col, int row);
    // Makes the screen this size and tells the front end, as curses does
    // when the terminal is resized.
    void Resize(int cols, int rows);

    desk::TerminalFrontEnd* term_ = nullptr;
    int keysIn_ = -1;  // write end of the pipe the front end reads
};

}  // namespace desktest
