// Window text, window longs and properties, and the relations between
// windows (parent, owner, siblings, children).
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/desk/user32/window.h"

using desk::Find;
using desk::Window;

namespace {

// The desktop is not a record; its handle only answers a few questions.
const HWND kDesktop = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10010));

// Property names are atoms: case-insensitive, and integer atoms by number.
std::string PropKey(LPCSTR name) {
    uintptr_t value = reinterpret_cast<uintptr_t>(name);
    if (value < 0x10000) return "#" + std::to_string(value);
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

void CollectDescendants(const Window& w, std::vector<HWND>* out) {
    for (HWND child : w.children) {
        out->push_back(child);
        if (Window* c = Find(child)) CollectDescendants(*c, out);
    }
}

LONG ChangeStyle(HWND hwnd, int index, DWORD value) {
    Window* w = Find(hwnd);
    DWORD old = index == GWL_STYLE ? w->style : w->exStyle;
    STYLESTRUCT ss = {old, value};
    SendMessageA(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    w = Find(hwnd);
    if (w == nullptr) return static_cast<LONG>(old);
    if (index == GWL_STYLE) {
        w->style = ss.styleNew;
    } else {
        w->exStyle = ss.styleNew;
    }
    ss.styleOld = old;
    SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    return static_cast<LONG>(old);
}

}  // namespace

HWND GetDesktopWindow() {
    return kDesktop;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (Find(hwnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    buffer[0] = '\0';
    if (Find(hwnd) == nullptr) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
    if (Find(hwnd) == nullptr) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetDlgItemTextA(HWND parent, int id, LPCSTR text) {
    return SetWindowTextA(GetDlgItem(parent, id), text);
}

UINT GetDlgItemTextA(HWND parent, int id, LPSTR buffer, int size) {
    return static_cast<UINT>(GetWindowTextA(GetDlgItem(parent, id), buffer, size));
}

LONG GetWindowLongA(HWND hwnd, int index) {
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
        case GWL_WNDPROC:
            return static_cast<LONG>(reinterpret_cast<uintptr_t>(w->proc));
        case GWL_HINSTANCE:
            return static_cast<LONG>(reinterpret_cast<uintptr_t>(w->instance));
        case GWL_HWNDPARENT:
            return static_cast<LONG>(
                reinterpret_cast<uintptr_t>((w->style & WS_CHILD) ? w->parent : w->owner));
        case GWL_ID:
            return static_cast<LONG>(w->id);
        case GWL_STYLE:
            return static_cast<LONG>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(w->exStyle);
        case GWL_USERDATA:
            return static_cast<LONG>(w->userData);
        default:
            break;
    }
    if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG) <= w->extra.size()) {
        LONG value;
        std::memcpy(&value, w->extra.data() + index, sizeof value);
        return value;
    }
    SetLastError(1413);  // ERROR_INVALID_INDEX
    return 0;
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG old = 0;
    switch (index) {
        case GWL_WNDPROC:
            old = static_cast<LONG>(reinterpret_cast<uintptr_t>(w->proc));
            w->proc = reinterpret_cast<WNDPROC>(static_cast<uintptr_t>(static_cast<DWORD>(value)));
            return old;
        case GWL_HINSTANCE:
            old = static_cast<LONG>(reinterpret_cast<uintptr_t>(w->instance));
            w->instance =
                reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(static_cast<DWORD>(value)));
            return old;
        case GWL_HWNDPARENT:
            if (w->style & WS_CHILD)
                return static_cast<LONG>(reinterpret_cast<uintptr_t>(w->parent));
            old = static_cast<LONG>(reinterpret_cast<uintptr_t>(w->owner));
            w->owner = desk::RootOf(
                reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<DWORD>(value))));
            return old;
        case GWL_ID:
            old = static_cast<LONG>(w->id);
            w->id = static_cast<UINT_PTR>(static_cast<DWORD>(value));
            return old;
        case GWL_STYLE:
        case GWL_EXSTYLE:
            return ChangeStyle(hwnd, index, static_cast<DWORD>(value));
        case GWL_USERDATA:
            old = static_cast<LONG>(w->userData);
            w->userData = value;
            return old;
        default:
            break;
    }
    if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG) <= w->extra.size()) {
        std::memcpy(&old, w->extra.data() + index, sizeof old);
        std::memcpy(w->extra.data() + index, &value, sizeof value);
        return old;
    }
    SetLastError(1413);  // ERROR_INVALID_INDEX
    return 0;
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
    Window* w = Find(hwnd);
    if (w == nullptr || name == nullptr) return FALSE;
    w->props[PropKey(name)] = data;
    return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name) {
    Window* w = Find(hwnd);
    if (w == nullptr || name == nullptr) return nullptr;
    auto it = w->props.find(PropKey(name));
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name) {
    Window* w = Find(hwnd);
    if (w == nullptr || name == nullptr) return nullptr;
    auto it = w->props.find(PropKey(name));
    if (it == w->props.end()) return nullptr;
    HANDLE data = it->second;
    w->props.erase(it);
    return data;
}

