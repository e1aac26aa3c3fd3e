// Runtime errors and the end of the program, in child processes: the box
// text, the exit code, and which end steps run.
// desk-only: the error box is read from the desk's transcript
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/desk/kernel32/log.h"
#include "runtime/hidden_window.h"
#include "runtime/notify.h"
#include "runtime/process_events.h"
#include "runtime/program_end.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "support/runtime_error_exit.h"

namespace {

// Each death test's child writes its transcript to this file; the parent
// reads it afterwards.
class RuntimeErrorDeathTest : public ::testing::Test {
protected:
    void SetUp() override {
        log_ = ::testing::TempDir() + "runtime_error_log_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".jsonl";
        std::remove(log_.c_str());
        desk::SetLogPath(log_);
    }
    void TearDown() override { desk::SetLogPath(""); }

    std::string Transcript() const {
        std::ifstream in(log_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string log_;
};

// Death tests run their statement in a forked child: the child's thread is
// the program's main thread there.
void BecomeMainThread() { g_runtime.mainThreadId = GetCurrentThreadId(); }

void EndRoutineShowsABox() { MessageBoxA(nullptr, "end routine ran", "t", MB_OK); }

}  // namespace

TEST_F(RuntimeErrorDeathTest, NumberedErrorShowsCodeAndMessageAndSkipsTheEndRoutine) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            RegisterEndRoutine(EndRoutineShowsABox);
            ReportErrorByCode(4);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    std::string t = Transcript();
    EXPECT_NE(t.find(u8"\"title\":\"错误\",\"text\":\"运行时出错!\\r\\n\\r\\n错误代码：4\\r\\n\\r\\n"
                     u8"错误信息：数组成员引用下标必须大于等于1\\r\\n\",\"flags\":16"),
              std::string::npos)
        << t;
    EXPECT_EQ(t.find("end routine ran"), std::string::npos) << t;
    EXPECT_NE(t.find("{\"event\":\"exit\",\"code\":4294967295}"), std::string::npos) << t;
}

TEST_F(RuntimeErrorDeathTest, EmptyMessageWithoutNumberShowsOnlyTheFirstLine) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            RuntimeNotify(kRequestRuntimeError, ToWord(""), 0);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    EXPECT_NE(Transcript().find(u8"\"text\":\"运行时出错!\\r\\n\\r\\n\",\"flags\":16"), std::string::npos)
        << Transcript();
}

TEST_F(RuntimeErrorDeathTest, AHandlingHookSuppressesTheBoxButTheProgramStillEnds) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            SetUnhandledErrorHook([](int32_t, const char*) -> int32_t { return 1; });
            ReportErrorByCode(1);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    EXPECT_EQ(Transcript().find("messagebox"), std::string::npos) << Transcript();
}

TEST_F(RuntimeErrorDeathTest, AnErrorInsideTheHookShowsTheBoxDirectly) {
    EXPECT_EXIT(
        {
            BecomeMainThread();
            SetUnhandledErrorHook([](int32_t, const char*) -> int32_t {
                ReportRuntimeError("inner", 0);
            });
            ReportErrorByCode(2);
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "");
    EXPECT_NE(Transcript().find(u8"错误信息：inner"), std::string::npos) << Transcript();
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
    std::string t = Transcript();
    size_t first = t.find("end routine ran");
    ASSERT_NE(first, std::string::npos) << t;
    EXPECT_EQ(t.find("end routine ran", first + 1), std::string::npos) << t;
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
    EXPECT_NE(Transcript().find("end routine on the main thread"), std::string::npos) << Transcript();
}
