// user32 (and the part of comctl32 the runtime needs) as the desk provides
// it: window classes, windows, placement, focus and activation, the
// per-thread message queue, painting, input state and message boxes.
#pragma once

#include "platform/desk/win32_types.h"

// Classes.
ATOM RegisterClassA(const WNDCLASSA* wc);
ATOM RegisterClassExA(const WNDCLASSEXA* wc);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc);
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* wc);
int GetClassNameA(HWND hwnd, LPSTR buffer, int size);
DWORD GetClassLongA(HWND hwnd, int index);

// Windows.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LONG GetWindowLongA(HWND hwnd, int index);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);
#define GetWindowLongPtrA GetWindowLongA
#define SetWindowLongPtrA SetWindowLongA
BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND hwnd, LPCSTR name);
HANDLE RemovePropA(HWND hwnd, LPCSTR name);

// Text.
BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND hwnd);
BOOL SetDlgItemTextA(HWND parent, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND parent, int id, LPSTR buffer, int size);

// Relations.
HWND GetParent(HWND hwnd);
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetWindow(HWND hwnd, UINT command);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
LRESULT SendDlgItemMessageA(HWND parent, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam);
DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);

// Placement, visibility and metrics.
BOOL ShowWindow(HWND hwnd, int command);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
HWND WindowFromPoint(POINT point);
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
int GetSystemMetrics(int index);
// The DPI the window is drawn for (Windows 10 1607 and later).
UINT GetDpiForWindow(HWND hwnd);
BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// Rectangles.
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL CopyRect(LPRECT to, const RECT* from);
BOOL InflateRect(LPRECT rect, int dx, int dy);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL IsRectEmpty(const RECT* rect);
BOOL IntersectRect(LPRECT out, const RECT* a, const RECT* b);

// Focus, activation, enabling and capture.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
BOOL EnableWindow(HWND hwnd, BOOL enable);
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// Messages.
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
DWORD GetMessagePos();
LONG GetMessageTime();

// Keyboard and mouse state.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL MessageBeep(UINT type);

// Painting (recorded; the desk draws no pixels).
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);

// Icons and cursors.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HICON CreateIconFromResource(BYTE* bits, DWORD size, BOOL icon, DWORD version);
HICON CreateIconFromResourceEx(BYTE* bits, DWORD size, BOOL icon, DWORD version, int cx, int cy,
                               UINT flags);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);

// Menus: kept as item lists for the program and the window manager; the
// desk's user never opens one.
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
int GetMenuItemCount(HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// Keyboard accelerators.
HACCEL CreateAcceleratorTableA(ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
int TranslateAcceleratorA(HWND hwnd, HACCEL table, LPMSG msg);

// Common controls: registers msctls_updown32, as comctl32 does.
void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// The help viewer. The desk has none: it writes each request to the
// transcript as a `help` line and reports success.
#define HELP_CONTEXT 0x0001
#define HELP_QUIT 0x0002
#define HELP_CONTENTS 0x0003
BOOL WinHelpA(HWND window, LPCSTR helpFile, UINT command, ULONG_PTR data);
