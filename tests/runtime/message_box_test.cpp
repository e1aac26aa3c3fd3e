// desk-only: the boxes are answered by the desk's scripted user and read from its transcript
// The message box command on the desk: the boxes run in a child process
// whose scripted user answers them, and the transcript shows what the user
// saw (title, text, flags) and which button closed each box. The desk reads
// DESK_SCRIPT and DESK_LOG when a process starts, so the child is a fresh
// run of this test binary (the "threadsafe" death test style) started with
// them set; it finds the parent's folder through kDirVariable.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core_call.h"
#include "platform/win32.h"
#include "runtime/message_box_command.h"

namespace {

constexpr char kDirVariable[] = "MESSAGE_BOX_TEST_DIR";

class MessageBoxCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* parentDir = std::getenv(kDirVariable)) {
            dir_ = parentDir;  // the child run
            return;
        }
        char pattern[] = "/tmp/message_box_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    // Runs `boxes` in a child with the scripted user's `answers`; the child's
    // exit code packs the results, one decimal digit per box.
    void Run(const std::vector<std::string>& answers, const std::function<int()>& boxes,
             int expectedCode) {
        std::string script = dir_ + "/script.txt";
        std::string log = dir_ + "/desk.log";
        if (std::getenv(kDirVariable) == nullptr) {
            std::ofstream out(script);
            for (const std::string& answer : answers) out << "answer " << answer << "\n";
        }
        setenv(kDirVariable, dir_.c_str(), 1);
        setenv("DESK_SCRIPT", script.c_str(), 1);
        setenv("DESK_LOG", log.c_str(), 1);
        std::string style = GTEST_FLAG_GET(death_test_style);
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(_exit(boxes()), ::testing::ExitedWithCode(expectedCode), "");
        GTEST_FLAG_SET(death_test_style, style);
        unsetenv(kDirVariable);
        unsetenv("DESK_SCRIPT");
        unsetenv("DESK_LOG");
    }

    std::vector<std::string> Transcript() {
        std::ifstream in(dir_ + "/desk.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    std::string dir_;
};

int Box(ArgValue message, ArgValue flags, ArgValue title) {
    return ValueInt(CallCore(kCmdMessageBox, {message, flags, title}));
}

std::string Line(const std::string& titleUtf8, const std::string& textUtf8, unsigned flags,
                 const char* answer) {
    return "{\"event\":\"messagebox\",\"title\":\"" + titleUtf8 + "\",\"text\":\"" + textUtf8 +
           "\",\"flags\":" + std::to_string(flags) + ",\"answer\":\"" + answer + "\"}";
}

TEST_F(MessageBoxCommand, DefaultsToTheInformationTitleAndATaskModalBox) {
    Run(
        {"OK"},
        [] {
            return Box(MakeText("出错了"), MakeOmitted(), MakeOmitted()) +
                   Box(MakeText("错误代码:0*0E000001"), MakeInt(16), MakeText("ERROR")) +
                   Box(MakeText("x"), MakeInt(0x1010), MakeText("t"));
        },
        0);
    std::vector<std::string> expected = {
        Line(u8"信息：", u8"出错了", 0x2000, "OK"),
        Line("ERROR", u8"错误代码:0*0E000001", 0x2010, "OK"),
        Line("t", "x", 0x1010, "OK"),  // system-modal stays as it is
    };
    EXPECT_EQ(Transcript(), expected);
}

TEST_F(MessageBoxCommand, EveryButtonHasItsNumber) {
    Run(
        {"Yes", "No", "Cancel", "Abort", "Retry", "Ignore"},
        [] {
            int yes = Box(MakeText("?"), MakeInt(4), MakeText("q"));
            int no = Box(MakeText("?"), MakeInt(4), MakeText("q"));
            int cancel = Box(MakeText("?"), MakeInt(1), MakeText("q"));
            int abort = Box(MakeText("?"), MakeInt(2), MakeText("q"));
            int retry = Box(MakeText("?"), MakeInt(2), MakeText("q"));
            int ignore = Box(MakeText("?"), MakeInt(2), MakeText("q"));
            bool all =
                yes == 5 && no == 6 && cancel == 1 && abort == 2 && retry == 3 && ignore == 4;
            return all ? 0 : 1;
        },
        0);
    std::vector<std::string> lines = Transcript();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], Line("q", "?", 0x2004, "Yes"));
    EXPECT_EQ(lines[5], Line("q", "?", 0x2002, "Ignore"));
}

