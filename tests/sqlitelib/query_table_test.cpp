// SqliteDB.QueryTable: shapes of the result, the empty array on every
// failure, field conversion, and who owns what.
#include "sqlite_test_support.h"

namespace {

using Cells = std::vector<std::string>;
using Dims = std::vector<int32_t>;

class QueryTableTest : public SqliteLibTest {
  protected:
    void SetUp() override {
        SqliteLibTest::SetUp();
        ASSERT_EQ(db.OpenMemory(), 1u);
        // Inserted out of id order: a bare table name reads in row-id order.
        ASSERT_EQ(db.Execute("CREATE TABLE pairs(name, value);"
                             "INSERT INTO pairs(rowid, name, value) VALUES(3, 'c', 30);"
                             "INSERT INTO pairs(rowid, name, value) VALUES(1, 'a', 10);"
                             "INSERT INTO pairs(rowid, name, value) VALUES(2, 'b', 20);"
                             "CREATE TABLE vacant(x);"),
                  1u);
    }
    TestDb db;
};

TEST_F(QueryTableTest, BareTableNameReadsTheWholeTableInRowIdOrder) {
    QueryResult r = TakeResult(db.Query("pairs"));
    EXPECT_EQ(r.dims, (Dims{3, 2}));
    EXPECT_EQ(r.cells, (Cells{"a", "10", "b", "20", "c", "30"}));
    EXPECT_TRUE(r.fromRuntime);
}

TEST_F(QueryTableTest, ColumnNamesComeAsAnExtraFirstRow) {
    QueryResult r = TakeResult(db.Query("pairs", MakeBool(true)));
    EXPECT_EQ(r.dims, (Dims{4, 2}));
    EXPECT_EQ(r.cells, (Cells{"name", "value", "a", "10", "b", "20", "c", "30"}));
    EXPECT_TRUE(r.fromRuntime);
    // The flag is read without its tag: a zero value with a tag is false.
    EXPECT_EQ(TakeResult(db.Query("pairs", ArgValue{0, 0, DT_BOOL})).dims, (Dims{3, 2}));
}

TEST_F(QueryTableTest, StatementsRunUnchanged) {
    QueryResult r =
        TakeResult(db.Query("SELECT value, name FROM pairs WHERE value > 10 ORDER BY value DESC"));
    EXPECT_EQ(r.dims, (Dims{2, 2}));
    EXPECT_EQ(r.cells, (Cells{"30", "c", "20", "b"}));
    // A semicolon alone marks a statement as well.
    EXPECT_EQ(TakeResult(db.Query("SELECT*FROM\"pairs\";")).dims, (Dims{3, 2}));
    // Several statements with the same width give one table.
    EXPECT_EQ(TakeResult(db.Query("SELECT 1, 2; SELECT 3, 4")).cells, (Cells{"1", "2", "3", "4"}));
}

TEST_F(QueryTableTest, EveryFailureIsTheOneDimensionalEmptyArray) {
    const char* failing[] = {
        "",
        "missing_table",
        "SELECT * FROM missing_table",
        "SELEKT 1",
        "SELECT\t*\tFROM\tpairs",  // tabs only: taken for a table name
        "vacant",                  // a table without rows
        "SELECT 1, 2; SELECT 3",   // statements of different widths
        "pairs\x81",               // not GBK
    };
    for (const char* text : failing) {
        EXPECT_TRUE(IsEmptyArray(TakeResult(db.Query(text)))) << text;
        EXPECT_TRUE(IsEmptyArray(TakeResult(db.Query(text, MakeBool(true)))))
            << text << " with names";
    }
    EXPECT_TRUE(IsEmptyArray(TakeResult(db.Call(kSqliteQueryTable, ArgValue{0, 0, DT_TEXT}).low)));
}

TEST_F(QueryTableTest, ClosedInstanceGivesTheEmptyArrayNeverNull) {
    db.Close();
    QueryResult r = TakeResult(db.Query("pairs"));
    EXPECT_TRUE(IsEmptyArray(r));
    EXPECT_TRUE(r.fromRuntime);
}

TEST_F(QueryTableTest, UpdateGivenAsQueryRunsAndYieldsTheEmptyArray) {
    EXPECT_TRUE(IsEmptyArray(TakeResult(db.Query("UPDATE pairs SET value = 0"))));
    EXPECT_EQ(TakeResult(db.Query("SELECT sum(value) FROM pairs")).cells, Cells{"0"});
}

TEST_F(QueryTableTest, NullAndEmptyFieldsAreNullElements) {
    ASSERT_EQ(db.Execute("CREATE TABLE f(a, b, c); INSERT INTO f VALUES(NULL, '', 0)"), 1u);
    QueryResult r = TakeResult(db.Query("f"));
    EXPECT_EQ(r.isNull, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(r.cells[2], "0");
}

TEST_F(QueryTableTest, FieldsComeBackAsGbkOrEmptyWhenGbkCannotHoldThem) {
    ASSERT_EQ(
        db.Execute("CREATE TABLE f(a);"
                   "INSERT INTO f VALUES('怪物 掉落 0.751（Steam）');"  // GBK in, UTF-8 stored
                   "INSERT INTO f VALUES(char(3585));"                  // Thai ko kai
                   "INSERT INTO f VALUES('ok' || char(3585));"     // one bad char spoils the field
                   "INSERT INTO f VALUES(char(128512));"           // beyond the basic plane
                   "INSERT INTO f VALUES(CAST(X'80' AS TEXT));"    // stray continuation byte
                   "INSERT INTO f VALUES(CAST(X'E4B8' AS TEXT));"  // cut-off sequence
                   "INSERT INTO f VALUES(char(8364));"),           // the euro sign, 0x80 in 936
        1u);
    QueryResult r = TakeResult(db.Query("f"));
    ASSERT_EQ(r.cells.size(), 7u);
    EXPECT_EQ(r.cells[0], "怪物 掉落 0.751（Steam）");
    EXPECT_EQ(r.isNull, (std::vector<bool>{false, true, true, true, true, true, false}));
    EXPECT_EQ(r.cells[6], "\x80");
}

TEST_F(QueryTableTest, GbkColumnNamesAndTableNamesConvertBothWays) {
    ASSERT_EQ(db.Execute("CREATE TABLE 掉落(编号, 数量); INSERT INTO 掉落 VALUES(1, 2)"), 1u);
    QueryResult r = TakeResult(db.Query("掉落", MakeBool(true)));
    EXPECT_EQ(r.dims, (Dims{2, 2}));
    EXPECT_EQ(r.cells, (Cells{"编号", "数量", "1", "2"}));
}

TEST_F(QueryTableTest, TableNameTooLongForTheFormattingAreaFails) {
    // Names up to 991 bytes fit the 1024-byte area with the pattern.
    std::string longest(991, 'x');
    std::string create = "CREATE TABLE " + longest + "(a); INSERT INTO " + longest + " VALUES(1)";
    ASSERT_EQ(db.Execute(create.c_str()), 1u);
    EXPECT_EQ(TakeResult(db.Query(longest.c_str())).cells, Cells{"1"});
    // One byte more would be cut short; it must not run as some other text.
    std::string tooLong = longest + "x";
    create = "CREATE TABLE " + tooLong + "(a); INSERT INTO " + tooLong + " VALUES(2)";
    ASSERT_EQ(db.Execute(create.c_str()), 1u);
    EXPECT_TRUE(IsEmptyArray(TakeResult(db.Query(tooLong.c_str()))));
}

TEST_F(QueryTableTest, EachElementIsItsOwnRuntimeBlock) {
    // Equal fields are still separate blocks: program code releases each.
    ASSERT_EQ(db.Execute("CREATE TABLE same(a, b); INSERT INTO same VALUES('x', 'x')"), 1u);
    Word block = db.Query("same");
    const Word* elements = static_cast<const Word*>(ArrayElements(FromWord<const int32_t>(block)));
    EXPECT_NE(elements[0], elements[1]);
    EXPECT_EQ(FakeRuntime::Live().size(), 3u)
        << "the block and two texts; the empty result was given back";
    FakeRuntime::ReleaseTextArray(block);
}

}  // namespace
