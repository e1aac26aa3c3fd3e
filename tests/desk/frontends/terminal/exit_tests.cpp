// desk-only: the desk's terminal front end
// Leaving the program gives the terminal back: after a runtime error's box
// and ExitProcess, at a plain exit, and when a signal ends the process, the
// last thing written to the terminal leaves the full-screen mode.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/desk/frontends/terminal/curses.h"
#include "platform/desk/frontends/terminal/restore.h"
#include "platform/desk/frontends/terminal/terminal.h"
#include "platform/win32.h"

namespace {

constexpr const char* kTerm = "xterm-256color";

class TerminalExit : public ::testing::Test {
  protected:
    void SetUp() override {
        // Tests run in parallel processes: each has an output file of its own,
        // named after the test so that the death test's child writes the file
        // its parent reads.
        output_ = ::testing::TempDir() + "terminal_exit_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::remove(output_.c_str());
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    void TearDown() override { std::remove(output_.c_str()); }
    // In the child: the front end on a pipe and the output file, drawn once,
    // with its terminal restored at the end (set up in the order the real
    // front end uses: the handlers first, so that curses keeps out of them).
    desk::TerminalFrontEnd* Start(const std::string& keys) {
        desk::InstallTerminalRestore();
        int fds[2];
        if (pipe(fds) != 0) std::abort();
        if (write(fds[1], keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
            std::abort();
        desk::TerminalFrontEnd* term =
            desk::TerminalFrontEnd::Open(fdopen(fds[0], "r"), fopen(output_.c_str(), "w"), kTerm);
        if (term == nullptr) std::abort();
        desk::SetTerminalToRestore(term);
        term->Redraw();
        return term;
    }
    // Whether the output ends by leaving the alternate screen that it entered.
    ::testing::AssertionResult Restored() {
        std::ifstream in(output_, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::string written = bytes.str();
        desk::TerminalLocale utf8;
        FILE* nowhere = fopen("/dev/null", "r+");
        SCREEN* screen = newterm(kTerm, nowhere, nowhere);
        std::string enter = tigetstr("smcup");
        std::string leave = tigetstr("rmcup");
        endwin();
        delscreen(screen);
        fclose(nowhere);
        size_t entered = written.find(enter);
        size_t left = written.rfind(leave);
        if (entered == std::string::npos)
            return ::testing::AssertionFailure() << "curses never started";
        if (left == std::string::npos || left < entered)
            return ::testing::AssertionFailure() << "the terminal was left in curses mode";
        return ::testing::AssertionSuccess();
    }
    std::string output_;
};

}  // namespace

TEST_F(TerminalExit, ARuntimeErrorsBoxIsAnsweredAndExitProcessRestoresTheTerminal) {
    EXPECT_EXIT(
        {
            desk::TerminalFrontEnd* term = Start("\r");
            int answer = term->AnswerMessageBox("运行时出错!", "错误", MB_ICONERROR, IDOK);
            ExitProcess(answer == IDOK ? 0xFFFFFFFFu : 1u);
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_TRUE(Restored());
}

TEST_F(TerminalExit, APlainExitRestoresTheTerminal) {
    EXPECT_EXIT(
        {
            Start("");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(Restored());
}

TEST_F(TerminalExit, ASignalThatEndsTheProcessRestoresTheTerminalFirst) {
    EXPECT_EXIT(
        {
            Start("");
            raise(SIGTERM);
            std::exit(0);  // never reached: the signal still ends the process
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_TRUE(Restored());
}
