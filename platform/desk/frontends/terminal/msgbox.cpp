// The terminal's message box: its model, placement, drawing and keys.
#include "platform/desk/frontends/terminal/msgbox.h"

#include <algorithm>
#include <cwctype>

#include "platform/desk/frontends/terminal/canvas.h"
#include "platform/desk/frontends/terminal/draw.h"
#include "platform/desk/frontends/terminal/text.h"
#include "platform/desk/user32/user32.h"

namespace desk {
namespace {

// Buttons as a Chinese Windows labels them, with the letter that presses
// them (0: none; OK and Cancel have Enter and Escape).
struct ButtonFace {
    int answer;
    const char* label;  // GBK
    wchar_t letter;
};
const ButtonFace kFaces[] = {
    {IDOK, "确定", 0},          {IDCANCEL, "取消", 0},       {IDABORT, "中止(A)", L'a'},
    {IDRETRY, "重试(R)", L'r'}, {IDIGNORE, "忽略(I)", L'i'}, {IDYES, "是(Y)", L'y'},
    {IDNO, "否(N)", L'n'},
};

const ButtonFace& FaceOf(int answer) {
    for (const ButtonFace& face : kFaces) {
        if (face.answer == answer) return face;
    }
    return kFaces[0];
}

const char* IconWord(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return "错误";
        case MB_ICONQUESTION:
            return "询问";
        case MB_ICONEXCLAMATION:
            return "警告";
        case MB_ICONASTERISK:
            return "信息";
        default:
            return "";
    }
}

int ButtonCells(int answer) {
    return CellsOf(FaceOf(answer).label) + 4;  // "[ " and " ]"
}

constexpr int kButtonGap = 2;

int IndexOf(const TermMessageBox& box, int answer) {
    for (size_t i = 0; i < box.buttons.size(); ++i) {
        if (box.buttons[i] == answer) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

TermMessageBox MakeTermMessageBox(const std::string& text, const std::string& title, UINT type,
                                  int fallback) {
    TermMessageBox box;
    box.title = title;
    box.icon = IconWord(type);
    box.text = text;
    box.buttons = MessageBoxButtons(type);
    int index = IndexOf(box, fallback);
    box.focus = index >= 0 ? static_cast<size_t>(index) : 0;
    return box;
}

TermMessageBoxPlace PlaceTermMessageBox(const TermMessageBox& box, const ScreenLayout& under,
                                        int cols, int rows) {
    TermMessageBoxPlace place = {};
    // The icon word stands in front of the text, in brackets, and the text's
    // further lines keep clear of it.
    int iconCells = box.icon.empty() ? 0 : CellsOf(box.icon) + 3;
    int wrap = std::max(16, std::min(cols - 6 - iconCells, 64));
    place.lines = WrapText(box.text, wrap);
    while (place.lines.size() > 1 && place.lines.back().empty()) place.lines.pop_back();
    int textCells = 0;
    for (const std::string& line : place.lines) textCells = std::max(textCells, CellsOf(line));
    int buttonCells = 0;
    for (int answer : box.buttons) buttonCells += ButtonCells(answer) + kButtonGap;
    buttonCells -= kButtonGap;
    // A box is never narrower than this, so that a short word stays a box.
    constexpr int kNarrowest = 20;
    int inner = std::max({iconCells + textCells, buttonCells, CellsOf(box.title) + 4, kNarrowest});
    place.frame.cols = inner + 4;  // frame and one blank column on each side
    place.frame.rows = static_cast<int>(place.lines.size()) + 5;

    // Over the middle of the window underneath, else of the terminal; kept on
    // the screen when it can be.
    int midCol = cols / 2;
    int midRow = rows / 2;
    if (under.anchor >= 0) {
        const CellBox& frame = under.windows[static_cast<size_t>(under.anchor)].frame;
        midCol = frame.col + frame.cols / 2;
        midRow = frame.row + frame.rows / 2;
    }
    place.frame.col = std::max(0, std::min(midCol - place.frame.cols / 2, cols - place.frame.cols));
    place.frame.row = std::max(0, std::min(midRow - place.frame.rows / 2, rows - place.frame.rows));
    place.textCol = place.frame.col + 2 + iconCells;
    place.textRow = place.frame.row + 2;
    int buttonRow = place.frame.row + place.frame.rows - 2;
    int col = place.frame.col + 2 + (inner - buttonCells) / 2;
    for (int answer : box.buttons) {
        place.buttons.push_back(CellBox{col, buttonRow, ButtonCells(answer), 1});
        col += ButtonCells(answer) + kButtonGap;
    }
    return place;
}

bool TermMessageBoxFits(const TermMessageBoxPlace& place, int cols, int rows) {
    return place.frame.cols <= cols && place.frame.rows <= rows;
}

void DrawTermMessageBox(const TermMessageBox& box, const TermMessageBoxPlace& place) {
    Canvas screen;
    screen.Fill(place.frame, A_NORMAL);
    screen.Frame(place.frame, A_BOLD);
    if (!box.title.empty()) {
        int col = place.frame.col + 2;
        screen.Put(col - 1, place.frame.row, L' ', 1, A_BOLD);
        col += screen.Text(col, place.frame.row, box.title, place.frame.cols - 4, A_REVERSE);
        screen.Put(col, place.frame.row, L' ', 1, A_BOLD);
    }
    if (!box.icon.empty()) {
        int col = place.frame.col + 2;
        screen.Put(col, place.textRow, L'[', 1, A_BOLD);
        col += 1 + screen.Text(col + 1, place.textRow, box.icon, 8, A_BOLD);
        screen.Put(col, place.textRow, L']', 1, A_BOLD);
    }
    int row = place.textRow;
    for (const std::string& line : place.lines) {
        screen.Text(place.textCol, row++, line, place.frame.cols - 4, A_NORMAL);
    }
    for (size_t i = 0; i < box.buttons.size(); ++i) {
        const CellBox& cells = place.buttons[i];
        DrawButtonFace(screen, cells.col, cells.row, cells.cols, FaceOf(box.buttons[i]).label,
                       i == box.focus, true);
    }
}

int TermMessageBoxKey(TermMessageBox* box, int status, wint_t key) {
    size_t count = box->buttons.size();
    if (status == KEY_CODE_YES) {
        switch (key) {
            case KEY_LEFT:
            case KEY_UP:
            case KEY_BTAB:
                box->focus = (box->focus + count - 1) % count;
                return 0;
            case KEY_RIGHT:
            case KEY_DOWN:
                box->focus = (box->focus + 1) % count;
                return 0;
            case KEY_ENTER:
                return box->buttons[box->focus];
            default:
                return 0;
        }
    }
    if (status != OK) return 0;
    switch (key) {
        case L'\t':
            box->focus = (box->focus + 1) % count;
            return 0;
        case L'\n':
        case L'\r':
        case L' ':
            return box->buttons[box->focus];
        case 0x1B:
            // Escape works where the box offers a way out: Cancel, or the lone OK.
            if (IndexOf(*box, IDCANCEL) >= 0) return IDCANCEL;
            return box->buttons.size() == 1 && box->buttons[0] == IDOK ? IDOK : 0;
        default:
            break;
    }
    for (int answer : box->buttons) {
        wchar_t letter = FaceOf(answer).letter;
        if (letter != 0 && static_cast<wint_t>(std::towlower(key)) == static_cast<wint_t>(letter))
            return answer;
    }
    return 0;
}

int TermMessageBoxClick(const TermMessageBoxPlace& place, const TermMessageBox& box, int col,
                        int row) {
    for (size_t i = 0; i < place.buttons.size() && i < box.buttons.size(); ++i) {
        if (place.buttons[i].Contains(col, row)) return box.buttons[i];
    }
    return 0;
}

}  // namespace desk
