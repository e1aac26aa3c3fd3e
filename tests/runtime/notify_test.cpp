// The runtime notification function's core requests.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32.h"
#include "runtime/memory.h"
#include "runtime/notify.h"
#include "runtime/runtime_state.h"
#include "runtime/value.h"
#include "support/runtime_error_exit.h"

namespace {
int32_t AsInt(ArgValue v) { return RuntimeNotify(kRequestValueAsInt, ToWord(&v), 0); }

// A one-dimensional text array block of the given texts.
void* TextArray(std::initializer_list<const char*> texts) {
    auto* block = static_cast<uint32_t*>(Allocate(8 + 4 * static_cast<uint32_t>(texts.size())));
    block[0] = 1;
    block[1] = static_cast<uint32_t>(texts.size());
    uint32_t i = 2;
    for (const char* t : texts) block[i++] = ToWord(CopyText(t));
    return block;
}
}  // namespace

TEST(ValueAsInt, ConvertsEveryNumberKind) {
    ArgValue byte{200, 0, DT_BYTE};
    EXPECT_EQ(AsInt(byte), 200);
    ArgValue shortValue{0xFFFF, 0, DT_SHORT};
    EXPECT_EQ(AsInt(shortValue), -1);
    EXPECT_EQ(AsInt(MakeInt(-7)), -7);
    EXPECT_EQ(AsInt(MakeLong(0x100000005LL)), 5) << "a 64-bit integer answers its low word";
    EXPECT_EQ(AsInt(MakeDouble(-2.7)), -2);
    EXPECT_EQ(AsInt(MakeDouble(4294967298.9)), 2) << "low 32 bits of the truncated value";
    float f = 3.99f;
    ArgValue single{0, 0, DT_FLOAT};
    std::memcpy(&single.low, &f, 4);
    EXPECT_EQ(AsInt(single), 3);
}

TEST(ValueAsIntDeathTest, NonNumericValueIsARuntimeError) {
    EXPECT_EXIT(AsInt(MakeText("12")), ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
}

TEST(ReleaseArrayRequest, ReleasesTextElementsThenTheBlock) {
    // The heap's own count tells a missed element (the count stays above
    // where it started) and a second release of one (it falls below), with
    // or without a leak checker in the build.
    const uint32_t before = LiveBlockCount();
    void* texts = TextArray({"a", "", "bc"});
    ASSERT_GT(LiveBlockCount(), before + 2) << "the block and at least two texts";
    RuntimeNotify(kRequestReleaseArray, DT_TEXT | DT_ARRAY, ToWord(texts));
    EXPECT_EQ(LiveBlockCount(), before) << "every text and the block went back once";

    void* one = TextArray({"x"});
    ASSERT_EQ(LiveBlockCount(), before + 2);
    RuntimeNotify(kRequestReleaseArray, DT_TEXT, ToWord(one));
    EXPECT_EQ(LiveBlockCount(), before) << "the element type alone says the elements are texts";

    RuntimeNotify(kRequestReleaseArray, DT_TEXT, 0);
    EXPECT_EQ(LiveBlockCount(), before) << "a null array releases nothing";

    // Integer arrays hold numbers, not addresses: only the block goes.
    auto* ints = static_cast<int32_t*>(Allocate(16));
    ints[0] = 1;
    ints[1] = 2;
    ints[2] = 0x12345678;
    ints[3] = 0x7FFFFFF0;
    ASSERT_EQ(LiveBlockCount(), before + 1);
    RuntimeNotify(kRequestReleaseArray, DT_INT | DT_ARRAY, ToWord(ints));
    EXPECT_EQ(LiveBlockCount(), before);
}

TEST(MemoryRequests, AllocateReallocateAndReleaseThroughTheFunction) {
    auto* block = FromWord<char>(static_cast<Word>(RuntimeNotify(kRequestAllocate, 8, 0)));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "1234567", 8);
    block = FromWord<char>(static_cast<Word>(RuntimeNotify(kRequestReallocate, ToWord(block), 100)));
    EXPECT_STREQ(block, "1234567");
    RuntimeNotify(kRequestRelease, ToWord(block), 0);
    EXPECT_EQ(RuntimeNotify(kRequestAllocate, 0x7FFFFFFF, 1), 0) << "the unchecked form answers null";
}

TEST(SuppressionRequests, CounterRisesAndNeverGoesBelowZero) {
    g_runtime.suppressEvents = 0;
    RuntimeNotify(kRequestSuppressEvents, 0, 0);
    RuntimeNotify(kRequestSuppressEvents, 0, 0);
    EXPECT_EQ(g_runtime.suppressEvents, 2);
    RuntimeNotify(kRequestAllowEvents, 0, 0);
    RuntimeNotify(kRequestAllowEvents, 0, 0);
    RuntimeNotify(kRequestAllowEvents, 0, 0);
    EXPECT_EQ(g_runtime.suppressEvents, 0);
}

namespace {
int g_probeSeen = 0;
LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 5) ++g_probeSeen;
    return DefWindowProcA(h, m, w, l);
}
}  // namespace

TEST(ProcessEvents, DispatchesQueuedMessagesButLeavesTheQuitMessage) {
    int& seen = g_probeSeen;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = "ProcessEventsProbe";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "ProcessEventsProbe", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);

    RuntimeNotify(kRequestProcessEvents, 0, 0);  // empty queue: returns at once
    PostMessageA(hwnd, WM_USER + 5, 0, 0);
    PostMessageA(hwnd, WM_USER + 5, 0, 0);
    PostQuitMessage(0);
    RuntimeNotify(kRequestProcessEvents, 0, 0);
    EXPECT_EQ(seen, 2);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    DestroyWindow(hwnd);
}
