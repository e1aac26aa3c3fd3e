// The Windows build's text boundary. Runtime code keeps calling the `...A`
// functions with GBK texts; on Windows each of those names is redirected
// here to a function of the same name in namespace `wide`, which converts
// GBK to UTF-16 (platform/gbk_codec.h), calls the `...W` function and
// converts what comes back. The ANSI code page of the system plays no part,
// so the program reads the same on every Windows.
//
// Windows are Unicode windows throughout: classes are registered and
// controls created and subclassed with the W functions, and the runtime's
// window procedures are reached through thunks that hand them every message
// in its ANSI form (GBK texts, byte positions in edit controls, a
// double-byte character as two WM_CHAR bytes), as user32 would for an ANSI
// window on a Chinese system. Only this header's includer sees the
// redirection; platform/wide/ itself calls the real functions.
#pragma once

#ifndef _WIN32
#error "platform/win32_wide.h is the Windows build's boundary only"
#endif

// <windows.h> must come first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
// clang-format on

namespace wide {

// Classes and windows.
ATOM RegisterClassA(const WNDCLASSA* wc);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
LONG GetWindowLongA(HWND hwnd, int index);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND hwnd, LPCSTR name);
HANDLE RemovePropA(HWND hwnd, LPCSTR name);

// Window texts.
BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND hwnd);

// Messages.
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
LRESULT DispatchMessageA(const MSG* msg);

// Resources, menus, message boxes, help, sound.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL WinHelpA(HWND window, LPCSTR helpFile, UINT command, ULONG_PTR data);
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);

// Fonts and text drawing.
HFONT CreateFontIndirectA(const LOGFONTA* font);
int GetObjectA(HANDLE object, int size, LPVOID buffer);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size);
int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);

// Files and folders.
HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL DeleteFileA(LPCSTR name);
DWORD GetFileAttributesA(LPCSTR name);
HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data);
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
BOOL SetCurrentDirectoryA(LPCSTR path);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);


// Newer than the oldest Windows the program runs on, so looked up at run
// time: where the system lacks it, the answer is the screen's DPI, which is
// every window's DPI on a system without per-display scales.
UINT GetDpiForWindow(HWND hwnd);
}  // namespace wide

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The layer's own sources call the real functions by their real names.
#ifndef DROPEDIT_WIDE_LAYER
#undef GetWindowLongPtrA
#undef SetWindowLongPtrA
#define RegisterClassA wide::RegisterClassA
#define GetClassInfoA wide::GetClassInfoA
#define CreateWindowExA wide::CreateWindowExA
#define GetWindowLongA wide::GetWindowLongA
#define SetWindowLongA wide::SetWindowLongA
#define GetWindowLongPtrA wide::GetWindowLongA
#define SetWindowLongPtrA wide::SetWindowLongA
#define DefWindowProcA wide::DefWindowProcA
#define CallWindowProcA wide::CallWindowProcA
#define SetPropA wide::SetPropA
#define GetPropA wide::GetPropA
#define RemovePropA wide::RemovePropA
#define SetWindowTextA wide::SetWindowTextA
#define GetWindowTextA wide::GetWindowTextA
#define GetWindowTextLengthA wide::GetWindowTextLengthA
#define SendMessageA wide::SendMessageA
#define PostMessageA wide::PostMessageA
#define GetMessageA wide::GetMessageA
#define PeekMessageA wide::PeekMessageA
#define DispatchMessageA wide::DispatchMessageA
#define LoadCursorA wide::LoadCursorA
#define LoadIconA wide::LoadIconA
#define AppendMenuA wide::AppendMenuA
#define MessageBoxA wide::MessageBoxA
#define WinHelpA wide::WinHelpA
#define PlaySoundA wide::PlaySoundA
#define CreateFontIndirectA wide::CreateFontIndirectA
#define GetObjectA wide::GetObjectA
#define GetTextExtentPoint32A wide::GetTextExtentPoint32A
#define DrawTextA wide::DrawTextA
#define TextOutA wide::TextOutA
#define CreateFileA wide::CreateFileA
#define DeleteFileA wide::DeleteFileA
#define GetFileAttributesA wide::GetFileAttributesA
#define FindFirstFileA wide::FindFirstFileA
#define FindNextFileA wide::FindNextFileA
#define GetModuleFileNameA wide::GetModuleFileNameA
#define SetCurrentDirectoryA wide::SetCurrentDirectoryA
#define GetCurrentDirectoryA wide::GetCurrentDirectoryA
#define GetDpiForWindow wide::GetDpiForWindow
#endif
