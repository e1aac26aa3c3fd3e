// The library record as the runtime reads it word by word, the notification
// entry, and the library running on the real runtime's memory.
#include "runtime/memory.h"
#include "sqlite_test_support.h"

namespace {

TEST(SqliteLibraryRecord, WordsDescriptorsAndCommandTable) {
    const Word* w = reinterpret_cast<const Word*>(SqliteLibraryRecord());
    EXPECT_EQ(w[0], 0x01312D65u);
    EXPECT_STREQ(FromWord<const char>(w[1]), "{DBAFA981-512B-462E-88E0-79824F0B04C7}");
    EXPECT_EQ((std::vector<Word>(w + 2, w + 9)), (std::vector<Word>{2, 0, 2, 3, 7, 3, 7}));
    EXPECT_STREQ(FromWord<const char>(w[9]), "Sqlite3数据库支持库");
    EXPECT_EQ((std::vector<Word>{w[10], w[12], w[21], w[25]}),
              (std::vector<Word>{1, 0xC0000000, 10, 7}));
    EXPECT_EQ(w[30], ToWord(reinterpret_cast<const void*>(&SqliteLibraryNotify)));
    for (int i : {11, 13, 14, 15, 16, 17, 18, 19, 20, 23, 24, 26, 28, 29, 31, 32, 33, 34, 35}) {
        EXPECT_EQ(w[i], 0u) << "word " << i;
    }

    const Word* types = FromWord<const Word>(w[22]);
    EXPECT_STREQ(FromWord<const char>(types[0]), "Sqlite数据库");
    EXPECT_STREQ(FromWord<const char>(types[1]), "SqliteDB");
    EXPECT_EQ(types[5], 0xC0000000u);
    for (int i = 0; i < 10 * 14; ++i) {
        Word expect = i == 0 || i == 1 || i == 5 ? types[i] : 0;
        EXPECT_EQ(types[i], expect) << "descriptor " << i / 14 + 1 << " word " << i % 14;
    }

    const CommandEntry* commands = FromWord<const CommandEntry>(w[27]);
    const CommandEntry expected[7] = {SqliteDB::Open,    SqliteDB::QueryTable, SqliteDB::Close,
                                      SqliteDB::Execute, SqliteDB::Compact,    SqliteDB::Construct,
                                      SqliteDB::Destroy};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(commands[i], expected[i]) << "slot " << i;
}

int g_otherRequests = 0;
int32_t OtherRuntime(int32_t request, uint32_t first, uint32_t second) {
    ++g_otherRequests;
    return FakeRuntime::Notify(request, first, second);
}

TEST_F(SqliteLibTest, NotificationEntryKeepsTheLatestRuntimeAndRefusesUnknownCodes) {
    LibraryNotifyEntry entry = SqliteLibraryRecord()->notify;
    for (int32_t code : {0, 2, 5, 7, 2024}) EXPECT_EQ(entry(code, 0, 0), -1) << code;
    EXPECT_EQ(entry(kLibraryEnd, 0, 0), 0);
    EXPECT_EQ(entry(kLibraryStart, ToWord(reinterpret_cast<const void*>(&OtherRuntime)), 0), 0);
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    TakeResult(db.Query("SELECT 1"));
    EXPECT_EQ(g_otherRequests, 4)
        << "empty block, result block, one element, release of the empty block";
}

// With the real runtime, program code gives everything back through the
// runtime's own release services.
TEST(SqliteOnTheRuntime, QueryResultIsRuntimeHeapMemory) {
    ASSERT_EQ(SqliteLibraryNotify(kLibraryStart,
                                  ToWord(reinterpret_cast<const void*>(&RuntimeNotify)), 0),
              0);
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    ASSERT_EQ(
        db.Execute("CREATE TABLE skill(_id, _itemsGot); INSERT INTO skill VALUES(10441, '水壶')"),
        1u);
    Word block = db.Query("skill", MakeBool(true));
    const int32_t* words = FromWord<const int32_t>(block);
    EXPECT_EQ((std::vector<int32_t>(words, words + 3)), (std::vector<int32_t>{2, 2, 2}));
    EXPECT_STREQ(FromWord<const char>(static_cast<Word>(words[6])), "水壶");
    ReleaseArray(DT_TEXT, FromWord<void>(block));
    Release(FromWord<void>(db.Query("missing")));
}

}  // namespace
