// The application framework: one application object for the run, the
// instance initialisation that calls the program's entry routine, and the
// instance exit that ends the program.
#include "forms/application.h"
#include "forms/close_window.h"
#include "forms/form_requests.h"
#include "forms/form_runtime.h"
#include "forms/property_access.h"
#include "forms/startup.h"
#include "forms/unit_kind.h"
#include "forms/window_keys.h"
#include "forms/window_loader.h"
#include "forms/window_table.h"
#include "runtime/core_library.h"
#include "runtime/memory.h"
#include "runtime/notify.h"
#include "runtime/program_end.h"
#include "runtime/runtime_state.h"
#include "runtime/services.h"

Application g_app;

namespace {

void ReleaseRuntimeResources() {
    Release(g_runtime.libraryData);
    g_runtime.libraryData = nullptr;
}

// Windows go before their templates: their objects name the templates.
void ReleaseWindows() {
    DestroyAllWindows();
    ReleaseWindowTable();
}

// Keeps what the instance initialisation must know before ProgramMain runs.
int32_t InitInstance() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder;
    SplitProgramPath(path, &folder, &g_app.fileName);
    g_app.folderSlash = folder.empty() ? std::string() : folder + "\\";
    return g_app.image->entry();
}

}  // namespace

void InstallFormRuntime() {
    InstallFormServices(FormServices{ReadProperty, WriteProperty, RunMessageLoop, LoadStartWindow,
                                     InitializeProgram});
    SetFormEndHooks(FormEndHooks{ReleaseWindows, ReleaseRuntimeResources});
    InstallUnitKinds();
    InstallCoreCommand(kCmdCloseWindow, CmdCloseWindow);
    SetFormRequestHandler(HandleFormRequest);
    g_runtime.preTranslate = PreTranslateWindowKeys;
    // The edit box's up-down control is a common control.
    InitCommonControls();
}

void RunProgram(const ProgramImage& image, HINSTANCE instance) {
    g_app.image = &image;
    // The window classes are registered for the instance and found by it; a
    // caller without one gets the program's module, as Windows would.
    g_app.instance = instance != nullptr ? instance : GetModuleHandleA(nullptr);
    InstallFormRuntime();
    int32_t code = InitInstance();
    // ProgramMain returns only after its message loop: the framework skips its
    // own loop and goes straight to the instance exit. The exit code is the
    // quit message's (0); a program whose start window never reached the loop
    // ends with its entry routine's result, also 0.
    EndProgram(g_app.quitTaken ? g_app.quitCode : code);
}
