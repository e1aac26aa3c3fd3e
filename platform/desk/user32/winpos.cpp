// Window placement: the screen and the fixed metrics of the desk's window
// frames, outer and client rectangles, SetWindowPos and ShowWindow with the
// Win32 message order, Z order, and the coordinate mappings.
#include <algorithm>
#include <cstdlib>

#include "platform/desk/gdi32/gdi.h"
#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/text.h"
#include "platform/desk/user32/window.h"

using desk::Find;
using desk::Window;

namespace desk {
namespace {

// The desk's frame metrics, those of the classic Windows look. Everything
// that measures a frame (AdjustWindowRectEx, GetClientRect, hit testing,
// GetSystemMetrics) uses these numbers, so they always agree.
constexpr int kBorder = 1;       // SM_CXBORDER: a thin line (WS_BORDER)
constexpr int kEdge = 2;         // SM_CXEDGE: a sunken edge (WS_EX_CLIENTEDGE)
constexpr int kDialogFrame = 3;  // SM_CXDLGFRAME: a fixed frame (WS_DLGFRAME, WS_EX_DLGMODALFRAME)
constexpr int kSizingFrame = 4;  // SM_CXFRAME: a sizing frame (WS_THICKFRAME)
constexpr int kCaption = 19;     // SM_CYCAPTION: title bar
constexpr int kSmallCaption = 15;   // SM_CYSMCAPTION: title bar of a tool window
constexpr int kMenuBar = 19;        // SM_CYMENU
constexpr int kScrollBar = 16;      // SM_CXVSCROLL, SM_CYHSCROLL
constexpr int kCaptionButton = 18;  // SM_CXSIZE, SM_CYSIZE
// A minimised window lies off screen, as on Win32.
constexpr int kMinimisedPos = -32000;
constexpr int kMinimisedWidth = 160;
constexpr int kMinimisedHeight = 31;

// The outer frame alone: sizing, fixed or thin.
int OuterBorder(DWORD style, DWORD exStyle) {
    if (style & WS_THICKFRAME) return kSizingFrame;
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return kDialogFrame;
    if (style & WS_BORDER) return kBorder;
    return 0;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
    if ((style & WS_CAPTION) != WS_CAPTION) return 0;
    return (exStyle & WS_EX_TOOLWINDOW) ? kSmallCaption : kCaption;
}

RECT WithoutScrollBars(DWORD style, DWORD exStyle, bool hasMenu) {
    int border = OuterBorder(style, exStyle);
    if (exStyle & WS_EX_CLIENTEDGE) border += kEdge;
    if (exStyle & WS_EX_STATICEDGE) border += kBorder;
    RECT insets = {border, border, border, border};
    insets.top += CaptionHeight(style, exStyle);
    if (hasMenu) insets.top += kMenuBar;
    return insets;
}

bool HasMenu(const Window& w) {
    return !(w.style & WS_CHILD) && w.menu != nullptr;
}

RECT ClientInWindow(const Window& w) {
    int width = w.rect.right - w.rect.left;
    int height = w.rect.bottom - w.rect.top;
    if (w.style & WS_MINIMIZE) return RECT{0, 0, 0, 0};
    RECT insets = FrameInsets(w.style, w.exStyle, HasMenu(w));
    RECT client = {insets.left, insets.top, width - insets.right, height - insets.bottom};
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    return client;
}

void LogShow(Window& w) {
    if (w.shownOnce || (w.style & WS_CHILD) != 0) return;
    w.shownOnce = true;
    LogLine("{\"event\":\"show\",\"title\":" + JsonText(w.text) +
            ",\"class\":" + JsonText(w.className) + ",\"x\":" + std::to_string(w.rect.left) +
            ",\"y\":" + std::to_string(w.rect.top) +
            ",\"w\":" + std::to_string(w.rect.right - w.rect.left) +
            ",\"h\":" + std::to_string(w.rect.bottom - w.rect.top) + "}");
}

// Moves the window in its sibling list. Top-level windows keep topmost
// windows above the others.
void PlaceInZOrder(Window& w, HWND after) {
    std::vector<HWND>& list = SiblingsOf(w);
    list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
    bool topLevel = !(w.style & WS_CHILD);
    if (topLevel && after == HWND_TOPMOST) {
        w.exStyle |= WS_EX_TOPMOST;
        after = HWND_TOP;
    } else if (topLevel && after == HWND_NOTOPMOST) {
        w.exStyle &= ~WS_EX_TOPMOST;
        after = HWND_TOP;
    } else if (topLevel && after == HWND_BOTTOM) {
        w.exStyle &= ~WS_EX_TOPMOST;
    }
    auto firstPlain = [&list]() {
        auto at = list.begin();
        while (at != list.end() && Find(*at) != nullptr && (Find(*at)->exStyle & WS_EX_TOPMOST))
            ++at;
        return at;
    };
    if (after == HWND_TOP) {
        list.insert((topLevel && !(w.exStyle & WS_EX_TOPMOST)) ? firstPlain() : list.begin(),
                    w.handle);
    } else if (after == HWND_BOTTOM) {
        list.push_back(w.handle);
    } else {
        auto at = std::find(list.begin(), list.end(), after);
        list.insert(at == list.end() ? list.begin() : at + 1, w.handle);
    }
}

RECT MaximisedRect(const Window& w) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int border = OuterBorder(w.style, w.exStyle);
    InflateRect(&work, border, border);
    return work;
}

}  // namespace

