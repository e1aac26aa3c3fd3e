// Window classes and windows: registration, creation and destruction, with
// the Win32 message order for each.
#include "platform/desk/user32/window.h"

#include <strings.h>

#include <cstring>
#include <memory>

#include "platform/desk/gdi32/gdi.h"
#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/text.h"

namespace desk {
namespace {

std::vector<std::unique_ptr<WindowClass>>& Classes() {
    static std::vector<std::unique_ptr<WindowClass>> classes;
    return classes;
}

// Keyed by handle, so iteration is creation order.
std::map<uintptr_t, std::unique_ptr<Window>>& Windows() {
    static std::map<uintptr_t, std::unique_ptr<Window>> windows;
    return windows;
}

std::vector<HWND>& TopLevelOrder() {
    static std::vector<HWND> order;
    return order;
}

uintptr_t g_nextHandle = 0x10020;

// A program's own class hides a built-in class of the same name, as a
// local class does on Win32.
WindowClass* FindClass(LPCSTR name) {
    if (name == nullptr) return nullptr;
    WindowClass* system = nullptr;
    for (const auto& cls : Classes()) {
        if (strcasecmp(cls->name.c_str(), name) != 0) continue;
        if (!cls->system) return cls.get();
        system = cls.get();
    }
    return system;
}

void EraseHandle(std::vector<HWND>& list, HWND hwnd) {
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == hwnd) {
            list.erase(it);
            return;
        }
    }
}

// WM_PARENTNOTIFY climbs the chain of parents until a window that is not a
// child or that asked for no notifications.
void NotifyAncestors(HWND hwnd, UINT event) {
    Window* w = Find(hwnd);
    UINT_PTR id = w != nullptr ? w->id : 0;
    HWND child = hwnd;
    while (w != nullptr && (w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
        HWND parent = w->parent;
        SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, id),
                     reinterpret_cast<LPARAM>(child));
        w = Find(parent);
    }
}

// WM_DESTROY goes to a window before its children.
void SendDestroy(HWND hwnd) {
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    Window* w = Find(hwnd);
    if (w == nullptr) return;
    std::vector<HWND> children = w->children;
    for (HWND child : children) {
        Window* c = Find(child);
        if (c == nullptr) continue;
        c->destroying = true;
        SendDestroy(child);
    }
}

// WM_NCDESTROY goes to the children first; then the record is freed.
void SendNcDestroyAndFree(HWND hwnd) {
    Window* w = Find(hwnd);
    if (w == nullptr) return;
    std::vector<HWND> children = w->children;
    for (HWND child : children) SendNcDestroyAndFree(child);
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    w = Find(hwnd);
    if (w == nullptr) return;
    // A window's menus go with it.
    GetSystemMenu(hwnd, TRUE);
    if (!(w->style & WS_CHILD) && w->menu != nullptr) DestroyMenu(w->menu);
    if (Window* parent = Find(w->parent)) EraseHandle(parent->children, hwnd);
    EraseHandle(TopLevelOrder(), hwnd);
    ForgetWindow(hwnd);
    Windows().erase(reinterpret_cast<uintptr_t>(hwnd));
}

// Win32's first placement of a window given CW_USEDEFAULT.
void DefaultPlacement(int* x, int* y, int* width, int* height) {
    SIZE screen = ScreenSize();
    if (*x == CW_USEDEFAULT) *x = *y = 26;
    if (*width == CW_USEDEFAULT) {
        *width = screen.cx * 3 / 4;
        *height = screen.cy * 3 / 4;
    }
}

}  // namespace

Window* Find(HWND hwnd) {
    auto it = Windows().find(reinterpret_cast<uintptr_t>(hwnd));
    return it == Windows().end() ? nullptr : it->second.get();
}

namespace {

PaintRecord* PaintRecordOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr ? &w->paint : nullptr;
}

// gdi32 records what is drawn into a window's DC in the window's record but
// may not reach up into the window manager; it is handed the lookup before
// any window exists. (The finder pointer is zero before any constructor runs,
// so the order in which the desk's files start does not matter.)
struct HandPaintRecordsToGdi {
    HandPaintRecordsToGdi() { SetPaintRecordFinder(PaintRecordOf); }
} g_handPaintRecordsToGdi;

}  // namespace

std::vector<HWND> TopLevelWindows() {
    return TopLevelOrder();
}

std::vector<HWND> TopLevelWindowsByAge() {
    std::vector<HWND> list;
    for (const auto& entry : Windows()) {
        if (!(entry.second->style & WS_CHILD)) list.push_back(entry.second->handle);
    }
    return list;
}

bool IsShown(const Window& w) {
    for (const Window* p = &w; p != nullptr; p = Find(p->parent)) {
        if ((p->style & WS_VISIBLE) == 0) return false;
    }
    return true;
}

