// The service table and the two command calling services.
#include "runtime/services.h"

#include "runtime/memory.h"
#include "runtime/program_end.h"
#include "runtime/runtime_error.h"

namespace {
ArgValue CallCommand(CommandEntry entry, int32_t count, ArgValue* args) {
    ArgValue result{0, 0, 0};
    entry(&result, count, args);
    return result;
}

ArgValue CallDllCommandUnavailable(int32_t) {
    // This program declares no DLL commands; reaching here is a broken image.
    ReportErrorByCode(6);
}

FormServices g_form = {};

uint64_t ReadPropertySlot(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex) {
    return g_form.readProperty(windowId, unitId, property, subIndex);
}

void WritePropertySlot(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex,
                       uint32_t low, uint32_t high) {
    g_form.writeProperty(windowId, unitId, property, subIndex, low, high);
}

void RunMessageLoopSlot() { g_form.runMessageLoop(); }

void LoadStartWindowSlot(uint32_t windowId) { g_form.loadStartWindow(windowId); }

uint32_t CallRuntimeHelper(int32_t helper, uint32_t first, uint32_t second) {
    switch (helper) {
        case kHelperMakeArrayWritable:
            MakeArrayWritable(first, FromWord<void*>(second));
            return 0;
        case kHelperRegisterEndRoutine:
            RegisterEndRoutine(reinterpret_cast<EndRoutine>(static_cast<uintptr_t>(first)));
            return 0;
        case kHelperInitializeProgram:
            g_form.initializeProgram();
            return 0;
        default:
            // File searches (0, 1) and the unit services (4, 5) are not part
            // of this runtime.
            ReportErrorByCode(11);
    }
}

[[noreturn]] void EndProgramSlot(int32_t exitCode) { EndProgram(exitCode); }
}  // namespace

ArgValue CallCoreCommand(CommandEntry entry, int32_t count, ArgValue* args) {
    return CallCommand(entry, count, args);
}

ArgValue CallLibraryCommand(CommandEntry entry, int32_t count, ArgValue* args) {
    return CallCommand(entry, count, args);
}

void InstallFormServices(const FormServices& services) { g_form = services; }

RuntimeServices g_services = {
    ReportErrorByCode, CallDllCommandUnavailable, CallLibraryCommand, CallCoreCommand,
    ReadPropertySlot,  WritePropertySlot,         Allocate,           Reallocate,
    Release,           EndProgramSlot,            RunMessageLoopSlot, LoadStartWindowSlot,
    CallRuntimeHelper,
};
