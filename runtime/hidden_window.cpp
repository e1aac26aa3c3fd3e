// The hidden runtime window.
#include "runtime/hidden_window.h"

#include "runtime/program_end.h"
#include "runtime/runtime_state.h"

namespace {
const char kHiddenClass[] = "DropeditRuntimeWindow";

LRESULT CALLBACK HiddenWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kEndProgramMessage) EndProgram(static_cast<int32_t>(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
}  // namespace

bool CreateHiddenRuntimeWindow(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HiddenWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kHiddenClass;
    RegisterClassA(&wc);  // already registered is fine
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kHiddenClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
    g_runtime.hiddenWindow = hwnd;
    return hwnd != nullptr;
}
