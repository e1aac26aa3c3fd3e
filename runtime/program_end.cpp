// The end sequence. It runs at most once per process: every path ends in
// ExitProcess, and the end routine is forgotten before it is called.
#include "runtime/program_end.h"

#include "platform/win32.h"
#include "runtime/notify.h"
#include "runtime/open_files.h"
#include "runtime/runtime_state.h"

void RegisterEndRoutine(EndRoutine routine) { g_runtime.endRoutine = routine; }

void ForgetEndRoutine() { g_runtime.endRoutine = nullptr; }

void SetFormEndHooks(const FormEndHooks& hooks) { g_runtime.formEnd = hooks; }

void EndProgram(int32_t exitCode) {
    ++g_runtime.suppressEvents;
    UINT code = static_cast<UINT>(exitCode);

    if (GetCurrentThreadId() != g_runtime.mainThreadId) {
        if (g_runtime.hiddenWindow != nullptr) {
            SendMessageA(g_runtime.hiddenWindow, kEndProgramMessage, static_cast<WPARAM>(exitCode), 0);
        }
        ExitProcess(code);
    }

    g_runtime.ending = true;
    if (g_runtime.formEnd.releaseWindows != nullptr) g_runtime.formEnd.releaseWindows();
    if (EndRoutine routine = g_runtime.endRoutine) {
        g_runtime.endRoutine = nullptr;
        routine();
    }

    for (int32_t i = 0; i < g_runtime.libraryCount; ++i) {
        const LibraryRecord* library = g_runtime.libraries[i];
        if (library != nullptr && library->notify != nullptr) library->notify(kLibraryEnd, 0, 0);
    }

    if (g_runtime.formEnd.releaseResources != nullptr) g_runtime.formEnd.releaseResources();
    if (g_runtime.hiddenWindow != nullptr) {
        DestroyWindow(g_runtime.hiddenWindow);
        g_runtime.hiddenWindow = nullptr;
    }
    CloseAllOpenFiles();
    if (g_runtime.objectServicesStarted) {
        CoUninitialize();
        g_runtime.objectServicesStarted = false;
    }
    ExitProcess(code);
}
