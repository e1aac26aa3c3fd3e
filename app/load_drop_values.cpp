// Reading the current values: the kettle amount from the skill table, the
// ai_data snapshot and the two multipliers from its first row.
#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/main_window_template.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"

namespace {

// Where the values sit in the tables, as the query returns them (1-based
// row, column): the kettle's row of the skill table and its comma list, of
// which the second piece is the amount ...
constexpr int32_t kKettleRow = 385;
constexpr int32_t kKettleColumn = 38;
constexpr int32_t kKettleAmountPiece = 2;
// ... and ai_data's monster id, meat drop list and special item drop list.
constexpr int32_t kMonsterIdColumn = 1;
constexpr int32_t kMeatDropColumn = 23;
constexpr int32_t kItemDropColumn = 40;
// What the first monster's first drop is divided by to give the multiplier
// shown in each box.
constexpr double kMeatDropAtOne = 18.0;
constexpr double kItemDropAtOne = 2.0;

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
        ShowMessage(kTexts.cacheUnreadable, kBoxStopIcon, kTexts.titleRefused);
        return;
    }

    void* skill = QueryWholeTable(kTexts.tableSkill);
    void* kettle = Split(TextAt(skill, {kKettleRow, kKettleColumn}), kTexts.comma);
    WriteUnitText(kKettleEditId, TextAt(kettle, {kKettleAmountPiece}));
    // Kept for the record of the original slot, which names the values a
    // player types to get it back.
    ProgramRelease(g_editor.kettle_amount);
    g_editor.kettle_amount = JoinTexts({TextAt(kettle, {kKettleAmountPiece})});
    ReleaseTextArray(kettle);
    ReleaseTextArray(skill);

    void* aiData = QueryWholeTable(kTexts.tableAiData);
    g_editor.row_count = ArrayDimCount(aiData) > 0 ? ArrayDims(aiData)[0] : 0;
    for (int32_t i = 1; i <= g_editor.row_count; ++i) {
        StoreCopy(g_editor.monster_ids, i, TextAt(aiData, {i, kMonsterIdColumn}));
        StoreCopy(g_editor.meat_drops, i, TextAt(aiData, {i, kMeatDropColumn}));
        StoreCopy(g_editor.item_drops, i, TextAt(aiData, {i, kItemDropColumn}));
    }
    CallSqlite(kSqliteClose, {CacheDbArg()});

    g_editor.meat_multiplier = ShowMultiplier(g_editor.meat_drops, kMeatDropAtOne, kMeatEditId);
    g_editor.item_multiplier = ShowMultiplier(g_editor.item_drops, kItemDropAtOne, kItemEditId);
    ReleaseTextArray(aiData);
}
