// The live harness: one program image over the main window, a heap watch
// that knows which blocks a run took, and the unhandled error hook as the
// place where a runtime error is caught.
#include "fuzz/live_program.h"

#include <sanitizer/asan_interface.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unordered_set>

#include "app/editor_state.h"
#include "app/main_window_template.h"
#include "app/program_calls.h"
#include "app/program_texts.h"
#include "forms/application.h"
#include "forms/form_runtime.h"
#include "forms/program_header.h"
#include "forms/startup.h"
#include "forms/unit_record.h"
#include "fuzz/fuzz_check.h"
#include "platform/desk/kernel32/exit.h"
#include "platform/desk/kernel32/log.h"
#include "runtime/core_library.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "sqlitelib/codepage.h"
#include "sqlitelib/sqlite_library.h"

namespace {

struct RuntimeErrorEnd {
    int32_t number;
    std::string message;
};

std::unordered_set<void*>& RunBlocks() {
    static std::unordered_set<void*> blocks;
    return blocks;
}

const HeapWatch kRunWatch = {[](void* block) { RunBlocks().insert(block); },
                             [](void* block) { RunBlocks().erase(block); }};

int32_t ThrowRuntimeError(int32_t number, const char* message) {
    throw RuntimeErrorEnd{number, message != nullptr ? message : ""};
}

std::string g_logPath;

void ReleaseSnapshot(void* array) {
    auto* elements = static_cast<Word*>(ArrayElements(array));
    for (int32_t i = 0; i < kSnapshotSize; ++i) {
        ProgramRelease(FromWord<void>(elements[i]));
        elements[i] = 0;
    }
}

void ForgetSnapshot(void* array) {
    auto* elements = static_cast<Word*>(ArrayElements(array));
    for (int32_t i = 0; i < kSnapshotSize; ++i) elements[i] = 0;
}

uint32_t CountTexts(void* array) {
    auto* elements = static_cast<Word*>(ArrayElements(array));
    uint32_t n = 0;
    for (int32_t i = 0; i < kSnapshotSize; ++i) n += elements[i] != 0 ? 1 : 0;
    return n;
}

}  // namespace

void StartLiveProgram() {
    static bool started = false;
    if (started) return;
    started = true;
    desk::AddExitHook([] {
        std::fprintf(stderr, "fuzz finding: the routine ended the process\n");
        std::abort();
    });

    static const std::vector<uint8_t> segment = BuildMainWindowSegment({kNoHandler, kNoHandler, kNoHandler});
    static const LibraryRecord* const libraries[] = {CoreLibraryRecord(), SqliteLibraryRecord()};
    static const ProgramHeader header = {3,       0, 0x10095, 0, &kTexts, sizeof kTexts, segment.data(),
                                         static_cast<Word>(segment.size()), 2, libraries, 0, nullptr, nullptr};
    static const ProgramImage image = {&header, nullptr};
    InstallFormRuntime();
    g_app.image = &image;
    // The program's module, as its entry point hands it over: the window
    // classes are registered for it and found by it.
    g_app.instance = GetModuleHandleA(nullptr);
    InitializeProgram();
    InitEditorState();
    LoadStartWindow(kMainWindowId);
    // What the start-up check sets before it extracts the slot.
    g_editor.game_file_path = kTexts.gamePath;
    g_editor.db_offset = 532160740;
    g_editor.expected_file_size = 653572248;
    g_editor.db_length = 2136068;

    char folder[] = "/tmp/dropedit-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(folder) != nullptr && chdir(folder) == 0, "no scratch folder");
    g_logPath = std::string(folder) + "/transcript.jsonl";
    SetUnhandledErrorHook(ThrowRuntimeError);
}

void ResetEditor() {
    ReleaseSnapshot(g_editor.monster_ids);
    ReleaseSnapshot(g_editor.meat_drops);
    ReleaseSnapshot(g_editor.item_drops);
    ProgramRelease(g_editor.kettle_amount);
    g_editor.kettle_amount = nullptr;
    g_editor.row_count = 0;
    g_editor.meat_multiplier = 0;
    g_editor.item_multiplier = 0;
    WriteUnitText(kMeatEditId, "");
    WriteUnitText(kItemEditId, "");
    WriteUnitText(kKettleEditId, "");
}

uint32_t SnapshotTextCount() {
    return CountTexts(g_editor.monster_ids) + CountTexts(g_editor.meat_drops) + CountTexts(g_editor.item_drops) +
           (g_editor.kettle_amount != nullptr ? 1 : 0);
}

RoutineRun RunRoutine(void (*routine)()) {
    RoutineRun run;
    std::remove(g_logPath.c_str());
    desk::SetLogPath(g_logPath);
    RunBlocks().clear();
    SetHeapWatch(&kRunWatch);
    int32_t suppressed = g_runtime.suppressEvents;
    try {
        routine();
    } catch (const RuntimeErrorEnd& end) {
        // The frames the exception left keep their redzones poisoned when
        // ASan cannot tell the stack's bounds (it cannot under qemu-user),
        // and later calls that reuse that stack would report false
        // overflows: the dead part of the stack is unpoisoned by hand.
        char marker = 0;
        __asan_unpoison_memory_region(&marker - (1 << 20), 1 << 20);
        run.runtimeError = true;
        run.errorNumber = end.number;
        run.errorMessage = end.message;
    }
    SetHeapWatch(nullptr);
    desk::SetLogPath("");
    if (run.runtimeError) {
        // What the end of the process would take back. The snapshot's texts
        // are all this run's (it starts empty), so the arrays forget them
        // before they go.
        g_runtime.errorHookRunning = false;
        g_runtime.suppressEvents = suppressed;
        ForgetSnapshot(g_editor.monster_ids);
        ForgetSnapshot(g_editor.meat_drops);
        ForgetSnapshot(g_editor.item_drops);
        if (RunBlocks().count(const_cast<char*>(g_editor.kettle_amount)) != 0) g_editor.kettle_amount = nullptr;
        std::vector<void*> left(RunBlocks().begin(), RunBlocks().end());
        for (void* block : left) Release(block);
        run.blocksReclaimed = static_cast<uint32_t>(left.size());
        CallSqlite(kSqliteClose, {CacheDbArg()});
        CallCore(kCmdCloseAllFiles);
    }
    FUZZ_CHECK(g_runtime.suppressEvents == suppressed, "events left suppressed");
    std::ifstream log(g_logPath);
    for (std::string line; std::getline(log, line);) {
        if (line.find("\"event\":\"messagebox\"") != std::string::npos) run.boxes.push_back(line);
    }
    return run;
}

bool ShowedBox(const RoutineRun& run, const char* gbkText) {
    char* utf8 = sqlitelib::ToUtf8(gbkText);
    std::string text = utf8 != nullptr ? utf8 : "";
    std::free(utf8);
    // The transcript escapes control characters: compare up to the first.
    for (size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 0x20) text.resize(i);
    }
    std::string wanted = "\"text\":\"" + text;
    for (const std::string& line : run.boxes) {
        if (line.find(wanted) != std::string::npos) return true;
    }
    return false;
}
