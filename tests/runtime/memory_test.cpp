// The runtime heap: constant ranges are never released and are copied before
// a change; release of arrays walks their elements.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/memory.h"
#include "runtime/runtime_state.h"
#include "runtime/value.h"

namespace {

// A fake constant data segment registered once for the whole test program.
struct FakeConstants {
    char text[8];
    int32_t byteSet[3];
    int32_t array[4];  // one dimension of two ints
    char tail[4];
};
FakeConstants g_constants = {"const", {1, 4, 0x44434241}, {1, 2, 7, 9}, "end"};

class ConstantMemory : public ::testing::Test {
protected:
    static void SetUpTestSuite() { AddConstantRange(&g_constants, sizeof g_constants); }
};

}  // namespace

TEST_F(ConstantMemory, ReleaseIgnoresConstantsAndNull) {
    Release(nullptr);
    Release(kEmptyText);
    Release(kEmptyByteSet);
    Release(g_constants.text);
    Release(g_constants.byteSet);
    EXPECT_STREQ(g_constants.text, "const");
    EXPECT_TRUE(IsConstantBlock(g_constants.tail));
    EXPECT_TRUE(IsConstantBlock(kEmptyText));
}

TEST_F(ConstantMemory, ReallocateOfAConstantCopiesWhatTheRangeHolds) {
    // Fits inside the range: the whole new size comes from the constant.
    char* copy = static_cast<char*>(Reallocate(g_constants.text, 6));
    EXPECT_NE(copy, g_constants.text);
    EXPECT_FALSE(IsConstantBlock(copy));
    EXPECT_EQ(std::memcmp(copy, "const", 6), 0);
    Release(copy);

    // Reaches past the range's end: only the bytes up to the end are copied.
    char* tail = static_cast<char*>(Reallocate(g_constants.tail, 64));
    EXPECT_EQ(std::memcmp(tail, "end", 4), 0);
    Release(tail);
    EXPECT_STREQ(g_constants.tail, "end");
}

TEST_F(ConstantMemory, ReallocateOfNullAllocatesAndOfAHeapBlockKeepsTheContents) {
    char* block = static_cast<char*>(Reallocate(nullptr, 4));
    std::memcpy(block, "abcd", 4);
    block = static_cast<char*>(Reallocate(block, 4096));
    EXPECT_EQ(std::memcmp(block, "abcd", 4), 0);
    Release(block);
}

TEST_F(ConstantMemory, MakeArrayWritableCopiesConstantsOnly) {
    void* variable = g_constants.array;
    MakeArrayWritable(4, &variable);
    ASSERT_NE(variable, static_cast<void*>(g_constants.array));
    EXPECT_EQ(std::memcmp(variable, g_constants.array, 16), 0);
    static_cast<int32_t*>(variable)[2] = 8;
    EXPECT_EQ(g_constants.array[2], 7);

    void* heapArray = variable;
    MakeArrayWritable(4, &variable);
    EXPECT_EQ(variable, heapArray) << "a heap array is already writable";
    Release(variable);
}

TEST(Memory, CopiesOfEmptyValuesAreNull) {
    EXPECT_EQ(CopyText(nullptr), nullptr);
    EXPECT_EQ(CopyText(""), nullptr);
    EXPECT_EQ(MakeByteSetBlock("x", 0), nullptr);
    char* text = CopyText("abc");
    EXPECT_STREQ(text, "abc");
    Release(text);
    void* set = MakeByteSetBlock("xyz", 3);
    EXPECT_EQ(ByteSetLength(set), 3);
    EXPECT_EQ(ArrayDimCount(set), 1);
    EXPECT_EQ(std::memcmp(ByteSetData(set), "xyz", 3), 0);
    Release(set);
}

TEST(Memory, TryAllocateAnswersNullWhenTheHeapRefuses) {
    EXPECT_EQ(TryAllocate(0x7FFFFFFF), nullptr);
}

namespace {
std::vector<void*> g_handedOut;
std::vector<void*> g_takenBack;
const HeapWatch kRecordingWatch = {[](void* b) { g_handedOut.push_back(b); },
                                   [](void* b) { g_takenBack.push_back(b); }};
}  // namespace

TEST(HeapAccounting, CountsLiveBlocksThroughAllocateReallocateAndRelease) {
    uint32_t before = LiveBlockCount();
    void* a = Allocate(8);
    void* b = Reallocate(nullptr, 4);
    EXPECT_EQ(LiveBlockCount(), before + 2);
    a = Reallocate(a, 4096);
    EXPECT_EQ(LiveBlockCount(), before + 2) << "a resized block is still one block";
    Release(a);
    Release(b);
    EXPECT_EQ(LiveBlockCount(), before);
    EXPECT_EQ(TryAllocate(0x7FFFFFFF), nullptr);
    EXPECT_EQ(LiveBlockCount(), before) << "a refused request hands out nothing";
}

TEST_F(ConstantMemory, ConstantsAndTheirCopiesAreAccountedRight) {
    uint32_t before = LiveBlockCount();
    Release(g_constants.text);
    EXPECT_EQ(LiveBlockCount(), before) << "releasing a constant takes nothing back";
    void* copy = Reallocate(g_constants.text, 16);
    EXPECT_EQ(LiveBlockCount(), before + 1) << "the heap copy of a constant is a new block";
    Release(copy);
    EXPECT_EQ(LiveBlockCount(), before);
}

TEST(HeapAccounting, TheWatchSeesEveryBlockHandedOutAndTakenBack) {
    g_handedOut.clear();
    g_takenBack.clear();
    SetHeapWatch(&kRecordingWatch);
    void* a = Allocate(8);
    void* b = Reallocate(a, 2048);
    Release(b);
    SetHeapWatch(nullptr);
    ASSERT_EQ(g_handedOut.size(), 2u);
    ASSERT_EQ(g_takenBack.size(), 2u);
    EXPECT_EQ(g_handedOut[0], a);
    EXPECT_EQ(g_takenBack[0], a);
    EXPECT_EQ(g_handedOut[1], b);
    EXPECT_EQ(g_takenBack[1], b);
}