RECT FrameInsets(DWORD style, DWORD exStyle, bool hasMenu) {
    RECT insets = WithoutScrollBars(style, exStyle, hasMenu);
    if (style & WS_VSCROLL) insets.right += kScrollBar;
    if (style & WS_HSCROLL) insets.bottom += kScrollBar;
    return insets;
}

RECT ClientArea(const Window& w) {
    return ClientInWindow(w);
}

POINT ClientOrigin(const Window& w) {
    RECT screen = ScreenRect(w);
    RECT client = ClientInWindow(w);
    return POINT{screen.left + client.left, screen.top + client.top};
}

RECT ScreenRect(const Window& w) {
    RECT r = w.rect;
    if (w.style & WS_CHILD) {
        if (Window* parent = Find(w.parent)) {
            POINT origin = ClientOrigin(*parent);
            OffsetRect(&r, origin.x, origin.y);
        }
    }
    return r;
}

int HitTest(const Window& w, POINT screen) {
    RECT outer = ScreenRect(w);
    if (!PtInRect(&outer, screen)) return HTNOWHERE;
    RECT client = ClientInWindow(w);
    OffsetRect(&client, outer.left, outer.top);
    if (PtInRect(&client, screen)) return HTCLIENT;
    POINT box;
    if (CloseBoxPoint(w, &box) && std::abs(screen.x - box.x) <= (kCaption - 4) / 2 &&
        std::abs(screen.y - box.y) <= (kCaption - 4) / 2) {
        return HTCLOSE;
    }
    int border = OuterBorder(w.style, w.exStyle);
    int caption = CaptionHeight(w.style, w.exStyle);
    if (caption > 0 && screen.y >= outer.top + border && screen.y < outer.top + border + caption)
        return HTCAPTION;
    return HTBORDER;
}

// The close box: a square in the right end of the title bar, 2 pixels in
// from its edges.
bool CloseBoxPoint(const Window& w, POINT* screen) {
    int caption = CaptionHeight(w.style, w.exStyle);
    if (caption == 0 || !(w.style & WS_SYSMENU) || !CloseCommandEnabled(w.handle)) return false;
    RECT outer = ScreenRect(w);
    int border = OuterBorder(w.style, w.exStyle);
    int side = caption - 4;
    screen->x = outer.right - border - 2 - side / 2 - 1;
    screen->y = outer.top + border + 2 + side / 2;
    return true;
}

void EnterMinMax(Window& w, int command) {
    bool wasPlain = !(w.style & (WS_MINIMIZE | WS_MAXIMIZE));
    if (command == SW_RESTORE) {
        if (!wasPlain) w.rect = w.restoreRect;
        w.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        return;
    }
    if (wasPlain) w.restoreRect = w.rect;
    w.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (command == SW_MINIMIZE) {
        w.style |= WS_MINIMIZE;
        w.rect = RECT{kMinimisedPos, kMinimisedPos, kMinimisedPos + kMinimisedWidth,
                      kMinimisedPos + kMinimisedHeight};
    } else {
        w.style |= WS_MAXIMIZE;
        w.rect = MaximisedRect(w);
    }
}