// A child's parent; a pop-up's owner; nothing for an overlapped window.
HWND GetParent(HWND hwnd) {
    Window* w = Find(hwnd);
    if (w == nullptr) return nullptr;
    if (w->style & WS_CHILD) return w->parent;
    if (w->style & WS_POPUP) return w->owner;
    return nullptr;
}

// The child keeps its coordinates, now read in the new parent's client
// area, and goes to the top of its new siblings.
HWND SetParent(HWND hwnd, HWND newParent) {
    Window* w = Find(hwnd);
    if (newParent == kDesktop) newParent = nullptr;
    if (w == nullptr || (newParent != nullptr && Find(newParent) == nullptr) || hwnd == newParent ||
        IsChild(hwnd, newParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND old = (w->style & WS_CHILD) ? w->parent : kDesktop;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (wasVisible) ShowWindow(hwnd, SW_HIDE);
    w = Find(hwnd);
    if (w == nullptr) return nullptr;
    std::vector<HWND>& from = desk::SiblingsOf(*w);
    from.erase(std::remove(from.begin(), from.end(), hwnd), from.end());
    w->parent = newParent;
    if (newParent == nullptr) w->owner = nullptr;
    desk::SiblingsOf(*w).insert(desk::SiblingsOf(*w).begin(), hwnd);
    if (wasVisible) ShowWindow(hwnd, SW_SHOWNA);
    return old;
}

HWND GetWindow(HWND hwnd, UINT command) {
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    const std::vector<HWND>& siblings = desk::SiblingsOf(*w);
    auto at = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (command) {
        case GW_HWNDFIRST:
            return siblings.empty() ? nullptr : siblings.front();
        case GW_HWNDLAST:
            return siblings.empty() ? nullptr : siblings.back();
        case GW_HWNDNEXT:
            return (at == siblings.end() || at + 1 == siblings.end()) ? nullptr : *(at + 1);
        case GW_HWNDPREV:
            return (at == siblings.end() || at == siblings.begin()) ? nullptr : *(at - 1);
        case GW_OWNER:
            return (w->style & WS_CHILD) ? nullptr : w->owner;
        case GW_CHILD:
            return w->children.empty() ? nullptr : w->children.front();
        case GW_ENABLEDPOPUP:
            for (HWND top : desk::TopLevelWindows()) {
                Window* t = Find(top);
                if (t != nullptr && t->owner == hwnd && (t->style & WS_VISIBLE) &&
                    !(t->style & WS_DISABLED))
                    return top;
            }
            return nullptr;
        default:
            return nullptr;
    }
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Window* w = Find(hwnd);
    if (w == nullptr) return nullptr;
    switch (flags) {
        case GA_PARENT:
            return (w->style & WS_CHILD) ? w->parent : kDesktop;
        case GA_ROOT:
            return desk::RootOf(hwnd);
        case GA_ROOTOWNER: {
            HWND root = desk::RootOf(hwnd);
            while (Find(root) != nullptr && Find(root)->owner != nullptr) root = Find(root)->owner;
            return root;
        }
        default:
            return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    if (hwnd == nullptr || hwnd == kDesktop) {
        std::vector<HWND> tops = desk::TopLevelWindows();
        return tops.empty() ? nullptr : tops.front();
    }
    return GetWindow(hwnd, GW_CHILD);
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Window* w = Find(hwnd);
    while (w != nullptr && (w->style & WS_CHILD)) {
        if (w->parent == parent) return TRUE;
        w = Find(w->parent);
    }
    return FALSE;
}

// Only direct children are searched, as on Win32.
HWND GetDlgItem(HWND parent, int id) {
    Window* w = Find(parent);
    if (w == nullptr) return nullptr;
    for (HWND child : w->children) {
        Window* c = Find(child);
        if (c != nullptr && c->id == static_cast<UINT_PTR>(static_cast<UINT>(id))) return child;
    }
    SetLastError(1421);  // ERROR_CONTROL_ID_NOT_FOUND
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = Find(hwnd);
    return (w != nullptr && (w->style & WS_CHILD)) ? static_cast<int>(w->id) : 0;
}

LRESULT SendDlgItemMessageA(HWND parent, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(parent, id);
    return control != nullptr ? SendMessageA(control, message, wParam, lParam) : 0;
}

// Every descendant, each followed by its own descendants; the list is taken
// first so that windows created or destroyed by the callback do not upset
// it. Without a parent it is EnumWindows, as on Win32.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (parent == nullptr || parent == kDesktop) return EnumWindows(proc, lParam);
    std::vector<HWND> list;
    if (Window* w = Find(parent)) CollectDescendants(*w, &list);
    for (HWND hwnd : list) {
        if (Find(hwnd) != nullptr && !proc(hwnd, lParam)) break;
    }
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    for (HWND hwnd : desk::TopLevelWindows()) {
        if (Find(hwnd) != nullptr && !proc(hwnd, lParam)) return FALSE;
    }
    return TRUE;
}

BOOL EnumThreadWindows(DWORD, WNDENUMPROC proc, LPARAM lParam) {
    return EnumWindows(proc, lParam);
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    if (Find(hwnd) == nullptr) return 0;
    if (processId != nullptr) *processId = 1;
    static DWORD mainThread = GetCurrentThreadId();
    return mainThread;
}
