// The program image. Handlers are bound with a code base of 0, so each
// stored handler offset is the routine's address.
#include "app/program_image.h"

#include <iterator>
#include <vector>

#include "app/game_routines.h"
#include "app/main_window_template.h"
#include "app/program_main.h"
#include "app/program_texts.h"
#include "forms/event_handler.h"
#include "runtime/core_library.h"
#include "sqlitelib/sqlite_library.h"

namespace {

// The drop editor's routines take no event arguments and return nothing.
template <void (*Routine)()>
bool Bound(const uint32_t*, int32_t, uint32_t*) {
    Routine();
    return false;
}

// Non-zero: the runtime places and owns the program's windows as a windowed
// program's (start position, the hidden owner window).
constexpr Word kWindowedProgram = 3;
// A header word the runtime keeps and never interprets.
constexpr Word kKeptHeaderWord = 0x10095;

Word Address(EventHandler handler) { return ToWord(reinterpret_cast<const void*>(handler)); }

}  // namespace

const ProgramImage& DropeditImage() {
    static const std::vector<uint8_t> segment = BuildMainWindowSegment(MainWindowHandlers{
        Address(Bound<CheckGameFile>), Address(Bound<ShowUsageNotes>), Address(Bound<ApplyChanges>)});
    static const LibraryRecord* const libraries[] = {CoreLibraryRecord(), SqliteLibraryRecord()};
    static const ProgramHeader header = {
        kWindowedProgram,
        0,                                    // stored only
        kKeptHeaderWord,
        0,                                    // code base: offsets are addresses
        &kTexts,                              // constant data
        sizeof kTexts,
        segment.data(),                       // template segment
        static_cast<Word>(segment.size()),
        static_cast<Word>(std::size(libraries)),
        libraries,
        0,                                    // no DLL commands
        nullptr,
        nullptr,
    };
    static const ProgramImage image = {&header, ProgramMain};
    return image;
}