void SendSizeAndMove(HWND hwnd) {
    Window* w = Find(hwnd);
    if (w == nullptr) return;
    w->sizeSent = true;
    RECT client = ClientInWindow(*w);
    WPARAM state = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                   : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                              : SIZE_RESTORED;
    SendMessageA(hwnd, WM_SIZE, state,
                 MAKELPARAM(client.right - client.left, client.bottom - client.top));
    w = Find(hwnd);
    if (w == nullptr) return;
    POINT origin = {w->rect.left + client.left, w->rect.top + client.top};
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

// Called by DefWindowProc for WM_WINDOWPOSCHANGED.
void SendPosChangedMessages(HWND hwnd, const WINDOWPOS& pos) {
    Window* w = Find(hwnd);
    if (w == nullptr) return;
    RECT client = ClientInWindow(*w);
    if (!(pos.flags & 0x1000)) {  // the client area moved
        SendMessageA(hwnd, WM_MOVE, 0,
                     MAKELPARAM(w->rect.left + client.left, w->rect.top + client.top));
    }
    w = Find(hwnd);
    if (w != nullptr && !(pos.flags & 0x0800)) {  // the client area changed size
        w->sizeSent = true;
        WPARAM state = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                       : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                  : SIZE_RESTORED;
        SendMessageA(hwnd, WM_SIZE, state,
                     MAKELPARAM(client.right - client.left, client.bottom - client.top));
    }
}

}  // namespace desk

