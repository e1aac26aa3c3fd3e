// The message queue. Messages come out in Win32's order: posted messages
// first, in the order posted; then the quit message, once nothing posted is
// left; then the user's input; then WM_PAINT for a window that needs
// painting (it stays until the window is painted). When the program waits
// on an empty queue, the front end's user takes a step.
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/desk/kernel32/exit.h"
#include "platform/desk/kernel32/log.h"
#include "platform/desk/user32/input.h"
#include "platform/desk/user32/user32.h"
#include "platform/desk/user32/window.h"

namespace {
std::mutex g_queueLock;  // other threads may post
std::deque<MSG> g_queue;
bool g_quitPending = false;
int g_quitCode = 0;
MSG g_lastTaken = {};

// A message sent from another thread: it runs on the window's own thread the
// next time that thread looks at its queue, while the sender waits, as
// Win32's inter-thread SendMessage does.
struct SentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    bool done;
};
std::deque<SentMessage*> g_sent;
std::condition_variable g_sentDone;

void DeliverSentMessages() {
    for (;;) {
        SentMessage* sent = nullptr;
        {
            std::lock_guard<std::mutex> lock(g_queueLock);
            if (g_sent.empty()) return;
            sent = g_sent.front();
            g_sent.pop_front();
        }
        desk::Window* w = desk::Find(sent->hwnd);
        LRESULT result = w != nullptr ? CallWindowProcA(w->proc, sent->hwnd, sent->message, sent->wParam, sent->lParam) : 0;
        std::lock_guard<std::mutex> lock(g_queueLock);
        sent->result = result;
        sent->done = true;
        g_sentDone.notify_all();
    }
}

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (hwnd != nullptr && msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)) return false;
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
    GetCursorPos(&msg.pt);
    return msg;
}

// The first shown window that needs painting, parents before children.
HWND FindPaintable(HWND hwnd) {
    desk::Window* w = desk::Find(hwnd);
    if (w == nullptr || !(w->style & WS_VISIBLE)) return nullptr;
    if (w->needsPaint) return hwnd;
    for (HWND child : w->children) {
        if (HWND found = FindPaintable(child)) return found;
    }
    return nullptr;
}

bool PeekPaint(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!(filterMin == 0 && filterMax == 0) && (WM_PAINT < filterMin || WM_PAINT > filterMax))
        return false;
    for (HWND top : desk::TopLevelWindows()) {
        HWND found = FindPaintable(top);
        if (found != nullptr && (hwnd == nullptr || found == hwnd || IsChild(hwnd, found))) {
            *msg = MakeMsg(found, WM_PAINT, 0, 0);
            return true;
        }
    }
    return false;
}
}  // namespace

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    desk::Window* w = desk::Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (w->thread != GetCurrentThreadId()) {
        SentMessage sent = {hwnd, message, wParam, lParam, 0, false};
        std::unique_lock<std::mutex> lock(g_queueLock);
        g_sent.push_back(&sent);
        g_sentDone.wait(lock, [&sent] { return sent.done; });
        return sent.result;
    }
    return CallWindowProcA(w->proc, hwnd, message, wParam, lParam);
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
    DeliverSentMessages();
    {
        std::lock_guard<std::mutex> lock(g_queueLock);
        for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
            if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
            *msg = *it;
            if (remove & PM_REMOVE) {
                g_queue.erase(it);
                g_lastTaken = *msg;
            }
            return TRUE;
        }
        if (g_quitPending && hwnd == nullptr &&
            ((filterMin == 0 && filterMax == 0) ||
             (WM_QUIT >= filterMin && WM_QUIT <= filterMax))) {
            *msg = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0);
            if (remove & PM_REMOVE) g_quitPending = false;
            return TRUE;
        }
    }
    if (desk::PeekInput(msg, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0)) {
        if (remove & PM_REMOVE) g_lastTaken = *msg;
        return TRUE;
    }
    if (PeekPaint(msg, hwnd, filterMin, filterMax)) {
        if (remove & PM_REMOVE) g_lastTaken = *msg;
        return TRUE;
    }
    return FALSE;
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    while (!PeekMessageA(msg, hwnd, filterMin, filterMax, PM_REMOVE)) {
        if (!desk::CurrentFrontEnd().Idle()) {
            // No message can ever arrive: on Windows the program would hang.
            desk::LogLine(
                "{\"event\":\"error\",\"text\":\"the program waits for input that can never "
                "come\"}");
            desk::ExitWithCode(3);
        }
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessagePos() {
    return static_cast<DWORD>(MAKELONG(g_lastTaken.pt.x, g_lastTaken.pt.y));
}

LONG GetMessageTime() {
    return static_cast<LONG>(g_lastTaken.time);
}