bool IsUsable(const Window& w) {
    for (const Window* p = &w; p != nullptr; p = Find(p->parent)) {
        if (p->style & WS_DISABLED) return false;
    }
    return true;
}

HWND RootOf(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w != nullptr && (w->style & WS_CHILD) && Find(w->parent) != nullptr) w = Find(w->parent);
    return w != nullptr ? w->handle : nullptr;
}

std::vector<HWND>& SiblingsOf(const Window& w) {
    if (Window* parent = Find(w.parent)) return parent->children;
    return TopLevelOrder();
}

void RegisterSystemClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor,
                         HBRUSH background) {
    for (const auto& cls : Classes()) {
        if (cls->system && strcasecmp(cls->name.c_str(), name) == 0) return;
    }
    auto cls = std::make_unique<WindowClass>();
    cls->name = name;
    cls->wc = WNDCLASSEXA{};
    cls->wc.cbSize = sizeof(WNDCLASSEXA);
    cls->wc.style = style | CS_GLOBALCLASS;
    cls->wc.lpfnWndProc = proc;
    cls->wc.hCursor = cursor;
    cls->wc.hbrBackground = background;
    cls->wc.lpszClassName = cls->name.c_str();
    cls->system = true;
    Classes().push_back(std::move(cls));
}

void EnsureSystemClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterEditClass();
    RegisterButtonClass();
}

// The class of that name the instance may see: the system's classes answer
// any instance (null asks for them alone), a program's class only the
// instance that registered it.
const WNDCLASSEXA* FindClassInfo(HINSTANCE instance, LPCSTR name) {
    EnsureSystemClasses();
    WindowClass* cls = FindClass(name);
    return cls != nullptr && (cls->system || cls->wc.hInstance == instance) ? &cls->wc : nullptr;
}

}  // namespace desk

using desk::Find;
using desk::Window;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    desk::WindowClass* existing = desk::FindClass(wc->lpszClassName);
    if (existing != nullptr && !existing->system) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_unique<desk::WindowClass>();
    cls->name = wc->lpszClassName;
    cls->wc = *wc;
    // A class registered without an instance belongs to the program's
    // module, as on Windows; only that instance finds it again.
    if (cls->wc.hInstance == nullptr) cls->wc.hInstance = GetModuleHandleA(nullptr);
    cls->wc.lpszClassName = cls->name.c_str();
    cls->wc.lpszMenuName = nullptr;
    cls->system = false;
    desk::Classes().push_back(std::move(cls));
    return static_cast<ATOM>(0xC000 + desk::Classes().size());
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA ex = {sizeof(WNDCLASSEXA), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                      wc->cbWndExtra,      wc->hInstance,    wc->hIcon,         wc->hCursor,
                      wc->hbrBackground,   wc->lpszMenuName, wc->lpszClassName, nullptr};
    return RegisterClassExA(&ex);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    auto& classes = desk::Classes();
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if ((*it)->system || strcasecmp((*it)->name.c_str(), className) != 0) continue;
        for (const auto& entry : desk::Windows()) {
            if (entry.second->cls == it->get()) return FALSE;  // still in use
        }
        classes.erase(it);
        return TRUE;
    }
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
}

BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* wc) {
    const WNDCLASSEXA* found = desk::FindClassInfo(instance, className);
    if (found == nullptr || wc == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    *wc = *found;
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc) {
    WNDCLASSEXA ex;
    if (!GetClassInfoExA(instance, className, &ex) || wc == nullptr) return FALSE;
    *wc = WNDCLASSA{ex.style, ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                    ex.hIcon, ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    desk::EnsureSystemClasses();
    const desk::WindowClass* cls = desk::FindClass(className);
    if (cls == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (parent == GetDesktopWindow()) parent = nullptr;
    if ((style & WS_CHILD) && Find(parent) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (!(style & WS_CHILD) && parent != nullptr && Find(parent) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // An overlapped window always has a title bar and a border.
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION | WS_CLIPSIBLINGS;
    if (!(style & WS_CHILD)) desk::DefaultPlacement(&x, &y, &width, &height);
    if (width < 0) width = 0;
    if (height < 0) height = 0;

    auto w = std::make_unique<Window>();
    HWND hwnd = reinterpret_cast<HWND>(desk::g_nextHandle);
    desk::g_nextHandle += 4;
    w->handle = hwnd;
    w->thread = GetCurrentThreadId();
    w->cls = cls;
    w->className = className;
    w->proc = cls->wc.lpfnWndProc;
    w->instance = instance;
    w->style =
        style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);  // shown after WM_CREATE, as Win32 does
    w->exStyle = exStyle;
    w->rect = RECT{x, y, x + width, y + height};
    w->restoreRect = w->rect;
    if (style & WS_CHILD) {
        w->parent = parent;
        w->id = reinterpret_cast<UINT_PTR>(menu);
    } else {
        w->owner = desk::RootOf(parent);
        w->menu = menu;
    }
    w->lastClient = desk::ClientArea(*w);
    w->extra.assign(cls->wc.cbWndExtra > 0 ? static_cast<size_t>(cls->wc.cbWndExtra) : 0, 0);
    Window* raw = w.get();
    desk::Windows()[reinterpret_cast<uintptr_t>(hwnd)] = std::move(w);
    if (raw->style & WS_CHILD) {
        // New children go to the bottom of the Z order.
        Find(parent)->children.push_back(hwnd);
    } else {
        // New top-level windows go to the top, below any topmost window.
        auto& order = desk::TopLevelOrder();
        auto at = order.begin();
        if (!(exStyle & WS_EX_TOPMOST)) {
            while (at != order.end() && Find(*at) != nullptr &&
                   (Find(*at)->exStyle & WS_EX_TOPMOST))
                ++at;
        }
        order.insert(at, hwnd);
    }

    CREATESTRUCTA cs = {
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (Find(hwnd) != nullptr) DestroyWindow(hwnd);
        return nullptr;
    }
    if (Find(hwnd) == nullptr) return nullptr;
    if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (Find(hwnd) != nullptr) DestroyWindow(hwnd);
        return nullptr;
    }
    Window* created = Find(hwnd);
    if (created == nullptr) return nullptr;
    // Minimised or maximised from the start: the state is taken quietly,
    // the size messages come with the first showing.
    if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        desk::EnterMinMax(*created, (style & WS_MINIMIZE) ? SW_MINIMIZE : SW_MAXIMIZE);
        created->lastClient = desk::ClientArea(*created);
    }
    // Child and pop-up windows learn their size now; overlapped windows when
    // first shown.
    if (style & (WS_CHILD | WS_POPUP)) desk::SendSizeAndMove(hwnd);
    if (style & WS_CHILD) desk::NotifyAncestors(hwnd, WM_CREATE);
    if (Find(hwnd) == nullptr) return nullptr;
    if (style & WS_VISIBLE) {
        ShowWindow(hwnd, (style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                         : (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                 : SW_SHOW);
    }
    return Find(hwnd) != nullptr ? hwnd : nullptr;
}

// The Win32 order: parents hear of the child's end, the window is hidden
// (passing focus and activation on), owned windows go first, then
// WM_DESTROY from the top down and WM_NCDESTROY from the bottom up.
BOOL DestroyWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (w->destroying) return TRUE;
    w->destroying = true;
    if (w->style & WS_CHILD) desk::NotifyAncestors(hwnd, WM_DESTROY);
    if (Find(hwnd) != nullptr && (Find(hwnd)->style & WS_VISIBLE)) {
        if (Find(hwnd)->style & WS_CHILD) {
            ShowWindow(hwnd, SW_HIDE);
        } else {
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        }
    }
    if (Find(hwnd) == nullptr) return TRUE;
    for (HWND top : desk::TopLevelWindows()) {
        Window* owned = Find(top);
        if (owned != nullptr && owned->owner == hwnd && !owned->destroying) DestroyWindow(top);
    }
    desk::FocusLeavesHidden(hwnd);
    desk::ActivateOtherThan(hwnd);
    if (Find(hwnd) == nullptr) return TRUE;
    desk::SendDestroy(hwnd);
    desk::SendNcDestroyAndFree(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return Find(hwnd) != nullptr || hwnd == GetDesktopWindow();
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
    Window* w = Find(hwnd);
    if (w == nullptr || buffer == nullptr || size <= 0) return 0;
    size_t n = w->cls->name.size() < static_cast<size_t>(size - 1) ? w->cls->name.size()
                                                                   : static_cast<size_t>(size - 1);
    std::memcpy(buffer, w->cls->name.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

DWORD GetClassLongA(HWND hwnd, int index) {
    Window* w = Find(hwnd);
    if (w == nullptr) return 0;
    const WNDCLASSEXA& wc = w->cls->wc;
    switch (index) {
        case GCL_STYLE:
            return wc.style;
        case GCL_WNDPROC:
            return static_cast<DWORD>(reinterpret_cast<uintptr_t>(wc.lpfnWndProc));
        case GCL_HBRBACKGROUND:
            return static_cast<DWORD>(reinterpret_cast<uintptr_t>(wc.hbrBackground));
        case GCL_HCURSOR:
            return static_cast<DWORD>(reinterpret_cast<uintptr_t>(wc.hCursor));
        case GCL_HICON:
            return static_cast<DWORD>(reinterpret_cast<uintptr_t>(wc.hIcon));
        default:
            return 0;
    }
}
