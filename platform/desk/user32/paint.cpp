// Painting as user32 drives it: update flags, WM_PAINT through the queue,
// BeginPaint/EndPaint and window DCs; plus icons and cursors, which the desk
// keeps as handles without pixels, and the common controls' registration.
#include <cstring>
#include <map>

#include "platform/desk/gdi32/gdi.h"
#include "platform/desk/user32/window.h"

using desk::Find;
using desk::Window;

namespace desk {

void InvalidateTree(HWND hwnd) {
    Window* w = Find(hwnd);
    if (w == nullptr) return;
    w->needsPaint = true;
    w->needsErase = true;
    for (HWND child : w->children) InvalidateTree(child);
}

}  // namespace desk

// The desk keeps no update region, only whether there is one: a window is
// repainted whole.
BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
    if (hwnd == nullptr) {
        for (HWND top : desk::TopLevelWindows()) desk::InvalidateTree(top);
        return TRUE;
    }
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    w->needsPaint = true;
    if (erase) w->needsErase = true;
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT*) {
    Window* w = Find(hwnd);
    if (w == nullptr) return FALSE;
    w->needsPaint = false;
    w->needsErase = false;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (w == nullptr) return FALSE;
    if (w->needsPaint && desk::IsShown(*w)) SendMessageA(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
    Window* w = Find(hwnd);
    if (w == nullptr) return FALSE;
    if (flags & RDW_INVALIDATE) {
        if (flags & RDW_ALLCHILDREN) {
            desk::InvalidateTree(hwnd);
        } else {
            InvalidateRect(hwnd, rect, (flags & RDW_ERASE) ? TRUE : FALSE);
        }
    }
    if (flags & RDW_UPDATENOW) {
        UpdateWindow(hwnd);
        if (flags & RDW_ALLCHILDREN) {
            std::vector<HWND> children =
                Find(hwnd) != nullptr ? Find(hwnd)->children : std::vector<HWND>{};
            for (HWND child : children)
                RedrawWindow(child, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
    }
    return TRUE;
}

// WM_ERASEBKGND comes first when the background is due; fErase tells the
// caller whether it still has to erase it itself.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    Window* w = Find(hwnd);
    if (w == nullptr || paint == nullptr) return nullptr;
    bool erase = w->needsErase;
    w->needsPaint = false;
    w->needsErase = false;
    HDC dc = desk::NewDC(hwnd);
    std::memset(paint, 0, sizeof *paint);
    paint->hdc = dc;
    GetClientRect(hwnd, &paint->rcPaint);
    if (erase)
        paint->fErase =
            SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    if (Window* w = Find(hwnd)) ++w->paint.count;
    desk::FreeDC(paint->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    if (hwnd != nullptr && hwnd != GetDesktopWindow() && Find(hwnd) == nullptr) return nullptr;
    return desk::NewDC(hwnd == GetDesktopWindow() ? nullptr : hwnd);
}

int ReleaseDC(HWND, HDC dc) {
    desk::FreeDC(dc);
    return 1;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    static std::map<uintptr_t, HCURSOR> stock;
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (instance != nullptr || id >= 0x10000) return nullptr;  // the desk has no resources
    HCURSOR& cursor = stock[id];
    if (cursor == nullptr) cursor = desk::NewIcon(false, true);
    return cursor;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    static std::map<uintptr_t, HICON> stock;
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (instance != nullptr || id >= 0x10000) {
        SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND: the desk has no resources
        return nullptr;
    }
    HICON& icon = stock[id];
    if (icon == nullptr) icon = desk::NewIcon(true, true);
    return icon;
}

// Accepts what Windows accepts in practice: a DIB (BITMAPINFOHEADER, 40
// bytes, one plane) or a PNG image; a cursor's bits start with its hot spot.
HICON CreateIconFromResourceEx(BYTE* bits, DWORD size, BOOL icon, DWORD version, int, int, UINT) {
    if (bits == nullptr || version != 0x00030000) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD skip = icon ? 0 : 4;
    static const BYTE kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    bool ok = false;
    if (size >= skip + 8 && std::memcmp(bits + skip, kPng, 8) == 0) {
        ok = true;
    } else if (size >= skip + 40) {
        DWORD header;
        WORD planes;
        std::memcpy(&header, bits + skip, 4);
        std::memcpy(&planes, bits + skip + 12, 2);
        ok = header == 40 && planes == 1;
    }
    if (!ok) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return desk::NewIcon(icon != FALSE, false);
}

HICON CreateIconFromResource(BYTE* bits, DWORD size, BOOL icon, DWORD version) {
    return CreateIconFromResourceEx(bits, size, icon, version, 0, 0, LR_DEFAULTSIZE);
}

BOOL DestroyIcon(HICON icon) {
    return desk::FreeIcon(icon) ? TRUE : FALSE;
}

BOOL DestroyCursor(HCURSOR cursor) {
    return desk::FreeIcon(cursor) ? TRUE : FALSE;
}

void InitCommonControls() {
    desk::RegisterUpDownClass();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
    if (init->dwICC & (ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES)) desk::RegisterUpDownClass();
    return TRUE;
}
