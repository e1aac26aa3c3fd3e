// The runtime errors of events, property access and *close window*. Each
// ends the process with exit code 0xFFFFFFFF; the error hook writes the
// message (as hex, GBK bytes being no regular expression) to stderr so that
// the test sees which error it was.
#include <cstdio>
#include <string>

#include "forms/close_window.h"
#include "forms/event_dispatch.h"
#include "forms/property_access.h"
#include "live_fixture.h"
#include "runtime/command.h"
#include "runtime/runtime_error.h"
#include "support/runtime_error_exit.h"

namespace {

std::string Hex(const char* text) {
    std::string out;
    char digits[3];
    for (const char* p = text; *p != '\0'; ++p) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*p));
        out += digits;
    }
    return out;
}

int32_t PrintMessage(int32_t, const char* message) {
    std::fprintf(stderr, "error:%s\n", Hex(message != nullptr ? message : "").c_str());
    return 1;  // no box: the process still ends
}

std::string Expect(const char* message) {
    return "error:" + Hex(message) + "\n";
}


void RaiseFor(uint32_t windowId, uint32_t unitId, int32_t eventIndex) {
    SetUnhandledErrorHook(PrintMessage);
    EventRecord record = {windowId, unitId, eventIndex, 0, {}, 0, 0};
    RaiseEvent(&record);
}

void CloseWindowOf(uint32_t windowId, uint32_t unitId) {
    SetUnhandledErrorHook(PrintMessage);
    ArgValue args[1] = {ArgValue{windowId, unitId, DT_WINDOW}};
    CallCoreCommand(CoreCommandEntry(kCmdCloseWindow), 1, args);
}

// The child runs the test afresh: the runtime then records the child's own
// thread as its main thread, which a forked child would not match.
class FailureTable : public LiveWindowTest {
  protected:
    void SetUp() override { ::testing::FLAGS_gtest_death_test_style = "threadsafe"; }
};

}  // namespace

TEST_F(FailureTable, EventsNamingNoWindowOrUnitOrAKindWithoutEvents) {
    LiveWindowSource source;
    source.label.unitType = 0x00010002;  // an empty descriptor of the core library
    StartWith(source.Segment());
    EXPECT_EXIT(RaiseFor(0x52010077, kLiveLabelId, 0), ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("未找到引发事件的窗口"));
    EXPECT_EXIT(RaiseFor(kLiveWindowId, 0x16010077, 0),
                ::testing::ExitedWithCode(kRuntimeErrorExitStatus), Expect("未找到引发事件的窗口组件"));
    EXPECT_EXIT(RaiseFor(kLiveWindowId, kLiveLabelId, 0),
                ::testing::ExitedWithCode(kRuntimeErrorExitStatus), Expect("引发事件的窗口组件无效"));
}

TEST_F(FailureTable, PropertyAccessOutsideTheWindowTableOrBeforeLoading) {
    StartWith(LiveWindowSource().Segment());
    auto readMissing = [] {
        SetUnhandledErrorHook(PrintMessage);
        ReadProperty(0x52010077, kLiveLabelId, 0, -1);
    };
    auto writeMissing = [] {
        SetUnhandledErrorHook(PrintMessage);
        WriteProperty(0x52010077, kLiveLabelId, 0, -1, 5, 0);
    };
    auto readUnloaded = [] {
        SetUnhandledErrorHook(PrintMessage);
        ReadProperty(kLiveWindowId, kLiveLabelId, 8, -1);
    };
    auto writeUnloaded = [] {
        SetUnhandledErrorHook(PrintMessage);
        WriteProperty(kLiveWindowId, kLiveIntBoxId, 8, -1, ToWord("1"), 0);
    };
    EXPECT_EXIT(readMissing(), ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("未载入欲访问窗口组件所在的窗口"));
    EXPECT_EXIT(writeMissing(), ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("未载入欲访问窗口组件所在的窗口"));
    EXPECT_EXIT(readUnloaded(), ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("指定窗口尚未载入"));
    EXPECT_EXIT(writeUnloaded(), ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("指定窗口尚未载入"));
    // The common properties need no loaded window, so none of this fails.
    EXPECT_EQ(ReadProperty(kLiveWindowId, kLiveLabelId, 0, -1), 10u);
}

TEST_F(FailureTable, ClosingAWindowThatIsNotLoaded) {
    StartWith(LiveWindowSource().Segment());
    EXPECT_EXIT(CloseWindowOf(kLiveWindowId, kLiveWindowUnit),
                ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("指定窗口或窗口组件不存在或尚未载入"));
    EXPECT_EXIT(CloseWindowOf(0x52010077, kLiveWindowUnit),
                ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("指定窗口或窗口组件不存在或尚未载入"));
    Load();
    EXPECT_EXIT(CloseWindowOf(kLiveWindowId, 0x16010077),
                ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                Expect("指定窗口或窗口组件不存在或尚未载入"));
}

TEST_F(FailureTable, NothingRunsAfterARuntimeErrorEvenWhenTheHookHandlesIt) {
    // With the hook answering "handled", the box is skipped but the process
    // still ends: nothing runs after a runtime error.
    StartWith(LiveWindowSource().Segment());
    auto raiseThenPrint = [] {
        RaiseFor(0x52010077, 0, 0);
        std::fprintf(stderr, "continued\n");
    };
    EXPECT_EXIT(raiseThenPrint(), ::testing::ExitedWithCode(kRuntimeErrorExitStatus),
                "^" + Expect("未找到引发事件的窗口") + "$");
}
