// desk-only: the desk's terminal front end
// The terminal test fixture and the test main window.
#include "tests/desk/frontends/terminal/fixture.h"

#include <unistd.h>
#include <wchar.h>

#include <vector>

namespace desktest {
namespace {

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND Label(HWND parent, const char* text, int x, int y, int w) {
    return CreateWindowExA(0, LabelClass(), text, WS_CHILD | WS_VISIBLE, x, y, w, 32, parent,
                           nullptr, nullptr, nullptr);
}

HWND NumberBox(HWND parent, int id, const char* text, int x, int y) {
    HWND edit = MakeControl("EDIT", parent, id,
                            WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_CENTER | ES_AUTOHSCROLL, text,
                            x, y, 56, 32);
    SendMessageA(edit, EM_LIMITTEXT, 5, 0);
    return edit;
}

// One cell of the screen: its character and where the next one starts.
std::vector<std::pair<int, wchar_t>> RowCells(int row) {
    desk::TerminalLocale utf8;
    std::vector<std::pair<int, wchar_t>> cells;
    for (int col = 0; col < COLS;) {
        cchar_t cell;
        mvwin_wch(stdscr, row, col, &cell);
        wchar_t text[CCHARW_MAX + 1] = {};
        attr_t attr;
        short pair;
        getcchar(&cell, text, &attr, &pair, nullptr);
        cells.emplace_back(col, text[0]);
        col += wcwidth(text[0]) == 2 ? 2 : 1;
    }
    return cells;
}

std::wstring Wide(const std::string& utf8) {
    desk::TerminalLocale locale;
    std::wstring out(utf8.size() + 1, L'\0');
    size_t n = mbstowcs(&out[0], utf8.c_str(), out.size());
    out.resize(n == static_cast<size_t>(-1) ? 0 : n);
    return out;
}

std::string Narrow(const std::wstring& wide) {
    desk::TerminalLocale locale;
    std::string out(wide.size() * 4 + 1, '\0');
    size_t n = wcstombs(&out[0], wide.c_str(), out.size());
    out.resize(n == static_cast<size_t>(-1) ? 0 : n);
    return out;
}

}  // namespace

const char* LabelClass() {
    static bool registered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LabelProc;
        wc.lpszClassName = "TermTestLabel";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    return "TermTestLabel";
}

MainWindow MakeMainWindow(const char* mainClass) {
    MainWindow m = {};
    m.main = CreateWindowExA(0, mainClass, "Quillmarsh--怪物掉落修改", WS_CAPTION | WS_SYSMENU, 791,
                             429, 337, 222, nullptr, nullptr, nullptr, nullptr);
    Label(m.main, "水壶获取水的数量", 208, 120, 182);
    Label(m.main, "附加修改 水壶获取", 17, 121, 111);
    m.kettle = NumberBox(m.main, 120, "5", 142, 121);
    m.version = Label(m.main, "0.751（Steam）", 176, 5, 152);
    Label(m.main, "您当前使用的游戏版本为：", 18, 4, 158);
    m.notes = MakeControl("BUTTON", m.main, 110, WS_VISIBLE | WS_TABSTOP, "说明", 192, 163, 48, 24);
    m.apply =
        MakeControl("BUTTON", m.main, 100, WS_VISIBLE | WS_TABSTOP, "确认修改", 82, 163, 96, 24);
    Label(m.main, "物品掉落", 18, 81, 56);
    m.item = NumberBox(m.main, 140, "1", 82, 81);
    Label(m.main, "倍     怪物特殊物品的掉落倍率", 146, 81, 182);
    Label(m.main, "倍     游戏中[肉]的掉落倍率", 146, 41, 174);
    Label(m.main, "货币掉落", 18, 41, 56);
    m.meat = NumberBox(m.main, 160, "2", 82, 41);
    ShowWindow(m.main, SW_SHOW);
    SetFocus(m.meat);
    Pump();
    ClearLog();
    return m;
}

void TerminalTest::SetUp() {
    DestroyAll();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    keysIn_ = fds[1];
    FILE* in = fdopen(fds[0], "r");
    FILE* out = fopen("/dev/null", "w");
    term_ = desk::TerminalFrontEnd::Open(in, out, "xterm-256color");
    ASSERT_NE(term_, nullptr) << "no terminal description for xterm-256color";
    desk::TerminalLocale utf8;
    resize_term(24, 80);
}

void TerminalTest::TearDown() {
    DestroyAll();
    delete term_;
    if (keysIn_ >= 0) close(keysIn_);
}

void TerminalTest::Send(const std::string& bytes) {
    ASSERT_EQ(write(keysIn_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

void TerminalTest::SendKey(const char* capability) {
    desk::TerminalLocale utf8;
    const char* sequence = tigetstr(capability);
    ASSERT_TRUE(sequence != nullptr && sequence != reinterpret_cast<char*>(-1)) << capability;
    Send(sequence);
}

void TerminalTest::SendMouse(int col, int row, bool press) {
    desk::TerminalLocale utf8;
    const char* kmous = tigetstr("kmous");
    bool sgr =
        kmous != nullptr && kmous != reinterpret_cast<char*>(-1) && std::string(kmous) == "\033[<";
    if (sgr) {
        Send("\033[<0;" + std::to_string(col + 1) + ";" + std::to_string(row + 1) +
             (press ? "M" : "m"));
    } else {
        Send(std::string("\033[M") + static_cast<char>(32 + (press ? 0 : 3)) +
             static_cast<char>(33 + col) + static_cast<char>(33 + row));
    }
}

void TerminalTest::TakeAll() {
    for (int guard = 0; guard < 1000; ++guard) {
        desk::TerminalFrontEnd::Input input = term_->TakeInput(30);
        Pump();
        if (input == desk::TerminalFrontEnd::Input::kNone) return;
    }
}

std::string TerminalTest::Row(int row) {
    std::wstring text;
    for (const auto& cell : RowCells(row)) text.push_back(cell.second);
    while (!text.empty() && text.back() == L' ') text.pop_back();
    return Narrow(text);
}

std::string TerminalTest::Screen() {
    std::string out = "\n";
    for (int row = 0; row < LINES; ++row) out += Row(row) + "\n";
    return out;
}

bool TerminalTest::Locate(const std::string& utf8, int* col, int* row) {
    std::wstring wanted = Wide(utf8);
    for (int r = 0; r < LINES; ++r) {
        std::vector<std::pair<int, wchar_t>> cells = RowCells(r);
        std::wstring text;
        for (const auto& cell : cells) text.push_back(cell.second);
        size_t at = text.find(wanted);
        if (at != std::wstring::npos) {
            *col = cells[at].first;
            *row = r;
            return true;
        }
    }
    return false;
}

attr_t TerminalTest::AttrAt(int col, int row) {
    desk::TerminalLocale utf8;
    cchar_t cell;
    mvwin_wch(stdscr, row, col, &cell);
    wchar_t text[CCHARW_MAX + 1] = {};
    attr_t attr = 0;
    short pair = 0;
    getcchar(&cell, text, &attr, &pair, nullptr);
    return attr;
}

void TerminalTest::Resize(int cols, int rows) {
    desk::TerminalLocale utf8;
    resize_term(rows, cols);
    ungetch(KEY_RESIZE);
}

}  // namespace desktest
