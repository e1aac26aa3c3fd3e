// The drop editor's call helpers over the service table.
#include "app/program_calls.h"

#include <cstdlib>

#include "app/main_window_template.h"
#include "forms/editbox_numbers.h"
#include "forms/label_numbers.h"
#include "runtime/services.h"

namespace {

constexpr int kMaxArgs = 8;

// The text of a unit on the main window: an edit box's content, a label's
// caption; both kinds give it the same number.
constexpr int32_t kUnitText = kEditContent;
static_assert(kUnitText == kLabelCaption, "one number reads both kinds' text");

ArgValue Call(ArgValue (*service)(CommandEntry, int32_t, ArgValue*), CommandEntry entry,
              std::initializer_list<ArgValue> args) {
    ArgValue list[kMaxArgs];
    int32_t count = 0;
    for (const ArgValue& arg : args) list[count++] = arg;
    return service(entry, count, list);
}

}  // namespace

ArgValue CallCore(CoreCommand command, std::initializer_list<ArgValue> args) {
    return Call(g_services.CallCoreCommand, CoreLibraryRecord()->commands[command], args);
}

ArgValue CallSqlite(SqliteCommand command, std::initializer_list<ArgValue> args) {
    return Call(g_services.CallLibraryCommand, SqliteLibraryRecord()->commands[command], args);
}

void* ProgramAllocate(uint32_t size) { return g_services.Allocate(size); }

void* ProgramReallocate(void* block, uint32_t size) { return g_services.Reallocate(block, size); }

void ProgramRelease(const void* block) { g_services.Release(block); }

void ProgramRuntimeError(int32_t number) {
    g_services.ReportErrorByCode(number);
    std::abort();  // not reached: the service ends the process
}

char* ReadUnitText(uint32_t unitId) {
    uint64_t value = g_services.ReadProperty(kMainWindowId, unitId, kUnitText, -1);
    return FromWord<char>(static_cast<Word>(value));
}

void WriteUnitText(uint32_t unitId, const char* text) {
    g_services.WriteProperty(kMainWindowId, unitId, kUnitText, -1, ToWord(text != nullptr ? text : kEmptyText), 0);
}

int32_t ShowMessage(const char* text, int32_t flags, const char* title) {
    return ValueInt(CallCore(kCmdMessageBox, {TextArg(text), MakeInt(flags), TextArg(title)}));
}

int32_t ShowMessageUntitled(const char* text, int32_t flags) {
    return ValueInt(CallCore(kCmdMessageBox, {TextArg(text), MakeInt(flags), MakeOmitted()}));
}
