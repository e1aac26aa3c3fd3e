// Reading the current values: the kettle amount from the skill table, the
// ai_data snapshot and the two multipliers from its first row.
#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/main_window_template.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"

namespace {

void* QueryWholeTable(const char* table) {
    return FromWord<void>(CallSqlite(kSqliteQueryTable, {CacheDbArg(), TextArg(table), MakeBool(false)}).low);
}

void* Split(const char* text, const char* separator) {
    return FromWord<void>(CallCore(kCmdSplitText, {TextArg(text), TextArg(separator), MakeOmitted()}).low);
}

double ToNumber(const char* text) { return ValueDouble(CallCore(kCmdToNumber, {TextArg(text)})); }

// Replaces element i of a snapshot array with a copy of the text.
void StoreCopy(void* snapshot, int32_t i, const char* text) {
    Word* slot = CheckedIndex(snapshot, {i});
    ProgramRelease(FromWord<void>(*slot));
    *slot = ToWord(text != nullptr && text[0] != '\0' ? JoinTexts({text}) : nullptr);
}

// first number of element 1 of the snapshot ÷ divisor, truncated, shown in the box.
int32_t ShowMultiplier(void* snapshot, double divisor, uint32_t unitId) {
    void* pieces = Split(TextAt(snapshot, {1}), kTexts.semicolon);
    auto multiplier = static_cast<int32_t>(TruncToInt64(ToNumber(TextAt(pieces, {1})) / divisor));
    ReleaseTextArray(pieces);
    char* text = FromWord<char>(CallCore(kCmdToText, {MakeInt(multiplier)}).low);
    WriteUnitText(unitId, text);
    ProgramRelease(text);
    return multiplier;
}

}  // namespace

void LoadDropValues() {
    if (ValueInt(CallSqlite(kSqliteOpen, {CacheDbArg(), TextArg(kTexts.cacheFile), MakeOmitted()})) == 0) {
        ShowMessage(kTexts.cacheUnreadable, 16, kTexts.titleRefused);
        return;
    }

    void* skill = QueryWholeTable(kTexts.tableSkill);
    void* kettle = Split(TextAt(skill, {385, 38}), kTexts.comma);
    WriteUnitText(kKettleEditId, TextAt(kettle, {2}));
    // Kept for the record of the original slot, which names the values a
    // player types to get it back.
    ProgramRelease(g_editor.kettle_amount);
    g_editor.kettle_amount = JoinTexts({TextAt(kettle, {2})});
    ReleaseTextArray(kettle);
    ReleaseTextArray(skill);

    void* aiData = QueryWholeTable(kTexts.tableAiData);
    g_editor.row_count = ArrayDimCount(aiData) > 0 ? ArrayDims(aiData)[0] : 0;
    for (int32_t i = 1; i <= g_editor.row_count; ++i) {
        StoreCopy(g_editor.monster_ids, i, TextAt(aiData, {i, 1}));
        StoreCopy(g_editor.meat_drops, i, TextAt(aiData, {i, 23}));
        StoreCopy(g_editor.item_drops, i, TextAt(aiData, {i, 40}));
    }
    CallSqlite(kSqliteClose, {CacheDbArg()});

    g_editor.meat_multiplier = ShowMultiplier(g_editor.meat_drops, 18.0, kMeatEditId);
    g_editor.item_multiplier = ShowMultiplier(g_editor.item_drops, 2.0, kItemEditId);
    ReleaseTextArray(aiData);
}
