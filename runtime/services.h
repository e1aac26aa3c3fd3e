// RuntimeServices: the fixed 13-slot table through which compiled program
// code reaches the runtime. Window slots are filled by the form runtime.
#pragma once

#include <cstdint>

#include "runtime/command.h"

struct RuntimeServices {
    void (*ReportErrorByCode)(int32_t number);                        // 0
    ArgValue (*CallDllCommand)(int32_t number);                                    // 1
    ArgValue (*CallLibraryCommand)(CommandEntry entry, int32_t count, ArgValue* args);  // 2
    ArgValue (*CallCoreCommand)(CommandEntry entry, int32_t count, ArgValue* args);     // 3
    // 4: (window id, unit id, property, sub-index) -> one or two words
    uint64_t (*ReadProperty)(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex);
    // 5: (window id, unit id, property, sub-index, value low, value high)
    void (*WriteProperty)(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex,
                          uint32_t low, uint32_t high);
    void* (*Allocate)(uint32_t size);                    // 6
    void* (*Reallocate)(void* block, uint32_t size);     // 7
    void (*Release)(const void* block);                  // 8
    void (*EndProgram)(int32_t exitCode);   // 9
    void (*RunMessageLoop)();                            // 10
    void (*LoadStartWindow)(uint32_t windowId);          // 11
    // 12: helper number, then the helper's own arguments
    uint32_t (*CallRuntimeHelper)(int32_t helper, uint32_t first, uint32_t second);
};
static_assert(sizeof(RuntimeServices) == 13 * 4, "thirteen slots");

// Runtime helpers reached through slot 12.
enum RuntimeHelper : int32_t {
    kHelperMakeArrayWritable = 2,   // (element size, address of an array variable)
    kHelperRegisterEndRoutine = 3,  // (code address of the end routine)
    kHelperInitializeProgram = 6,   // ()
};

// The table handed to program code. Slots 4, 5, 10 and 11 come from the form
// runtime, which installs them at start.
extern RuntimeServices g_services;

struct FormServices {
    decltype(RuntimeServices::ReadProperty) readProperty;
    decltype(RuntimeServices::WriteProperty) writeProperty;
    decltype(RuntimeServices::RunMessageLoop) runMessageLoop;
    decltype(RuntimeServices::LoadStartWindow) loadStartWindow;
    void (*initializeProgram)();
};
void InstallFormServices(const FormServices& services);
