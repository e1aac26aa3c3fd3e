// The message log, the test window class and the comparison of sequences.
#include "tests/desk/msg_recorder.h"

#include <cstdio>
#include <map>

namespace desktest {
namespace {

std::map<HWND, WNDPROC>& OldProcs() {
    static std::map<HWND, WNDPROC> procs;
    return procs;
}

bool Ignored(UINT message) {
    if (g_recordEverything) return false;
    switch (message) {
        case WM_PAINT:
        case WM_ERASEBKGND:
        case WM_NCPAINT:
        case WM_SETCURSOR:
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
        // Sent by Windows, not by the desk, and left by the runtime to the
        // default procedure: sizes and frames asked for, icons, the palette,
        // the input method's context, hit tests, a child's activation.
        case WM_GETMINMAXINFO:
        case WM_NCCALCSIZE:
        case WM_GETICON:
        case WM_QUERYNEWPALETTE:
        case WM_IME_SETCONTEXT:
        case WM_IME_NOTIFY:
        case WM_IME_SELECT:
        case WM_NCHITTEST:
        case WM_CHILDACTIVATE:
            return true;
        default:
            return false;
    }
}

void Note(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Ignored(message)) Log().push_back(Msg{hwnd, message, wParam, lParam});
}

LRESULT CALLBACK TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Note(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Note(hwnd, message, wParam, lParam);
    WNDPROC old = OldProcs()[hwnd];
    LRESULT result = CallWindowProcA(old, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) OldProcs().erase(hwnd);
    return result;
}

}  // namespace

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

bool g_recordEverything = false;

std::vector<Msg>& Log() {
    static std::vector<Msg> log;
    return log;
}

void ClearLog() {
    Log().clear();
}

const char* TestClass() {
    static bool registered = [] {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = TestProc;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "DeskTestWindow";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    return "DeskTestWindow";
}

HWND MakeTopLevel(const char* title, DWORD style) {
    return CreateWindowExA(0, TestClass(), title, style, 100, 100, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
}

void Record(HWND hwnd) {
    OldProcs()[hwnd] = reinterpret_cast<WNDPROC>(static_cast<uintptr_t>(SetWindowLongA(
        hwnd, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(SubclassProc)))));
}

HWND MakeControl(const char* cls, HWND parent, int id, DWORD style, const char* text, int x, int y,
                 int w, int h) {
    HWND hwnd =
        CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, w, h, parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
    if (hwnd != nullptr) Record(hwnd);
    return hwnd;
}

void Pump() {
    MSG msg;
    for (int guard = 0; guard < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_SETFONT, "WM_SETFONT"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NOTIFY, "WM_NOTIFY"},
        {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_GETDLGCODE, "WM_GETDLGCODE"},
        {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_VSCROLL, "WM_VSCROLL"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_PAINT, "WM_PAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {BM_SETSTATE, "BM_SETSTATE"},
        {BM_CLICK, "BM_CLICK"},
        {EM_SETSEL, "EM_SETSEL"},
        {WM_USER + 1, "WM_USER+1"},
        {WM_USER + 2, "WM_USER+2"},
        {WM_USER + 3, "WM_USER+3"}};
    auto it = names.find(message);
    if (it != names.end()) return it->second;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", message);
    return buffer;
}

namespace {
std::string Describe(HWND hwnd, UINT message, uint32_t wParam, uint32_t lParam) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%p %s", static_cast<void*>(hwnd),
                  MessageName(message).c_str());
    std::string out = buffer;
    if (wParam != kAny) out += " w=" + std::to_string(wParam);
    if (lParam != kAny) out += " l=" + std::to_string(lParam);
    return out;
}
}  // namespace

::testing::AssertionResult SequenceIs(const std::vector<Expect>& expected) {
    const std::vector<Msg>& log = Log();
    bool same = log.size() == expected.size();
    for (size_t i = 0; same && i < log.size(); ++i) {
        const Expect& e = expected[i];
        const Msg& m = log[i];
        same = m.hwnd == e.hwnd && m.message == e.message &&
               (e.wParam == kAny || static_cast<uint32_t>(m.wParam) == e.wParam) &&
               (e.lParam == kAny || static_cast<uint32_t>(m.lParam) == e.lParam);
    }
    if (same) return ::testing::AssertionSuccess();
    std::string text = "\nexpected:\n";
    for (const Expect& e : expected)
        text += "  " + Describe(e.hwnd, e.message, e.wParam, e.lParam) + "\n";
    text += "received:\n";
    for (const Msg& m : log) {
        text += "  " +
                Describe(m.hwnd, m.message, static_cast<uint32_t>(m.wParam),
                         static_cast<uint32_t>(m.lParam)) +
                "\n";
    }
    return ::testing::AssertionFailure() << text;
}

std::vector<Msg> Sent(HWND hwnd, UINT message) {
    std::vector<Msg> out;
    for (const Msg& m : Log()) {
        if (m.hwnd == hwnd && m.message == message) out.push_back(m);
    }
    return out;
}

std::vector<UINT> Notifications(HWND parent, int id) {
    std::vector<UINT> codes;
    for (const Msg& m : Sent(parent, WM_COMMAND)) {
        if (LOWORD(m.wParam) == id) codes.push_back(HIWORD(m.wParam));
    }
    return codes;
}

std::string TextOf(HWND hwnd) {
    char buffer[512] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

void DestroyAll() {
    // This thread's windows only: on Windows others (the IME's, the
    // system's) share the desktop.
    std::vector<HWND> tops;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&tops));
    for (HWND top : tops) {
        if (IsWindow(top)) DestroyWindow(top);
    }
    Pump();
    ClearLog();
}

}  // namespace desktest
