// SqliteDB.Open, Close, Execute, Compact and the instance's life, called as
// program code calls them.
#include "sqlite_test_support.h"

namespace {

using std::filesystem::exists;
using std::filesystem::u8path;

// Counts rows of a table through the unit itself.
std::string CountRows(TestDb& db, const char* table) {
    std::string sql = std::string("SELECT count(*) FROM ") + table;
    QueryResult r = TakeResult(db.Query(sql.c_str()));
    return r.cells.size() == 1 ? r.cells[0] : "(no result)";
}

TEST_F(SqliteLibTest, ConstructClearsTheBlockAndCommandsLeaveReservedWordsAlone) {
    SqliteDbState state;
    std::memset(&state, 0xAB, sizeof state);
    ArgValue self{ToWord(&state), 0, DT_SQLITEDB};
    CallLibraryCommand(CommandAt(kSqliteConstruct), 1, &self);
    EXPECT_EQ(state.connection, nullptr);
    for (Word w : state.reserved) EXPECT_EQ(w, 0u);

    // Program code owns words 1 to 9; nothing of the library may write them.
    for (Word& w : state.reserved) w = 0x5A5A5A5A;
    ArgValue open[3] = {self, MakeOmitted(), MakeBool(true)};
    EXPECT_EQ(CallLibraryCommand(CommandAt(kSqliteOpen), 3, open).low, 1u);
    ArgValue exec[2] = {self, MakeText("CREATE TABLE t(a)")};
    EXPECT_EQ(CallLibraryCommand(CommandAt(kSqliteExecute), 2, exec).low, 1u);
    EXPECT_EQ(CallLibraryCommand(CommandAt(kSqliteCompact), 1, &self).low, 1u);
    EXPECT_EQ(CallLibraryCommand(CommandAt(kSqliteClose), 1, &self).low, 1u);
    CallLibraryCommand(CommandAt(kSqliteDestroy), 1, &self);
    for (Word w : state.reserved) EXPECT_EQ(w, 0x5A5A5A5Au);
}

TEST_F(SqliteLibTest, OpenWithoutNameNeedsCreateAndThenGivesAnEmptyMemoryDatabase) {
    TestDb db;
    EXPECT_EQ(db.Open(MakeOmitted(), MakeOmitted()), 0u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.Open(MakeText(""), MakeBool(false)), 0u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.Open(MakeText(nullptr), MakeBool(true)), 1u);
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(CountRows(db, "sqlite_master"), "0");
}

TEST_F(SqliteFileTest, MemoryNameInAnyCaseIsMemoryModeAndReopeningStartsAfresh) {
    for (const char* name : {":memory:", ":MEMORY:", ":Memory:"}) {
        TestDb db;
        EXPECT_EQ(db.Open(name, false), 0u)
            << name << ": a memory database needs create-if-missing";
        EXPECT_FALSE(db.IsOpen());
        ASSERT_EQ(db.Open(name, true), 1u) << name;
        ASSERT_EQ(db.Execute("CREATE TABLE t(a); INSERT INTO t VALUES(1)"), 1u);
        EXPECT_EQ(CountRows(db, "t"), "1");
        // The second open closes the first database, so the table is gone.
        ASSERT_EQ(db.Open(name, true), 1u);
        EXPECT_EQ(CountRows(db, "sqlite_master"), "0") << name;
    }
    EXPECT_TRUE(FolderIsEmpty()) << "no file may be made for a memory database";
}

TEST_F(SqliteFileTest, MissingFileOpensOnlyWithCreateAndIsNotMadeWithout) {
    TestDb db;
    EXPECT_EQ(db.Open(MakeText("pe.bin")), 0u);
    EXPECT_EQ(db.Open("pe.bin", false), 0u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_TRUE(FolderIsEmpty());

    ASSERT_EQ(db.Open("pe.bin", true), 1u);
    ASSERT_EQ(db.Execute("CREATE TABLE t(a); INSERT INTO t VALUES('kept')"), 1u);
    EXPECT_EQ(db.Close(), 1u);
    EXPECT_TRUE(exists("pe.bin"));

    // Now it exists, the plain open (as the drop editor does it) succeeds.
    ASSERT_EQ(db.Open(MakeText("pe.bin")), 1u);
    EXPECT_EQ(CountRows(db, "t"), "1");
}

TEST_F(SqliteFileTest, FailedOpenStillClosesTheDatabaseThatWasOpen) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    EXPECT_EQ(db.Open("missing.db", false), 0u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.Execute("CREATE TABLE t(a)"), 0u);

    ASSERT_EQ(db.OpenMemory(), 1u);
    EXPECT_EQ(db.Open(MakeOmitted(), MakeOmitted()), 0u);
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(SqliteFileTest, EngineRefusalLeavesNothingOpen) {
    std::filesystem::create_directory("folder.db");
    TestDb db;
    EXPECT_EQ(db.Open("folder.db", true), 0u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.Open("no_such_folder/x.db", true), 0u);
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(SqliteFileTest, GbkFileNameReachesTheEngineAsUtf8) {
    TestDb db;
    ASSERT_EQ(db.Open("数据库.db", true), 1u);  // GBK bytes at run time
    ASSERT_EQ(db.Execute("CREATE TABLE t(a)"), 1u);
    db.Close();
    EXPECT_TRUE(exists(u8path(u8"数据库.db")));
    // ...and the same GBK name finds the file again without create.
    EXPECT_EQ(db.Open("数据库.db", false), 1u);
}

TEST_F(SqliteFileTest, NameThatIsNotGbkFailsWithoutTouchingTheFileSystem) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    // 0x81 needs a trail byte from 0x40 up; a space is none, nor is the end.
    for (const char* name : {"bad\x81 name.db", "bad\x81"}) {
        EXPECT_EQ(db.Open(name, true), 0u) << name;
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(db.Open(name, false), 0u) << name;
    }
    EXPECT_TRUE(FolderIsEmpty());
}

TEST_F(SqliteLibTest, CloseAndDestroyOnAClosedInstance) {
    TestDb db;
    EXPECT_EQ(db.Close(), 1u);
    ASSERT_EQ(db.OpenMemory(), 1u);
    EXPECT_EQ(db.Close(), 1u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.Close(), 1u);
    db.Call(kSqliteDestroy);
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(SqliteLibTest, ExecuteNeedsAnOpenDatabaseAndSomeText) {
    TestDb db;
    EXPECT_EQ(db.Execute("CREATE TABLE t(a)"), 0u);
    ASSERT_EQ(db.OpenMemory(), 1u);
    EXPECT_EQ(db.Execute(""), 0u);
    EXPECT_EQ(db.Call(kSqliteExecute, ArgValue{0, 0, DT_TEXT}).low, 0u);
    EXPECT_EQ(db.Execute("CREATE TABLE t(a)"), 1u);
    EXPECT_EQ(db.Execute("this is not SQL"), 0u);
}

TEST_F(SqliteLibTest, ExecuteStopsAtTheFirstFailureAndKeepsWhatRanBefore) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    ASSERT_EQ(db.Execute("CREATE TABLE t(id, v); INSERT INTO t VALUES(1, 10)"), 1u);
    EXPECT_EQ(
        db.Execute(
            "UPDATE t SET v = 20 WHERE id = 1; UPDATE missing SET v = 1; UPDATE t SET v = 30"),
        0u);
    QueryResult r = TakeResult(db.Query("SELECT v FROM t"));
    EXPECT_EQ(r.cells, std::vector<std::string>{"20"});
}

TEST_F(SqliteLibTest, ExecuteDiscardsRowsOfSelects) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    EXPECT_EQ(db.Execute("CREATE TABLE t(a); SELECT 1; INSERT INTO t VALUES(2)"), 1u);
    EXPECT_EQ(FakeRuntime::Allocations(), 0) << "Execute hands nothing to program code";
    EXPECT_EQ(CountRows(db, "t"), "1");
}

TEST_F(SqliteLibTest, ExecuteConvertsGbkTextAndRefusesTextThatIsNotGbk) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    ASSERT_EQ(db.Execute("CREATE TABLE t(a)"), 1u);
    ASSERT_EQ(db.Execute("INSERT INTO t VALUES('怪物掉落')"), 1u);
    EXPECT_EQ(TakeResult(db.Query("SELECT hex(a) FROM t")).cells,
              std::vector<std::string>{"E680AAE789A9E68E89E890BD"});
    EXPECT_EQ(db.Execute("INSERT INTO t VALUES('\x81 ')"), 0u);
    EXPECT_EQ(CountRows(db, "t"), "1");
}