// Flags the desk adds to WINDOWPOS.flags in WM_WINDOWPOSCHANGED, as Win32
// does: the client area kept its place, or its size.
#define DESK_SWP_NOCLIENTSIZE 0x0800
#define DESK_SWP_NOCLIENTMOVE 0x1000

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (flags & SWP_NOMOVE) {
        x = w->rect.left;
        y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        cx = w->rect.right - w->rect.left;
        cy = w->rect.bottom - w->rect.top;
    }
    if (cx < 0) cx = 0;
    if (cy < 0) cy = 0;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if ((flags & SWP_SHOWWINDOW) && wasVisible) flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !wasVisible) flags &= ~SWP_HIDEWINDOW;
    WINDOWPOS pos = {hwnd, insertAfter, x, y, cx, cy, flags};
    if (!(flags & SWP_NOSENDCHANGING)) {
        SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        w = Find(hwnd);
        if (w == nullptr) return FALSE;
    }
    // Compared with the client area of the last placement, so that a frame
    // change (menu bar, styles) made before this call counts.
    RECT oldClient = w->lastClient;
    POINT oldOrigin = {w->rect.left + oldClient.left, w->rect.top + oldClient.top};
    bool sized = pos.cx != w->rect.right - w->rect.left || pos.cy != w->rect.bottom - w->rect.top;
    bool moved = pos.x != w->rect.left || pos.y != w->rect.top;
    // A call that changes nothing is not reported as done.
    bool unchanged = !sized && !moved && (pos.flags & SWP_NOZORDER) &&
                     !(pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED));
    w->rect = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    RECT newClient = desk::ClientInWindow(*w);
    w->lastClient = newClient;
    POINT newOrigin = {w->rect.left + newClient.left, w->rect.top + newClient.top};
    if (newOrigin.x == oldOrigin.x && newOrigin.y == oldOrigin.y)
        pos.flags |= DESK_SWP_NOCLIENTMOVE;
    if (newClient.right - newClient.left == oldClient.right - oldClient.left &&
        newClient.bottom - newClient.top == oldClient.bottom - oldClient.top) {
        pos.flags |= DESK_SWP_NOCLIENTSIZE;
    }
    if (!(pos.flags & SWP_NOZORDER)) desk::PlaceInZOrder(*w, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW) {
        w->style |= WS_VISIBLE;
        desk::LogShow(*w);
        desk::InvalidateTree(hwnd);
    } else if (sized && !(pos.flags & SWP_NOREDRAW)) {
        desk::InvalidateTree(hwnd);
    }
    if (pos.flags & SWP_HIDEWINDOW) {
        w->style &= ~WS_VISIBLE;
        desk::FocusLeavesHidden(hwnd);
        if (!(w->style & WS_CHILD)) desk::ActivateOtherThan(hwnd);
        if (Window* parent = Find(w->parent)) {
            parent->needsPaint = true;  // what the window covered shows again
        }
    }
    w = Find(hwnd);
    if (w == nullptr) return TRUE;
    if (!(w->style & WS_CHILD) && !(pos.flags & SWP_NOACTIVATE) && (w->style & WS_VISIBLE)) {
        desk::ActivateWindow(hwnd, WA_ACTIVE);
        if (Find(hwnd) == nullptr) return TRUE;
    }
    if (!unchanged) SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool show = command != SW_HIDE;
    UINT flags = 0;
    int minmax = 0;
    switch (command) {
        case SW_HIDE:
            if (!wasVisible) return FALSE;
            flags = SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            flags = SWP_NOACTIVATE | SWP_NOZORDER;
            minmax = SW_MINIMIZE;
            break;
        case SW_SHOWMINIMIZED:
            minmax = SW_MINIMIZE;
            break;
        case SW_SHOWMAXIMIZED:
            minmax = SW_MAXIMIZE;
            break;
        case SW_SHOWNA:
            flags = SWP_NOACTIVATE | SWP_NOZORDER;
            break;
        case SW_SHOWNOACTIVATE:
            flags = SWP_NOACTIVATE | SWP_NOZORDER;
            if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) minmax = SW_RESTORE;
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
        case SW_SHOWDEFAULT:
            if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) minmax = SW_RESTORE;
            break;
        default:
            break;
    }
    if (minmax == SW_MINIMIZE && (w->style & WS_MINIMIZE)) minmax = 0;
    if (minmax == SW_MAXIMIZE && (w->style & WS_MAXIMIZE)) minmax = 0;
    if (show) flags |= SWP_SHOWWINDOW;
    if (w->style & WS_CHILD) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    if (show != wasVisible) {
        SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        w = Find(hwnd);
        if (w == nullptr) return wasVisible;
    }
    RECT target = w->rect;
    if (minmax != 0) {
        RECT old = w->rect;
        desk::EnterMinMax(*w, minmax);
        target = w->rect;
        w->rect = old;
        flags |= SWP_FRAMECHANGED;
    } else {
        flags |= SWP_NOMOVE | SWP_NOSIZE;
    }
    bool wasActive = GetActiveWindow() == hwnd;
    SetWindowPos(hwnd, HWND_TOP, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, flags);
    if (minmax == SW_MINIMIZE && wasActive && command != SW_SHOWMINIMIZED)
        desk::ActivateOtherThan(hwnd);
    w = Find(hwnd);
    if (w != nullptr && show && !w->sizeSent) desk::SendSizeAndMove(hwnd);
    return wasVisible;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr && desk::IsShown(*w);
}

