// Pending-event processing shared by the command, runtime requests 2009,
// 2010 and 2018, and the form runtime.
#include "runtime/process_events.h"

#include "platform/win32.h"
#include "runtime/runtime_state.h"
#include "runtime/value.h"

void DispatchOneMessage(MSG* msg) {
    if (g_runtime.preTranslate != nullptr && g_runtime.preTranslate(msg)) return;
    TranslateMessage(msg);
    DispatchMessageA(msg);
}

void ProcessPendingEvents() {
    MSG msg;
    // The quit message stays queued for the message loop that owns it.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        DispatchOneMessage(&msg);
    }
}

void CmdProcessEvents(ArgValue*, int32_t, ArgValue*) { ProcessPendingEvents(); }
