// Classes, windows, window texts, properties and the message functions of
// the UTF-16 layer. Every class is registered with RegisterClassW, so every
// window the runtime makes is a Unicode window and keeps its texts in
// UTF-16; the runtime's procedures sit behind thunks (wide_procs.h).
#define DROPEDIT_WIDE_LAYER
#include <string>

#include "platform/wide/wide_messages.h"
#include "platform/wide/wide_procs.h"
#include "platform/wide/wide_text.h"
#include "platform/win32_wide.h"

namespace wide {

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr) return RegisterClassW(nullptr);
    WNDPROC proc = ProcForWindow(wc->lpfnWndProc);
    if (wc->lpfnWndProc != nullptr && proc == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    WideName menu(wc->lpszMenuName);
    WideName name(wc->lpszClassName);
    WNDCLASSW w;
    w.style = wc->style;
    w.lpfnWndProc = proc;
    w.cbClsExtra = wc->cbClsExtra;
    w.cbWndExtra = wc->cbWndExtra;
    w.hInstance = wc->hInstance;
    w.hIcon = wc->hIcon;
    w.hCursor = wc->hCursor;
    w.hbrBackground = wc->hbrBackground;
    w.lpszMenuName = menu.get();
    w.lpszClassName = name.get();
    return RegisterClassW(&w);
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc) {
    WideName name(className);
    WNDCLASSW w;
    if (!GetClassInfoW(instance, name.get(), &w)) return FALSE;
    wc->style = w.style;
    wc->lpfnWndProc = ProcForRuntime(w.lpfnWndProc);
    wc->cbClsExtra = w.cbClsExtra;
    wc->cbWndExtra = w.cbWndExtra;
    wc->hInstance = w.hInstance;
    wc->hIcon = w.hIcon;
    wc->hCursor = w.hCursor;
    wc->hbrBackground = w.hbrBackground;
    // A menu name given as a text has no ANSI copy to point at; the runtime
    // never reads it.
    wc->lpszMenuName =
        IS_INTRESOURCE(w.lpszMenuName) ? reinterpret_cast<LPCSTR>(w.lpszMenuName) : nullptr;
    wc->lpszClassName = className;
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    WideName wideClass(className);
    WideName wideName(windowName);
    return CreateWindowExW(exStyle, wideClass.get(), wideName.get(), style, x, y, width, height,
                           parent, menu, instance, param);
}

LONG GetWindowLongA(HWND hwnd, int index) {
    LONG value = GetWindowLongW(hwnd, index);
    if (index != GWL_WNDPROC) return value;
    return reinterpret_cast<LONG>(ProcForRuntime(reinterpret_cast<WNDPROC>(value)));
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
    if (index != GWL_WNDPROC) return SetWindowLongW(hwnd, index, value);
    WNDPROC proc = ProcForWindow(reinterpret_cast<WNDPROC>(value));
    if (proc == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    LONG old = SetWindowLongW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(proc));
    return reinterpret_cast<LONG>(ProcForRuntime(reinterpret_cast<WNDPROC>(old)));
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallAsWide(WideReceiver::kDefault, nullptr, hwnd, message, wParam, lParam);
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The runtime's own procedures take the ANSI form as it is.
    if (IsGbkProc(proc)) return proc(hwnd, message, wParam, lParam);
    return CallAsWide(WideReceiver::kProcedure, proc, hwnd, message, wParam, lParam);
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
    WideName wideName(name);
    return SetPropW(hwnd, wideName.get(), data);
}

HANDLE GetPropA(HWND hwnd, LPCSTR name) {
    WideName wideName(name);
    return GetPropW(hwnd, wideName.get());
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name) {
    WideName wideName(name);
    return RemovePropW(hwnd, wideName.get());
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (text == nullptr) return SetWindowTextW(hwnd, nullptr);
    std::wstring wideText = Widen(text);
    return SetWindowTextW(hwnd, wideText.c_str());
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    std::wstring text = WindowTextW(hwnd);
    return static_cast<int>(
        CopyNarrow(text.data(), text.size(), buffer, static_cast<size_t>(size)));
}

int GetWindowTextLengthA(HWND hwnd) {
    std::wstring text = WindowTextW(hwnd);
    return static_cast<int>(NarrowLength(text.data(), text.size()));
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallAsWide(WideReceiver::kWindow, nullptr, hwnd, message, wParam, lParam);
}

// The runtime posts only its own messages, which carry no texts.
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(hwnd, message, wParam, lParam);
}

// The loops take messages in W form and hand them to DispatchMessageA
// untouched; they look at nothing but key-down messages and WM_QUIT, which
// are the same in both forms.
BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    return GetMessageW(msg, hwnd, filterMin, filterMax);
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    return PeekMessageW(msg, hwnd, filterMin, filterMax, remove);
}

LRESULT DispatchMessageA(const MSG* msg) {
    return DispatchMessageW(msg);
}

}  // namespace wide
