// Windows' side of the test input: real input through SendInput. It goes
// to the foreground thread, so this thread's active window is brought to
// the front first (a test's window may have been shown while another held
// the foreground).
#include <vector>

#include "tests/support/user_input.h"

namespace userinput {
namespace {

void TakeForeground() {
    HWND active = GetActiveWindow();
    if (active != nullptr && GetForegroundWindow() != active) SetForegroundWindow(active);
}

// SendInput hands the events to the system's input thread; wait until they
// wait in this thread's queue (a second at most: input meant for another
// thread's window never arrives here).
void Send(std::vector<INPUT>& events) {
    TakeForeground();
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    for (int i = 0; i < 1000 && HIWORD(GetQueueStatus(QS_INPUT)) == 0; ++i) Sleep(1);
}

bool IsExtended(BYTE vk) {
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
            return true;
        default:
            return false;
    }
}

INPUT Key(BYTE vk, bool down) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

void AddPress(std::vector<INPUT>* events, BYTE vk, bool shift, bool ctrl) {
    if (shift) events->push_back(Key(VK_SHIFT, true));
    if (ctrl) events->push_back(Key(VK_CONTROL, true));
    events->push_back(Key(vk, true));
    events->push_back(Key(vk, false));
    if (ctrl) events->push_back(Key(VK_CONTROL, false));
    if (shift) events->push_back(Key(VK_SHIFT, false));
}

// A character no key of the US keyboard gives, as the input method hands it
// over: a VK_PACKET carrying the UTF-16 unit.
void AddUnicode(std::vector<INPUT>* events, WCHAR unit) {
    for (bool down : {true, false}) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = unit;
        in.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
        events->push_back(in);
    }
}

INPUT MouseEvent(DWORD flags, POINT screen) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    // Absolute positions are in 0..65535 across the primary screen.
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = MulDiv(screen.x, 65535, width > 1 ? width - 1 : 1);
    in.mi.dy = MulDiv(screen.y, 65535, height > 1 ? height - 1 : 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

}  // namespace

void PressKey(BYTE vk, bool shift, bool ctrl) {
    std::vector<INPUT> events;
    AddPress(&events, vk, shift, ctrl);
    Send(events);
}

void TypeText(const std::string& gbk) {
    std::vector<INPUT> events;
    for (size_t i = 0; i < gbk.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        SHORT key = c < 0x80 ? VkKeyScanA(static_cast<char>(c)) : -1;
        if (key != -1 && (HIBYTE(key) & ~1) == 0) {
            AddPress(&events, LOBYTE(key), (HIBYTE(key) & 1) != 0, false);
            continue;
        }
        int length = c >= 0x81 && c <= 0xFE && i + 1 < gbk.size() ? 2 : 1;
        WCHAR unit = 0;
        if (::MultiByteToWideChar(936, 0, gbk.data() + i, length, &unit, 1) == 1)
            AddUnicode(&events, unit);
        i += static_cast<size_t>(length - 1);
    }
    Send(events);
}

void Mouse(UINT message, POINT screen) {
    DWORD flags = message == WM_LBUTTONDOWN ? MOUSEEVENTF_LEFTDOWN
                  : message == WM_LBUTTONUP ? MOUSEEVENTF_LEFTUP
                                            : 0;
    std::vector<INPUT> events = {MouseEvent(flags, screen)};
    Send(events);
}

void Click(POINT screen) {
    std::vector<INPUT> events = {MouseEvent(0, screen), MouseEvent(MOUSEEVENTF_LEFTDOWN, screen),
                                 MouseEvent(MOUSEEVENTF_LEFTUP, screen)};
    Send(events);
}

}  // namespace userinput
