// desk-only: the desk's answers when no user is there, read from its transcript
// Message boxes with no user: the default button answers, and every box is
// logged with its title, text, flags and answer.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/desk/kernel32/log.h"
#include "platform/win32.h"

namespace {
class MessageBoxNoUser : public ::testing::Test {
protected:
    void SetUp() override {
        log_ = ::testing::TempDir() + "desk_messagebox_log_" +
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
}  // namespace

TEST_F(MessageBoxNoUser, TheDefaultButtonAnswers) {
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
    // A default past the last button falls back to the first.
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_OKCANCEL | MB_DEFBUTTON3), IDOK);
}

TEST_F(MessageBoxNoUser, EveryBoxIsLoggedInUtf8) {
    MessageBoxA(nullptr, "修改成功", "恭喜", MB_OK | MB_ICONINFORMATION);
    MessageBoxA(nullptr, nullptr, nullptr, MB_RETRYCANCEL);
    EXPECT_EQ(Transcript(),
              u8"{\"event\":\"messagebox\",\"title\":\"恭喜\",\"text\":\"修改成功\",\"flags\":64,\"answer\":\"OK\"}\n"
              u8"{\"event\":\"messagebox\",\"title\":\"Error\",\"text\":\"\",\"flags\":5,\"answer\":\"Retry\"}\n");
}
