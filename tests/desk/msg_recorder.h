// Message recording for the desk's conformance tests, in the manner of
// Wine's user32 tests: windows of the test class (and subclassed controls)
// log every message they receive; a test performs an action and compares
// the log with the sequence Win32 documents.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"

namespace desktest {

struct Msg {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What a test expects: a message to a window, optionally with its
// parameters (kAny leaves one unchecked).
constexpr uint32_t kAny = 0xA5A5A5A5u;
struct Expect {
    HWND hwnd;
    UINT message;
    uint32_t wParam = kAny;
    uint32_t lParam = kAny;
};

// The log; messages that only paint, or that come with every mouse move
// (WM_SETCURSOR, WM_MOUSEMOVE), are left out unless `everything` is set.
std::vector<Msg>& Log();
void ClearLog();
extern bool g_recordEverything;

// Registers (once) "DeskTestWindow", whose procedure logs and then answers
// as DefWindowProcA does.
const char* TestClass();
// A visible overlapped test window at 100,100, 300 x 200.
HWND MakeTopLevel(const char* title = "test", DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
// A child control of `cls`, logged through a subclass.
HWND MakeControl(const char* cls, HWND parent, int id, DWORD style, const char* text = "",
                 int x = 10, int y = 10, int w = 100, int h = 24);
// Logs the messages of an existing window through a subclass.
void Record(HWND hwnd);

// Runs every queued message (translated and dispatched) until the queue,
// the input and the paints are done.
void Pump();

std::string MessageName(UINT message);
// Compares the log with the expected sequence, naming `what` on failure.
::testing::AssertionResult SequenceIs(const std::vector<Expect>& expected);
// The logged messages sent to `hwnd` with this message number.
std::vector<Msg> Sent(HWND hwnd, UINT message);
// The WM_COMMAND notification codes a parent received from control `id`.
std::vector<UINT> Notifications(HWND parent, int id);

// The text of a window, through GetWindowTextA.
std::string TextOf(HWND hwnd);
// An enumeration procedure that appends each window to the
// std::vector<HWND> its parameter points to.
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list);
// Destroys every top-level window left over and empties the queue.
void DestroyAll();

}  // namespace desktest
