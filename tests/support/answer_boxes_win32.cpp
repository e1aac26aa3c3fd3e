// Windows only: a unit test program answers every message box its main
// thread shows with the box's default button as soon as the box is
// activated, so that a box the code under test raises (a runtime error in a
// death test, for one) never waits for a user who is not there. On the desk
// its scripted user does this.
#include <windows.h>

#include <cstring>

namespace {

HHOOK g_hook = nullptr;

LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char name[16] = {};
        if (GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, "#32770") == 0) {
            LRESULT found = SendMessageW(window, DM_GETDEFID, 0, 0);
            int button = HIWORD(found) == DC_HASDEFID ? LOWORD(found) : IDOK;
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

struct BoxAnswerer {
    BoxAnswerer() { g_hook = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId()); }
    ~BoxAnswerer() {
        if (g_hook != nullptr) UnhookWindowsHookEx(g_hook);
    }
};

const BoxAnswerer kAnswerer;

}  // namespace
