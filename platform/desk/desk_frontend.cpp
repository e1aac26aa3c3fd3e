// Front-end selection and the no-user front end.
#include "platform/desk/desk_frontend.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/desk/desk_env.h"
#include "platform/desk/desk_window.h"

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

bool CloseOneVisibleWindow() {
    for (HWND hwnd : TopLevelWindows()) {
        Window* w = Find(hwnd);
        if (w != nullptr && IsShown(*w)) {
            SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        }
    }
    return false;
}

}  // namespace desk
