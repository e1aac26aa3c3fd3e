// A small program image for the start-up spine: a header, the core library
// and a test library, and an entry routine that behaves as SPINE_MODE says.
// It reaches the runtime only through the service table, as compiled
// program code does. Built for both targets.
#include <cstdlib>
#include <cstring>

#include "forms/application.h"
#include "runtime/core_library.h"
#include "runtime/notify.h"
#include "runtime/services.h"

namespace {

// A support library whose end notification shows itself, so that the
// transcript proves the end sequence's order.
int32_t TestLibraryNotify(int32_t code, uint32_t, uint32_t) {
    if (code == kLibraryEnd) MessageBoxA(nullptr, "library end", "spine", MB_OK);
    return 0;
}

LibraryRecord MakeTestLibrary() {
    LibraryRecord record = {};
    record.mark = kLibraryRecordMark;
    record.identifier = "spine-test-library";
    record.name = "spine";
    record.notify = TestLibraryNotify;
    return record;
}

const LibraryRecord kTestLibrary = MakeTestLibrary();
const LibraryRecord* g_libraries[2] = {nullptr, &kTestLibrary};

const char kConstants[] = "constant data of the spine program";

ProgramHeader g_header = {3, 0, 0x10095, 0, kConstants, sizeof kConstants, nullptr, 0, 2, g_libraries, 0, nullptr, nullptr};

void EndRoutine() { MessageBoxA(nullptr, "end routine", "spine", MB_OK); }

const char* Mode() {
    const char* mode = std::getenv("SPINE_MODE");
    return mode != nullptr ? mode : "normal";
}

int32_t ProgramMain() {
    g_services.CallRuntimeHelper(kHelperInitializeProgram, 0, 0);
    g_services.CallRuntimeHelper(kHelperRegisterEndRoutine, ToWord(reinterpret_cast<const void*>(&EndRoutine)), 0);
    const char* mode = Mode();
    if (std::strcmp(mode, "error4") == 0) g_services.ReportErrorByCode(4);
    if (std::strcmp(mode, "error-empty") == 0) RuntimeNotify(kRequestRuntimeError, ToWord(""), 0);
    if (std::strcmp(mode, "heap") == 0) g_services.Allocate(0x7FFFFFFF);
    if (std::strcmp(mode, "start-window") == 0) g_services.LoadStartWindow(0x52010001);
    if (std::strcmp(mode, "folder") == 0) {
        char folder[MAX_PATH + 1];
        GetCurrentDirectoryA(sizeof folder, folder);
        MessageBoxA(nullptr, folder, "folder", MB_OK);
    }
    if (std::strcmp(mode, "exit-code") == 0) g_services.EndProgram(7);
    g_services.RunMessageLoop();
    return 0;
}

const ProgramImage kImage = {&g_header, ProgramMain};

}  // namespace

int32_t SpineStart() {
    g_libraries[0] = CoreLibraryRecord();
    return 0;
}

static const int32_t kStarted = SpineStart();

DROPEDIT_PROGRAM_ENTRY(kImage)
