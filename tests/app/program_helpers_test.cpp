// The drop editor's helpers: joining texts, checked indexing with its
// runtime errors, truncation toward zero, and the growing SQL batch.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/program_helpers.h"
#include "app/sql_batch.h"
#include "runtime/memory.h"
#include "runtime/runtime_state.h"
#include "runtime/value.h"
#include "support/runtime_error_exit.h"

namespace {

void* IntArray2x3() {
    auto* block = static_cast<int32_t*>(Allocate(4 * 9));
    int32_t values[] = {2, 2, 3, 11, 12, 13, 21, 22, 23};
    for (int i = 0; i < 9; ++i) block[i] = values[i];
    return block;
}

// A runtime error ends the process with 0xFFFFFFFF (255 as a POSIX status).
void ExpectRuntimeError(void (*statement)()) {
    EXPECT_EXIT(
        {
            g_runtime.mainThreadId = GetCurrentThreadId();
            statement();
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
}

}  // namespace

TEST(JoinTexts, ConcatenatesAndTreatsNullAsEmpty) {
    char* joined = JoinTexts({nullptr, "abc", "", "de"});
    EXPECT_STREQ(joined, "abcde");
    Release(joined);
    char* empty = JoinTexts({nullptr, ""});
    ASSERT_NE(empty, nullptr) << "an empty join is still a zero-terminated text";
    EXPECT_STREQ(empty, "");
    Release(empty);
}

TEST(CheckedIndex, AddressesRowMajorAndByStoredOrder) {
    void* array = IntArray2x3();
    EXPECT_EQ(static_cast<int32_t>(*CheckedIndex(array, {2, 1})), 21);
    EXPECT_EQ(static_cast<int32_t>(*CheckedIndex(array, {1, 3})), 13);
    // One index walks all six elements whatever the dimension count.
    EXPECT_EQ(static_cast<int32_t>(*CheckedIndex(array, {4})), 21);
    EXPECT_EQ(static_cast<int32_t>(*CheckedIndex(array, {6})), 23);
    Release(array);
}

TEST(CheckedIndexDeathTest, IndexZeroIsErrorFour) {
    ExpectRuntimeError([] { CheckedIndex(IntArray2x3(), {0}); });
    ExpectRuntimeError([] { CheckedIndex(IntArray2x3(), {1, 0}); });
}

TEST(CheckedIndexDeathTest, IndexPastTheEndIsErrorOne) {
    ExpectRuntimeError([] { CheckedIndex(IntArray2x3(), {7}); });
    ExpectRuntimeError([] { CheckedIndex(IntArray2x3(), {3, 1}); });
}

TEST(CheckedIndexDeathTest, WrongNumberOfIndicesIsErrorThree) {
    ExpectRuntimeError([] { CheckedIndex(IntArray2x3(), {1, 1, 1}); });
    // The empty query result is a one-dimensional array of size 0.
    ExpectRuntimeError([] {
        int32_t empty[2] = {1, 0};
        CheckedIndex(empty, {385, 38});
    });
}

TEST(TruncToInt64, RoundsTowardZero) {
    EXPECT_EQ(TruncToInt64(2.9), 2);
    EXPECT_EQ(TruncToInt64(-2.9), -2);
    EXPECT_EQ(TruncToInt64(0.5), 0);
    EXPECT_EQ(TruncToInt64(9007199254740993.0), 9007199254740992LL);
}

TEST(TruncToInt64, ValuesWithoutAnIntegerGiveTheSmallestInteger) {
    const int64_t indefinite = std::numeric_limits<int64_t>::min();
    EXPECT_EQ(TruncToInt64(std::nan("")), indefinite);
    EXPECT_EQ(TruncToInt64(HUGE_VAL), indefinite);
    EXPECT_EQ(TruncToInt64(-HUGE_VAL), indefinite);
    EXPECT_EQ(TruncToInt64(1e19), indefinite);
    EXPECT_EQ(TruncToInt64(-1e19), indefinite);
    EXPECT_EQ(TruncToInt64(9223372036854774784.0), 9223372036854774784LL) << "largest double below 2^63";
}

TEST(SqlBatch, LiteralsDoubleTheirQuotesAndPlainTextStaysAsIs) {
    SqlBatch batch;
    batch.Append("where monster_ID='");
    batch.AppendLiteral("O'Brien''s");
    batch.Append("';");
    EXPECT_STREQ(batch.Text(), "where monster_ID='O''Brien''''s';");
    SqlBatch plain;
    plain.AppendLiteral("1001");
    plain.AppendLiteral(nullptr);
    EXPECT_STREQ(plain.Text(), "1001");
}

TEST(SqlBatch, GrowsPastManyRowsWithoutLosingText) {
    SqlBatch batch;
    EXPECT_STREQ(batch.Text(), "");
    for (int i = 0; i < 20000; ++i) batch.Append("update t set a='1';\r\n");
    EXPECT_EQ(batch.Length(), 20000u * 21u);
    EXPECT_EQ(std::string(batch.Text()).substr(batch.Length() - 21), "update t set a='1';\r\n");
}
