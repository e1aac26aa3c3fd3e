// The runtime's window procedures behind Unicode windows. A "GBK procedure"
// is one of the runtime's own: it takes messages in their ANSI form. Windows
// only ever hold its thunk, a W procedure that turns each message into the
// ANSI form and calls it. Procedures of system classes (EDIT, BUTTON) are W
// procedures; the runtime holds them as they are and passes messages on to
// them through CallWindowProcA, which turns the messages back.
#pragma once

#include <windows.h>

namespace wide {

// The thunk standing for `gbkProc` (the same one every time); null when
// every thunk is taken.
WNDPROC ThunkFor(WNDPROC gbkProc);
// The GBK procedure a thunk stands for; null for any other procedure.
WNDPROC GbkProcOf(WNDPROC proc);
// Whether `proc` is one of the runtime's GBK procedures.
bool IsGbkProc(WNDPROC proc);

// What a window or class holds as its procedure, in the runtime's terms:
// a thunk becomes its GBK procedure, a W procedure stays (and is remembered
// as one, so that handing it back registers it as a W procedure).
WNDPROC ProcForRuntime(WNDPROC held);
// What a window or class should hold for a procedure the runtime gives.
WNDPROC ProcForWindow(WNDPROC given);

}  // namespace wide