BOOL IsIconic(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr && (w->style & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr && (w->style & WS_MAXIMIZE) != 0;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    if (rect == nullptr) return FALSE;
    if (hwnd == GetDesktopWindow()) {
        SIZE screen = desk::ScreenSize();
        *rect = RECT{0, 0, screen.cx, screen.cy};
        return TRUE;
    }
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = desk::ScreenRect(*w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    if (rect == nullptr) return FALSE;
    if (hwnd == GetDesktopWindow()) return GetWindowRect(hwnd, rect);
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RECT client = desk::ClientInWindow(*w);
    *rect = RECT{0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

namespace {
// The screen position of a window's client origin; the desktop and null
// stand for the screen itself.
bool OriginOf(HWND hwnd, POINT* origin) {
    if (hwnd == nullptr || hwnd == GetDesktopWindow()) {
        *origin = POINT{0, 0};
        return true;
    }
    Window* w = Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    *origin = desk::ClientOrigin(*w);
    return true;
}
}  // namespace

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    POINT origin;
    if (point == nullptr || hwnd == nullptr || !OriginOf(hwnd, &origin)) return FALSE;
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
    POINT origin;
    if (point == nullptr || hwnd == nullptr || !OriginOf(hwnd, &origin)) return FALSE;
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT a;
    POINT b;
    if (!OriginOf(from, &a) || !OriginOf(to, &b)) return 0;
    int dx = a.x - b.x;
    int dy = a.y - b.y;
    for (UINT i = 0; i < count && points != nullptr; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(dx, dy);
}

namespace {
// The deepest visible, enabled child under a screen point; a disabled child
// lets the point fall to its parent, as Win32 hit testing does.
HWND ChildUnder(HWND hwnd, POINT screen) {
    Window* w = Find(hwnd);
    if (w == nullptr || desk::HitTest(*w, screen) != HTCLIENT) return hwnd;
    for (HWND child : w->children) {
        Window* c = Find(child);
        if (c == nullptr || !(c->style & WS_VISIBLE) || (c->style & WS_DISABLED)) continue;
        RECT r = desk::ScreenRect(*c);
        if (PtInRect(&r, screen)) return ChildUnder(child, screen);
    }
    return hwnd;
}
}  // namespace

HWND WindowFromPoint(POINT point) {
    for (HWND top : desk::TopLevelWindows()) {
        Window* w = Find(top);
        if (w == nullptr || !(w->style & WS_VISIBLE)) continue;
        RECT r = desk::ScreenRect(*w);
        if (PtInRect(&r, point)) return ChildUnder(top, point);
    }
    return nullptr;
}

// Scroll bars are not counted, as on Win32.
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (rect == nullptr) return FALSE;
    RECT insets = desk::WithoutScrollBars(style, exStyle, menu != FALSE);
    rect->left -= insets.left;
    rect->top -= insets.top;
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

UINT GetDpiForWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return 0;
    return static_cast<UINT>(desk::ScreenDpi());
}

int GetSystemMetrics(int index) {
    SIZE screen = desk::ScreenSize();
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
            return screen.cx;
        case SM_CYSCREEN:
            return screen.cy;
        case SM_CYFULLSCREEN:
            return screen.cy - desk::kCaption;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
            return desk::kScrollBar;
        case SM_CYCAPTION:
            return desk::kCaption;
        case SM_CYSMCAPTION:
            return desk::kSmallCaption;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return desk::kBorder;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return desk::kDialogFrame;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return desk::kSizingFrame;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return desk::kEdge;
        case SM_CYMENU:
            return desk::kMenuBar;
        case SM_CXSIZE:
        case SM_CYSIZE:
            return desk::kCaptionButton;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CXMIN:
        case SM_CXMINTRACK:
            return 112;
        case SM_CYMIN:
        case SM_CYMINTRACK:
            return 27;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_CXMAXIMIZED:
            return screen.cx + 2 * desk::kSizingFrame;
        case SM_CYMAXIMIZED:
            return screen.cy + 2 * desk::kSizingFrame;
        default:
            return 0;
    }
}

// The desk has no task bar: the work area is the whole screen.
BOOL SystemParametersInfoA(UINT action, UINT, LPVOID pvParam, UINT) {
    if (action == SPI_GETWORKAREA && pvParam != nullptr) {
        SIZE screen = desk::ScreenSize();
        *static_cast<RECT*>(pvParam) = RECT{0, 0, screen.cx, screen.cy};
        return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (rect == nullptr) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) {
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT to, const RECT* from) {
    if (to == nullptr || from == nullptr) return FALSE;
    *to = *from;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left -= dx;
    rect->top -= dy;
    rect->right += dx;
    rect->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect != nullptr && point.x >= rect->left && point.x < rect->right &&
           point.y >= rect->top && point.y < rect->bottom;
}

BOOL IsRectEmpty(const RECT* rect) {
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL IntersectRect(LPRECT out, const RECT* a, const RECT* b) {
    if (out == nullptr || a == nullptr || b == nullptr) return FALSE;
    RECT r = {std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
              std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *out = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *out = r;
    return TRUE;
}
