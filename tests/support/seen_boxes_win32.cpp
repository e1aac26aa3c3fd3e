// Windows' side of the box recorder. Two listeners meet in one record:
// - the program's own calls of MessageBoxW, through this executable's
//   import of it, give the flags the program passed and the button the
//   system answered;
// - a CBT hook on the thread sees the box when it is activated; once the
//   box waits for its user, the test reads its title and its text from the
//   box itself and presses the wanted button.
// Texts are read as UTF-16 and turned into GBK by code page 936 itself, so
// they read the same under any system code page.
#include "tests/support/seen_boxes_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>

#include "tests/support/seen_boxes.h"
#include "tests/support/seen_boxes_file.h"

namespace seenboxes {
namespace {

// The recorder of this thread, if any: its file and the answers left.
struct ThreadRecord {
    std::string path;
    std::deque<int> answers;
};

thread_local ThreadRecord* t_record = nullptr;
thread_local HHOOK t_hook = nullptr;
// The box being shown on this thread, between the call and its answer.
thread_local Box* t_open = nullptr;

using MessageBoxWFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
MessageBoxWFunction g_systemMessageBoxW = nullptr;

std::string Gbk(HWND window) {
    if (window == nullptr) return "";
    int length = GetWindowTextLengthW(window);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, &wide[0], length + 1);
    if (length <= 0) return "";
    int bytes = WideCharToMultiByte(936, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(936, 0, wide.data(), length, &out[0], bytes, nullptr, nullptr);
    return out;
}

// The box's message: the static control with the id message boxes give
// it, or else its first static that shows text rather than an icon.
HWND TextControl(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text != nullptr && GetWindowTextLengthW(text) > 0) return text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (lstrcmpiW(name, L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON &&
            GetWindowTextLengthW(child) > 0)
            return child;
    }
    return text;
}

// The push button the box shows as its default, the one Enter presses;
// 0 when none is. Asked of the buttons themselves: Wine's message box
// answers DM_GETDEFID with IDOK whichever button is its default.
int DrawnDefault(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            return GetDlgCtrlID(child);
    }
    return 0;
}

// The box this thread has just activated, looked at once it waits for its
// user.
thread_local HWND t_waiting = nullptr;

// The box waits in its modal loop: read it and press the wanted button.
// Not done on activation itself: a box may be activated before its dialog
// procedure has set its text and its default button.
void CALLBACK OnBoxWaiting(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = t_waiting;
    t_waiting = nullptr;
    if (box == nullptr || !IsWindow(box)) return;
    if (t_open != nullptr) {
        t_open->title = Gbk(box);
        t_open->text = Gbk(TextControl(box));
    }
    LRESULT found = SendMessageW(box, DM_GETDEFID, 0, 0);
    if (t_open != nullptr)
        t_open->reportedDefault = HIWORD(found) == DC_HASDEFID ? LOWORD(found) : 0;
    int button = DrawnDefault(box);
    if (button == 0) button = HIWORD(found) == DC_HASDEFID ? LOWORD(found) : IDOK;
    if (t_record != nullptr && !t_record->answers.empty()) {
        button = t_record->answers.front();
        t_record->answers.pop_front();
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char name[16] = {};
        if (window != t_waiting && GetClassNameA(window, name, sizeof name) > 0 &&
            std::strcmp(name, "#32770") == 0) {
            t_waiting = window;
            SetTimer(nullptr, 0, 1, OnBoxWaiting);
        }
    }
    return CallNextHookEx(t_hook, code, wParam, lParam);
}

// Bytes as hex, so that a record line holds any text.
std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return out;
}

int WINAPI RecordingMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    Box box = {"", "", type, 0, 0};
    Box* outer = t_open;
    t_open = &box;
    box.answer = g_systemMessageBoxW(owner, text, caption, type);
    t_open = outer;
    if (t_record != nullptr) {
        // Written at once: a runtime error ends the process right after.
        if (FILE* file = std::fopen(t_record->path.c_str(), "ab")) {
            std::fprintf(file, "%u %d %d x%s x%s\n", box.flags, box.answer, box.reportedDefault,
                         Hex(box.title).c_str(), Hex(box.text).c_str());
            std::fclose(file);
        }
    }
    return box.answer;
}

// Points this executable's import of user32's MessageBoxW at the recording
// one. False when the executable imports no MessageBoxW.
bool WrapMessageBoxW() {
    if (g_systemMessageBoxW != nullptr) return true;
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return false;
    auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
    for (; import->Name != 0; ++import) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + import->Name), "user32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), "MessageBoxW") != 0) continue;
            DWORD previous = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &previous))
                return false;
            g_systemMessageBoxW = reinterpret_cast<MessageBoxWFunction>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordingMessageBoxW);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, previous, &previous);
            return true;
        }
    }
    return false;
}

}  // namespace

void AnswerBoxesOnThisThread() {
    WrapMessageBoxW();
    if (t_hook == nullptr) t_hook = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

Recorder::Recorder(const std::string& name, std::vector<int> answers) : path_(RecordPath(name)) {
    std::fclose(std::fopen(path_.c_str(), "wb"));
    AnswerBoxesOnThisThread();
    t_record = new ThreadRecord{path_, std::deque<int>(answers.begin(), answers.end())};
}

Recorder::~Recorder() {
    delete t_record;
    t_record = nullptr;
    std::remove(path_.c_str());
}

std::vector<Box> Recorder::Boxes() const {
    std::vector<Box> boxes;
    // Without the wrapper nothing can be recorded: say so rather than
    // answer "no boxes".
    if (g_systemMessageBoxW == nullptr) {
        boxes.push_back(Box{"", "this program imports no MessageBoxW", 0, 0, 0});
        return boxes;
    }
    std::ifstream in(path_, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        char title[2048] = {}, text[8192] = {};
        Box box = {"", "", 0, 0, 0};
        if (std::sscanf(line.c_str(), "%u %d %d %2047s %8191s", &box.flags, &box.answer,
                        &box.reportedDefault, title, text) < 5)
            continue;
        // Each text is written behind an x, so that an empty one still
        // takes its place on the line.
        box.title = Unhex(title + 1);
        box.text = Unhex(text + 1);
        boxes.push_back(box);
    }
    return boxes;
}

}  // namespace seenboxes
