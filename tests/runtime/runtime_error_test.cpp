// Runtime errors and the end of the program, in child processes: the box
// text, the exit code, and which end steps run.
#include "runtime/runtime_error.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/hidden_window.h"
#include "runtime/notify.h"
#include "runtime/process_events.h"
#include "runtime/program_end.h"
#include "runtime/runtime_state.h"
#include "support/runtime_error_exit.h"
#include "tests/support/seen_boxes.h"

namespace {

// Each death test's child records its boxes under the test's name; the
// parent reads them afterwards.
class RuntimeErrorDeathTest : public ::testing::Test {
  protected:
    RuntimeErrorDeathTest()
        : boxes_(std::string("runtime_error_") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    std::vector<seenboxes::Box> Boxes() const { return boxes_.Boxes(); }

    // Every box's text, for failure messages.
    std::string Shown() const {
        std::string all;
        for (const seenboxes::Box& box : Boxes()) all += seenboxes::Describe(box) + "\n";
        return all;
    }

    seenboxes::Recorder boxes_;
};

// A death test's child runs its statement on a thread the runtime has not
// met: it becomes the program's main thread there.
void BecomeMainThread() {
    g_runtime.mainThreadId = GetCurrentThreadId();
}

void EndRoutineShowsABox() {
    MessageBoxA(nullptr, "end routine ran", "t", MB_OK);
}

}  // namespace

TEST_F(RuntimeErrorDeathTest, NumberedErrorShowsCodeAndMessageAndSkipsTheEndRoutine) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            RegisterEndRoutine(EndRoutineShowsABox);
            ReportErrorByCode(4);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    std::vector<seenboxes::Box> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u) << "the error's box, and not the end routine's\n" << Shown();
    EXPECT_EQ(boxes[0].title, "错误");
    EXPECT_EQ(boxes[0].text,
              "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(boxes[0].answer, IDOK);
}

TEST_F(RuntimeErrorDeathTest, EmptyMessageWithoutNumberShowsOnlyTheFirstLine) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            RuntimeNotify(kRequestRuntimeError, ToWord(""), 0);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    std::vector<seenboxes::Box> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u) << Shown();
    EXPECT_EQ(boxes[0].text, "运行时出错!\r\n\r\n");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(RuntimeErrorDeathTest, AHandlingHookSuppressesTheBoxButTheProgramStillEnds) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            SetUnhandledErrorHook([](int32_t, const char*) -> int32_t { return 1; });
            ReportErrorByCode(1);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    EXPECT_TRUE(Boxes().empty()) << Shown();
}

TEST_F(RuntimeErrorDeathTest, AnErrorInsideTheHookShowsTheBoxDirectly) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            SetUnhandledErrorHook(
                [](int32_t, const char*) -> int32_t { ReportRuntimeError("inner", 0); });
            ReportErrorByCode(2);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    std::vector<seenboxes::Box> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u) << Shown();
    EXPECT_NE(boxes[0].text.find("错误信息：inner"), std::string::npos) << Shown();
}

TEST_F(RuntimeErrorDeathTest, NormalEndRunsTheEndRoutineOnceAndExitsWithTheCode) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            RegisterEndRoutine([] {
                MessageBoxA(nullptr, "end routine ran", "t", MB_OK);
                // Ending again from inside the end routine must not run it twice.
                EndProgram(9);
            });
            EndProgram(0);
        },
        ::testing::ExitedWithCode(9), "");
    std::vector<seenboxes::Box> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u) << Shown();
    EXPECT_EQ(boxes[0].title, "t");
    EXPECT_EQ(boxes[0].text, "end routine ran");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK));
}

TEST(RuntimeErrorMessages, NumbersOneToElevenHaveMessages) {
    EXPECT_STREQ(RuntimeErrorMessage(1), "数组成员引用下标超出定义范围");
    EXPECT_STREQ(RuntimeErrorMessage(11), "所提供参数的数据类型不符合要求");
    EXPECT_EQ(RuntimeErrorMessage(0), nullptr);
    EXPECT_EQ(RuntimeErrorMessage(12), nullptr);
}

TEST_F(RuntimeErrorDeathTest, EndFromAnotherThreadRunsTheEndSequenceOnTheMainThread) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            CreateHiddenRuntimeWindow(nullptr);
            RegisterEndRoutine([] {
                // The end routine runs where the program's windows live.
                if (GetCurrentThreadId() == g_runtime.mainThreadId) {
                    MessageBoxA(nullptr, "end routine on the main thread", "t", MB_OK);
                }
            });
            std::thread worker([] { EndProgram(5); });
            worker.detach();
            for (;;) ProcessPendingEvents();
        },
        ::testing::ExitedWithCode(5), "");
    std::vector<seenboxes::Box> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u) << Shown();
    EXPECT_EQ(boxes[0].text, "end routine on the main thread");
}
