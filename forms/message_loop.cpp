// The message loop with its idle phase. A phase starts on the first empty
// queue after a message that ends idling and lasts until the idle handler
// says no more idle work is wanted.
#include "forms/application.h"
#include "forms/startup.h"
#include "forms/window_loader.h"
#include "runtime/process_events.h"

namespace {

void RunIdleCallbacks() {
    auto& callbacks = g_app.idleCallbacks;
    for (size_t i = callbacks.size(); i-- > 0;) {
        if (!IsWindow(callbacks[i].window)) {
            callbacks.erase(callbacks.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        callbacks[i].routine(callbacks[i].argument);
    }
}

// The idle handler: on counter 0 a new phase begins; after the framework's own
// idle work (none here), every counter above 1 raises the windows' idle events.
bool OnIdle(uint32_t counter) {
    if (counter == 0) {
        g_app.idleStart = GetTickCount();
        g_app.declinedIdle.clear();
    }
    if (counter <= 1) return true;
    return RaiseIdleEvents(GetTickCount() - g_app.idleStart);
}

// Messages that arrive during an idle phase without ending it: mouse moves
// and timer ticks, as the framework classifies them.
bool EndsIdlePhase(const MSG& msg) { return msg.message != WM_MOUSEMOVE && msg.message != WM_TIMER; }

}  // namespace

void RunMessageLoop() {
    g_app.loopStarted = true;
    if (!AnyWindowLoaded()) return;

    uint32_t idleCounter = 0;
    bool idle = true;
    MSG msg;
    for (;;) {
        while (idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleCallbacks();
            if (!OnIdle(idleCounter++)) idle = false;
        }
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            g_app.quitTaken = true;
            g_app.quitCode = static_cast<int32_t>(msg.wParam);
            return;
        }
        DispatchOneMessage(&msg);
        if (EndsIdlePhase(msg)) {
            idle = true;
            idleCounter = 0;
        }
    }
}
