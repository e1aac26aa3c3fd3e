// The message queue. Posted messages come out in order; the quit message
// comes out only when nothing else is queued, as on Win32. When the program
// waits on an empty queue, the front end's user takes a step.
#include <deque>
#include <mutex>

#include "platform/desk/desk_exit.h"
#include "platform/desk/desk_frontend.h"
#include "platform/desk/desk_log.h"
#include "platform/desk/desk_window.h"

namespace {
std::mutex g_queueLock;
std::deque<MSG> g_queue;
bool g_quitPending = false;
int g_quitCode = 0;

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (hwnd != nullptr && msg.hwnd != hwnd) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}
}  // namespace

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    desk::Window* w = desk::Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return w->proc(hwnd, message, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd != nullptr && desk::Find(hwnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(g_queueLock);
    g_queue.push_back(MakeMsg(hwnd, message, wParam, lParam));
    return TRUE;
}

BOOL PostThreadMessageA(DWORD, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(nullptr, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    g_quitPending = true;
    g_quitCode = exitCode;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    std::lock_guard<std::mutex> lock(g_queueLock);
    for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
        if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
        *msg = *it;
        if (remove & PM_REMOVE) g_queue.erase(it);
        return TRUE;
    }
    if (g_quitPending && (filterMin == 0 && filterMax == 0)) {
        *msg = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0);
        if (remove & PM_REMOVE) g_quitPending = false;
        return TRUE;
    }
    return FALSE;
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    while (!PeekMessageA(msg, hwnd, filterMin, filterMax, PM_REMOVE)) {
        if (!desk::CurrentFrontEnd().Idle()) {
            // No message can ever arrive: on Windows the program would hang.
            desk::LogLine("{\"event\":\"error\",\"text\":\"the program waits for input that can never come\"}");
            desk::ExitWithCode(3);
        }
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg->hwnd == nullptr) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
