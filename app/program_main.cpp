// ProgramMain: the drop editor's entry routine, called by the runtime's
// application start.
#include <cfenv>

#include "app/editor_state.h"
#include "app/main_window_template.h"
#include "app/program_main.h"
#include "runtime/services.h"

int32_t ProgramMain() {
    g_services.CallRuntimeHelper(kHelperInitializeProgram, 0, 0);
    // Default floating-point state, every exception masked: a division by
    // zero gives an infinity, never a fault.
    std::fesetenv(FE_DFL_ENV);
    InitEditorState();
    g_services.CallRuntimeHelper(kHelperRegisterEndRoutine, ToWord(reinterpret_cast<const void*>(&ReleaseEditorState)), 0);
    g_services.LoadStartWindow(kMainWindowId);
    g_services.RunMessageLoop();
    return 0;
}
