// Window classes and windows: registration, creation, destruction, showing
// and window text, with the Win32 message order for each.
#include "platform/desk/desk_window.h"

#include <strings.h>

#include <cstring>
#include <map>
#include <memory>

#include "platform/desk/desk_log.h"
#include "platform/desk/desk_text.h"

namespace desk {
namespace {

std::vector<std::unique_ptr<WindowClass>>& Classes() {
    static std::vector<std::unique_ptr<WindowClass>> classes;
    return classes;
}

std::map<uintptr_t, std::unique_ptr<Window>>& Windows() {
    static std::map<uintptr_t, std::unique_ptr<Window>> windows;
    return windows;
}

std::vector<HWND>& TopLevelOrder() {
    static std::vector<HWND> order;
    return order;
}

uintptr_t g_nextHandle = 0x10010;

const WindowClass* FindClass(LPCSTR name) {
    if (name == nullptr) return nullptr;
    for (const auto& cls : Classes()) {
        if (strcasecmp(cls->name.c_str(), name) == 0) return cls.get();
    }
    return nullptr;
}

void EraseHandle(std::vector<HWND>& list, HWND hwnd) {
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == hwnd) {
            list.erase(it);
            return;
        }
    }
}

void LogShow(Window& w) {
    if (w.shownOnce || (w.style & WS_CHILD) != 0) return;
    w.shownOnce = true;
    LogLine("{\"event\":\"show\",\"title\":" + JsonText(w.text) + ",\"class\":" + JsonText(w.cls->name) +
            ",\"x\":" + std::to_string(w.rect.left) + ",\"y\":" + std::to_string(w.rect.top) +
            ",\"w\":" + std::to_string(w.rect.right - w.rect.left) +
            ",\"h\":" + std::to_string(w.rect.bottom - w.rect.top) + "}");
}

// WM_DESTROY goes to a window before its children, WM_NCDESTROY after them.
void DestroyTree(HWND hwnd) {
    Window* w = Find(hwnd);
    if (w == nullptr || w->destroying) return;
    w->destroying = true;
    if (w->style & WS_VISIBLE) {
        w->style &= ~WS_VISIBLE;
    }
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children = Find(hwnd) ? Find(hwnd)->children : std::vector<HWND>{};
    for (HWND child : children) DestroyTree(child);
    // Owned top-level windows go with their owner.
    for (HWND top : TopLevelWindows()) {
        Window* owned = Find(top);
        if (owned != nullptr && owned->owner == hwnd) DestroyTree(top);
    }
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    w = Find(hwnd);
    if (w == nullptr) return;
    if (Window* parent = Find(w->parent)) EraseHandle(parent->children, hwnd);
    EraseHandle(TopLevelOrder(), hwnd);
    Windows().erase(reinterpret_cast<uintptr_t>(hwnd));
}

}  // namespace

Window* Find(HWND hwnd) {
    auto it = Windows().find(reinterpret_cast<uintptr_t>(hwnd));
    return it == Windows().end() ? nullptr : it->second.get();
}

std::vector<HWND> TopLevelWindows() { return TopLevelOrder(); }

bool IsShown(const Window& w) {
    for (const Window* p = &w; p != nullptr; p = Find(p->parent)) {
        if ((p->style & WS_VISIBLE) == 0) return false;
    }
    return true;
}

}  // namespace desk

using desk::Find;
using desk::Window;

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (desk::FindClass(wc->lpszClassName) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_unique<desk::WindowClass>();
    cls->name = wc->lpszClassName;
    cls->wc = *wc;
    cls->wc.lpszClassName = cls->name.c_str();
    cls->wc.lpszMenuName = nullptr;
    desk::Classes().push_back(std::move(cls));
    return static_cast<ATOM>(0xC000 + desk::Classes().size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    auto& classes = desk::Classes();
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (strcasecmp((*it)->name.c_str(), className) == 0) {
            for (const auto& entry : desk::Windows()) {
                if (entry.second->cls == it->get()) return FALSE;  // still in use
            }
            classes.erase(it);
            return TRUE;
        }
    }
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    const desk::WindowClass* cls = desk::FindClass(className);
    if (cls == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if ((style & WS_CHILD) && Find(parent) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    auto w = std::make_unique<Window>();
    HWND hwnd = reinterpret_cast<HWND>(desk::g_nextHandle);
    desk::g_nextHandle += 4;
    w->handle = hwnd;
    w->cls = cls;
    w->proc = cls->wc.lpfnWndProc;
    w->style = style & ~WS_VISIBLE;  // shown after WM_CREATE, as Win32 does
    w->exStyle = exStyle;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    w->rect = RECT{x, y, x + width, y + height};
    if (style & WS_CHILD) {
        w->parent = parent;
        w->id = reinterpret_cast<UINT_PTR>(menu);
    } else {
        w->owner = parent;
    }
    w->text = windowName != nullptr ? windowName : "";
    Window* raw = w.get();
    desk::Windows()[reinterpret_cast<uintptr_t>(hwnd)] = std::move(w);
    if (raw->style & WS_CHILD) {
        // New children go to the bottom of the Z order.
        Find(parent)->children.push_back(hwnd);
    } else {
        desk::TopLevelOrder().insert(desk::TopLevelOrder().begin(), hwnd);
    }

    CREATESTRUCTA cs = {param, instance, menu, parent, height, width, y, x,
                        static_cast<LONG>(style), windowName, className, exStyle};
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (Find(hwnd) == nullptr) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
    if (Find(hwnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    desk::DestroyTree(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr; }

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr && desk::IsShown(*w);
}

BOOL ShowWindow(HWND hwnd, int command) {
    Window* w = Find(hwnd);
    if (w == nullptr) return FALSE;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool show = command != SW_HIDE;
    if (show != wasVisible) {
        SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        w = Find(hwnd);
        if (w == nullptr) return wasVisible;
        if (show) {
            w->style |= WS_VISIBLE;
            desk::LogShow(*w);
        } else {
            w->style &= ~WS_VISIBLE;
        }
    }
    return wasVisible ? TRUE : FALSE;
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (w == nullptr) return 0;
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return TRUE;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_GETTEXT: {
            if (wParam == 0) return 0;
            size_t n = w->text.size() < wParam - 1 ? w->text.size() : wParam - 1;
            std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
            reinterpret_cast<char*>(lParam)[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        default:
            return 0;
    }
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc(hwnd, message, wParam, lParam);
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    // Stock cursors are identified by their resource number.
    return reinterpret_cast<HCURSOR>(reinterpret_cast<uintptr_t>(name));
}
