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
        // Inserted out of row-id order: a bare table name reads in row-id order.
        ASSERT_EQ(db.Execute("CREATE TABLE pairs(name, value); CREATE TABLE vacant(x);"
                             "INSERT INTO pairs(rowid, name, value) VALUES(3, 'c', 30), (1, 'a', "
                             "10), (2, 'b', 20)"),
                  1u);
    }
    TestDb db;
};

TEST_F(QueryTableTest, TableNameReadsTheWholeTableWithOrWithoutColumnNames) {
    QueryResult r = TakeResult(db.Query("pairs"));
    EXPECT_EQ(r.dims, (Dims{3, 2}));
    EXPECT_EQ(r.cells, (Cells{"a", "10", "b", "20", "c", "30"}));
    EXPECT_TRUE(r.fromRuntime) << "block and texts are runtime memory";
    r = TakeResult(db.Query("pairs", MakeBool(true)));
    EXPECT_EQ(r.dims, (Dims{4, 2}));
    EXPECT_EQ(r.cells, (Cells{"name", "value", "a", "10", "b", "20", "c", "30"}));
    // The flag is read without its tag: a zero value with a tag is false.
    EXPECT_EQ(TakeResult(db.Query("pairs", ArgValue{0, 0, DT_BOOL})).dims, (Dims{3, 2}));
}

TEST_F(QueryTableTest, StatementsRunUnchanged) {
    QueryResult r =
        TakeResult(db.Query("SELECT value, name FROM pairs WHERE value > 10 ORDER BY value DESC"));
    EXPECT_EQ(r.cells, (Cells{"30", "c", "20", "b"}));
    EXPECT_EQ(TakeResult(db.Query("SELECT*FROM\"pairs\";")).dims, (Dims{3, 2}))
        << "a semicolon alone";
    EXPECT_EQ(TakeResult(db.Query("SELECT 1, 2; SELECT 3, 4")).cells, (Cells{"1", "2", "3", "4"}));
    EXPECT_TRUE(IsEmptyArray(TakeResult(db.Query("UPDATE pairs SET value = 0"))));
    EXPECT_EQ(TakeResult(db.Query("SELECT sum(value) FROM pairs")).cells, Cells{"0"})
        << "the update ran";
}

TEST_F(QueryTableTest, EveryFailureIsTheOneDimensionalEmptyArray) {
    const char* failing[] = {
        "",
        "missing_table",
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
    db.Close();
    QueryResult closed = TakeResult(db.Query("pairs"));
    EXPECT_TRUE(IsEmptyArray(closed));
    EXPECT_TRUE(closed.fromRuntime);
}

TEST_F(QueryTableTest, FieldsComeBackAsGbkOrAsNullElements) {
    ASSERT_EQ(
        db.Execute("CREATE TABLE 掉落(编号, 数量);"
                   "INSERT INTO 掉落 VALUES('怪物 0.751（Steam）', 0);"  // GBK in, UTF-8 stored
                   "INSERT INTO 掉落 VALUES(NULL, '');"
                   "INSERT INTO 掉落 VALUES(char(3585), 'ok' || char(3585));"  // Thai: not in GBK
                   "INSERT INTO 掉落 VALUES(char(128512), CAST(X'80' AS TEXT));"  // beyond the BMP;
                                                                                  // stray byte
                   "INSERT INTO 掉落 VALUES(char(8364), 1.5)"),  // the euro sign is 0x80 in 936
        1u);
    QueryResult r = TakeResult(db.Query("掉落", MakeBool(true)));
    EXPECT_EQ(r.dims, (Dims{6, 2}));
    EXPECT_EQ(r.cells, (Cells{"编号", "数量", "怪物 0.751（Steam）", "0", "", "", "", "", "", "",
                              "\x80", "1.5"}));
    EXPECT_EQ(r.isNull, (std::vector<bool>{false, false, false, false, true, true, true, true, true,
                                           true, false, false}));
}

TEST_F(QueryTableTest, TableNameTooLongForTheFormattingAreaFails) {
    // Names up to 991 bytes fit the 1024-byte area with the pattern; a longer
    // one would be cut short and must not run as some other text.
    std::string longest(991, 'x');
    std::string tooLong = longest + "x";
    for (const std::string& name : {longest, tooLong}) {
        ASSERT_EQ(db.Execute(
                      ("CREATE TABLE " + name + "(a); INSERT INTO " + name + " VALUES(1)").c_str()),
                  1u);
    }
    EXPECT_EQ(TakeResult(db.Query(longest.c_str())).cells, Cells{"1"});
    EXPECT_TRUE(IsEmptyArray(TakeResult(db.Query(tooLong.c_str()))));
}

}  // namespace