TEST_F(SqliteLibTest, ALongBatchOfUpdatesRunsInOneCall) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    std::string batch = "CREATE TABLE ai_data(monster_ID, meat_drop);";
    for (int i = 1; i <= 3000; ++i)
        batch += "INSERT INTO ai_data VALUES(" + std::to_string(i) + ", 1);";
    ASSERT_EQ(db.Execute(batch.c_str()), 1u);
    batch.clear();
    for (int i = 1; i <= 3000; ++i) {
        batch += "UPDATE ai_data SET meat_drop=" + std::to_string(i * 2) +
                 " WHERE monster_ID=" + std::to_string(i) + ";";
    }
    ASSERT_EQ(db.Execute(batch.c_str()), 1u);
    EXPECT_EQ(TakeResult(db.Query("SELECT sum(meat_drop) FROM ai_data")).cells,
              std::vector<std::string>{std::to_string(3000 * 3001)});
}

TEST_F(SqliteFileTest, CompactLeavesNoFreePages) {
    TestDb db;
    EXPECT_EQ(db.Compact(), 0u) << "closed instance";
    ASSERT_EQ(db.Open("pe.bin", true), 1u);
    ASSERT_EQ(
        db.Execute("CREATE TABLE t(id, blob); "
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                   "INSERT INTO t SELECT i, randomblob(10000) FROM n"),
        1u);
    ASSERT_EQ(db.Execute("UPDATE t SET blob = NULL WHERE id > 10"), 1u);
    auto freePages = [&db] { return TakeResult(db.Query("PRAGMA freelist_count")).cells; };
    ASSERT_NE(freePages(), std::vector<std::string>{"0"})
        << "the update should have freed its overflow pages";
    auto before = std::filesystem::file_size("pe.bin");
    EXPECT_EQ(db.Compact(), 1u);
    EXPECT_EQ(freePages(), std::vector<std::string>{"0"});
    EXPECT_LT(std::filesystem::file_size("pe.bin"), before);
    db.Close();
    EXPECT_EQ(db.Compact(), 0u);
}

}  // namespace
