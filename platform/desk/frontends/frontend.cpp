// Front-end selection and the no-user front end.
#include "platform/desk/frontends/frontend.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/desk/kernel32/env.h"
#include "platform/desk/user32/user32.h"

namespace desk {
namespace {

// Nobody at the screen: boxes take their default button, and a program
// that waits for input gets its windows closed one by one.
class NoUserFrontEnd : public FrontEnd {
  public:
    bool Idle() override { return CloseOneVisibleWindow(); }
    int AnswerMessageBox(const std::string&, const std::string&, UINT, int fallback) override {
        return fallback;
    }
};

FrontEnd* ChooseFrontEnd() {
    const std::string& script = EnvPath("DESK_SCRIPT");
    if (!script.empty()) return MakeScriptFrontEnd(script.c_str());
    if (isatty(0) && isatty(1)) {
        if (FrontEnd* terminal = MakeTerminalFrontEnd()) return terminal;
    }
    return new NoUserFrontEnd();
}

}  // namespace

FrontEnd& CurrentFrontEnd() {
    static FrontEnd* frontEnd = ChooseFrontEnd();
    return *frontEnd;
}

bool ClickCloseBox(HWND hwnd) {
    Window* w = Find(hwnd);
    POINT box;
    if (w == nullptr || !CloseBoxPoint(*w, &box)) return false;
    if (WindowFromPoint(box) == hwnd && HitTest(*w, box) == HTCLOSE && IsUsable(*w)) {
        InputMouse(WM_MOUSEMOVE, box);
        InputMouse(WM_LBUTTONDOWN, box);
        InputMouse(WM_LBUTTONUP, box);
    } else {
        PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return true;
}

bool CloseOneVisibleWindow() {
    static HWND lastTarget = nullptr;
    static int attempts = 0;
    HWND target = GetActiveWindow();
    if (target == nullptr || !IsWindowVisible(target)) {
        target = nullptr;
        for (HWND hwnd : TopLevelWindows()) {
            if (IsWindowVisible(hwnd)) {
                target = hwnd;
                break;
            }
        }
    }
    if (target == nullptr) return false;
    // Handles are never reused, so the same handle is the same window.
    attempts = target == lastTarget ? attempts + 1 : 1;
    lastTarget = target;
    if (attempts > 3) return false;
    // A window without a close box is closed from the task bar, which
    // sends the close command all the same.
    if (!ClickCloseBox(target)) PostMessageA(target, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

}  // namespace desk
