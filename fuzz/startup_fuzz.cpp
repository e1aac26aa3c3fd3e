// The start-up path on any slot: the bytes are the database slot of the game
// file, copied into "pe.bin" as the start-up check does (the rest of the
// slot's length zero bytes), and the drop editor reads its values from it
// exactly as at start. Every run must end in one of the program's ends: the
// values shown (each box holding what was read), a coded error message, or
// the runtime error box with a numbered error; and it must keep no runtime
// block but the snapshot texts it stores.
#include <filesystem>
#include <fstream>
#include <string>

#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/main_window_template.h"
#include "app/program_calls.h"
#include "app/program_texts.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/live_program.h"
#include "runtime/runtime_error.h"

namespace {

constexpr uintmax_t kSlotLength = 2136068;

std::string BoxText(uint32_t unitId) {
    char* text = ReadUnitText(unitId);
    std::string copy = text != nullptr ? text : "";
    ProgramRelease(text);
    return copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartLiveProgram();
    if (size > kSlotLength) return -1;  // no slot holds more
    ResetEditor();
    {
        std::ofstream cache(reinterpret_cast<const char*>(kTexts.cacheFile), std::ios::binary | std::ios::trunc);
        cache.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::filesystem::resize_file(kTexts.cacheFile, kSlotLength);

    LiveBlockCheck blocks;
    RoutineRun run = RunRoutine(LoadDropValues);
    if (run.runtimeError) {
        FUZZ_CHECK(run.errorNumber >= 1 && run.errorNumber <= 11 &&
                       run.errorMessage == RuntimeErrorMessage(run.errorNumber),
                   "runtime error %d \"%s\" is none of the numbered ones", run.errorNumber,
                   run.errorMessage.c_str());
        FUZZ_CHECK(run.boxes.empty(), "a message box before the runtime error");
        blocks.Expect(0, "start-up ended by a runtime error");
        return 0;
    }
    if (!run.boxes.empty()) {
        FUZZ_CHECK(run.boxes.size() == 1 && ShowedBox(run, kTexts.cacheUnreadable), "unexpected message box: %s",
                   run.boxes[0].c_str());
        blocks.Expect(0, "start-up refused");
        return 0;
    }
    // Values shown: the boxes hold the multipliers read, as *to text* writes
    // integers, and the snapshot holds one text per non-empty field.
    FUZZ_CHECK(BoxText(kMeatEditId) == std::to_string(g_editor.meat_multiplier), "meat box \"%s\" for %d",
               BoxText(kMeatEditId).c_str(), g_editor.meat_multiplier);
    FUZZ_CHECK(BoxText(kItemEditId) == std::to_string(g_editor.item_multiplier), "item box \"%s\" for %d",
               BoxText(kItemEditId).c_str(), g_editor.item_multiplier);
    FUZZ_CHECK(g_editor.row_count >= 1 && g_editor.row_count <= kSnapshotSize, "row count %d", g_editor.row_count);
    blocks.Expect(SnapshotTextCount(), "start-up");
    return 0;
}
