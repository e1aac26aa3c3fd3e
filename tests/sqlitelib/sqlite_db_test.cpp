// SqliteDB.Open, Close, Execute, Compact and the instance's life, called as
// program code calls them.
#include "sqlite_test_support.h"

namespace {

using Cells = std::vector<std::string>;

std::string CountRows(TestDb& db, const char* table) {
    QueryResult r = TakeResult(db.Query((std::string("SELECT count(*) FROM ") + table).c_str()));
    return r.cells.size() == 1 ? r.cells[0] : "(no result)";
}

TEST_F(SqliteLibTest, ConstructClearsTheBlockAndNoCommandTouchesTheReservedWords) {
    TestDb db;
    std::memset(&db.state(), 0xAB, sizeof(SqliteDbState));
    db.Call(kSqliteConstruct);
    EXPECT_FALSE(db.IsOpen());
    for (Word w : db.state().reserved) EXPECT_EQ(w, 0u);
    for (Word& w : db.state().reserved) w = 0x5A5A5A5A;  // program code's words
    EXPECT_EQ(db.OpenMemory(), 1u);
    EXPECT_EQ(db.Execute("CREATE TABLE t(a)"), 1u);
    EXPECT_EQ(db.Compact(), 1u);
    EXPECT_EQ(db.Close(), 1u);
    EXPECT_EQ(db.Close(), 1u) << "closing a closed instance";
    db.Call(kSqliteDestroy);
    for (Word w : db.state().reserved) EXPECT_EQ(w, 0x5A5A5A5Au);
}

TEST_F(SqliteFileTest, MemoryModeNeedsCreateAndIgnoresTheCaseOfItsName) {
    TestDb db;
    EXPECT_EQ(db.Open(MakeOmitted(), MakeOmitted()), 0u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.Open(MakeText(""), MakeBool(true)), 1u);
    for (const char* name : {":memory:", ":MEMORY:", ":Memory:"}) {
        EXPECT_EQ(db.Open(name, false), 0u) << name;
        EXPECT_FALSE(db.IsOpen());
        ASSERT_EQ(db.Open(name, true), 1u) << name;
        EXPECT_EQ(CountRows(db, "sqlite_master"), "0") << "each open starts afresh";
        ASSERT_EQ(db.Execute("CREATE TABLE t(a)"), 1u);
    }
    EXPECT_TRUE(FolderIsEmpty()) << "no file may be made for a memory database";
}

TEST_F(SqliteFileTest, MissingFileOpensOnlyWithCreateAndIsNotMadeWithout) {
    TestDb db;
    EXPECT_EQ(db.Open(MakeText("pe.bin")), 0u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_TRUE(FolderIsEmpty());
    ASSERT_EQ(db.Open("pe.bin", true), 1u);
    ASSERT_EQ(db.Execute("CREATE TABLE t(a); INSERT INTO t VALUES('kept')"), 1u);
    ASSERT_EQ(db.Open(MakeText("pe.bin")), 1u) << "now it exists, as the drop editor opens it";
    EXPECT_EQ(CountRows(db, "t"), "1");
    EXPECT_EQ(db.Open("folder_that_is_missing/x.db", true), 0u) << "the engine refuses";
    EXPECT_FALSE(db.IsOpen());
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

TEST_F(SqliteFileTest, GbkFileNamesReachTheEngineAsUtf8AndInvalidOnesNothing) {
    TestDb db;
    ASSERT_EQ(db.Open("数据库.db", true), 1u);  // GBK bytes at run time
    ASSERT_EQ(db.Execute("CREATE TABLE t(a)"), 1u);
    db.Close();
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(u8"数据库.db")));
    EXPECT_EQ(db.Open("数据库.db", false), 1u);
    db.Close();  // Windows removes no file that is open
    std::filesystem::remove(std::filesystem::u8path(u8"数据库.db"));

    // 0x81 needs a trail byte from 0x40 up; a space is none, nor is the end.
    for (const char* name : {"bad\x81 name.db", "bad\x81"}) {
        EXPECT_EQ(db.Open(name, true), 0u) << name;
        EXPECT_FALSE(db.IsOpen());
    }
    EXPECT_TRUE(FolderIsEmpty());
}

TEST_F(SqliteLibTest, ExecuteNeedsAnOpenDatabaseAndSomeText) {
    TestDb db;
    EXPECT_EQ(db.Execute("CREATE TABLE t(a)"), 0u);
    ASSERT_EQ(db.OpenMemory(), 1u);
    EXPECT_EQ(db.Execute(""), 0u);
    EXPECT_EQ(db.Call(kSqliteExecute, ArgValue{0, 0, DT_TEXT}).low, 0u);
    EXPECT_EQ(db.Execute("CREATE TABLE t(a); SELECT 1; INSERT INTO t VALUES(2)"), 1u);
    EXPECT_EQ(FakeRuntime::allocations, 0) << "rows of a SELECT are dropped";
}

TEST_F(SqliteLibTest, ExecuteStopsAtTheFirstFailureAndKeepsWhatRanBefore) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    ASSERT_EQ(db.Execute("CREATE TABLE t(id, v); INSERT INTO t VALUES(1, 10)"), 1u);
    EXPECT_EQ(db.Execute("UPDATE t SET v = 20 WHERE id = 1;\r\nUPDATE missing SET v = 1;\r\nUPDATE "
                         "t SET v = 30"),
              0u);
    EXPECT_EQ(TakeResult(db.Query("SELECT v FROM t")).cells, Cells{"20"});
}

TEST_F(SqliteLibTest, ExecuteConvertsGbkTextAndRefusesTextThatIsNotGbk) {
    TestDb db;
    ASSERT_EQ(db.OpenMemory(), 1u);
    ASSERT_EQ(db.Execute("CREATE TABLE t(a); INSERT INTO t VALUES('怪物掉落')"), 1u);
    EXPECT_EQ(TakeResult(db.Query("SELECT hex(a) FROM t")).cells,
              Cells{"E680AAE789A9E68E89E890BD"});
    EXPECT_EQ(db.Execute("INSERT INTO t VALUES('\x81 ')"), 0u);
    EXPECT_EQ(CountRows(db, "t"), "1");
}

TEST_F(SqliteFileTest, CompactAfterAnUpdateLeavesNoFreePages) {
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
    ASSERT_NE(freePages(), Cells{"0"}) << "the update should have freed its overflow pages";
    auto before = std::filesystem::file_size("pe.bin");
    EXPECT_EQ(db.Compact(), 1u);
    EXPECT_EQ(freePages(), Cells{"0"});
    EXPECT_LT(std::filesystem::file_size("pe.bin"), before);
}

}  // namespace