TEST_F(MessageBoxCommand, MessagesOfEveryTypeAreWrittenAsToTextWritesThem) {
    Run(
        {},
        [] {
            void* bytes = MakeByteSetBlock("abc", 3);
            ArgValue date = MakeDouble(36526.5);
            date.type = DT_DATE_TIME;
            Box(MakeBool(true), MakeOmitted(), MakeText(kEmptyText));
            Box(MakeBool(false), MakeOmitted(), MakeText(nullptr));
            Box(MakeDouble(2.5), MakeOmitted(), MakeText("n"));
            Box(ArgValue{200, 0, DT_BYTE}, MakeOmitted(), MakeText("n"));
            Box(date, MakeOmitted(), MakeText("d"));
            Box(MakeByteSet(bytes), MakeOmitted(), MakeText("b"));
            Box(MakeText(nullptr), MakeOmitted(), MakeText("e"));
            int32_t array[3] = {1, 1, 0x31};
            Box(ArgValue{ToWord(array), 0, DT_INT | DT_ARRAY}, MakeOmitted(), MakeText("a"));
            Release(bytes);
            return 0;
        },
        0);
    std::vector<std::string> expected = {
        Line("", u8"真", 0x2000, "OK"),
        Line("", u8"假", 0x2000, "OK"),
        Line("n", "2.5", 0x2000, "OK"),
        Line("n", "200", 0x2000, "OK"),
        Line("d", u8"2000年1月1日12时", 0x2000, "OK"),
        Line("b", "", 0x2000, "OK"),
        Line("e", "", 0x2000, "OK"),
        Line("a", "", 0x2000, "OK"),
    };
    EXPECT_EQ(Transcript(), expected);
}

TEST_F(MessageBoxCommand, FailingFileAndTextCommandsShowNothing) {
    // Only the closing box may reach the transcript: failures are results.
    Run(
        {},
        [this] {
            std::string missing = dir_ + "/missing";
            const char* name = missing.c_str();
            CallCore(kCmdDeleteFile, {MakeText(name)});
            CallCore(kCmdFileSize, {MakeText(name)});
            CallCore(kCmdOpenFile, {MakeText(name), MakeInt(1), MakeInt(1)});
            CallCore(kCmdOpenFile, {MakeText(name), MakeInt(9), MakeInt(1)});
            CallCore(kCmdWriteFile, {MakeText(kEmptyText)});
            CallCore(kCmdReadByteSet, {MakeInt(12345), MakeInt(10)});
            CallCore(kCmdWriteByteSet, {MakeInt(12345), MakeByteSet(kEmptyByteSet)});
            CallCore(kCmdMovePosition, {MakeInt(12345), MakeOmitted(), MakeInt(0)});
            CallCore(kCmdMoveToEnd, {MakeInt(12345)});
            ReleaseArray(
                DT_TEXT,
                FromWord<void>(
                    CallCore(kCmdSplitText, {MakeText("a"), MakeText(","), MakeInt(0)}).low));
            CallCore(kCmdToNumber, {MakeText("\xB0")});
            CallCore(kCmdToText, {MakeOmitted()});
            CallCore(kCmdBlankByteSet, {MakeInt(-1)});
            return Box(MakeText("end"), MakeOmitted(), MakeText("t"));
        },
        0);
    EXPECT_EQ(Transcript(), std::vector<std::string>{Line("t", "end", 0x2000, "OK")});
}

}  // namespace
