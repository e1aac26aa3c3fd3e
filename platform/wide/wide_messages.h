// Messages between the runtime's ANSI view and Unicode windows. Only the
// messages whose meaning differs between the two forms are converted: texts
// (WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, the creation record, EM_REPLACESEL,
// EM_GETLINE), characters (WM_CHAR and its kin, WM_IME_CHAR, the password
// character) and edit positions and limits (EM_GETSEL, EM_SETSEL, EM_LIMITTEXT,
// EM_GETLIMITTEXT, and WM_PASTE into a control with a limit), which the
// runtime counts in GBK bytes. Every other message passes both ways
// unchanged, so a message handed on untouched arrives as it was sent.
#pragma once

#include <windows.h>

namespace wide {

// Where a message in its W form goes: a window (SendMessageW), the default
// procedure (DefWindowProcW) or a W procedure (CallWindowProcW).
enum class WideReceiver { kWindow, kDefault, kProcedure };

// Delivers a message given in ANSI form to `receiver` in W form and answers
// in ANSI terms. `proc` is the W procedure for kProcedure.
LRESULT CallAsWide(WideReceiver receiver, WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam,
                   LPARAM lParam);

// Delivers a message given in W form to one of the runtime's GBK procedures
// in ANSI form and answers in W terms: the body of every thunk.
LRESULT CallGbkProc(WNDPROC gbkProc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace wide
