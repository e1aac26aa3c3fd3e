// The message box command: its boxes run in a death test's child, where the
// test's recorder answers them; the record shows what the user saw (title,
// text, flags) and which button closed each box, and the child's exit code
// packs what the command returned.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core_call.h"
#include "platform/win32.h"
#include "runtime/message_box_command.h"
#include "tests/support/seen_boxes.h"
#include "tests/support/system_under_test.h"

namespace {

std::string TestName() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// Runs `boxes` in a child whose recorder gives `answers`; returns the boxes
// the child showed.
std::vector<seenboxes::Box> ShowBoxes(const std::vector<int>& answers,
                                      const std::function<int()>& boxes, int expectedCode) {
    seenboxes::Recorder recorder("message_box_" + TestName(), answers);
    EXPECT_EXIT(std::_Exit(boxes()), ::testing::ExitedWithCode(expectedCode), "");
    return recorder.Boxes();
}

int Box(ArgValue message, ArgValue flags, ArgValue title) {
    return ValueInt(CallCore(kCmdMessageBox, {message, flags, title}));
}

struct Expected {
    const char* title;  // GBK, as the sources are compiled
    const char* text;
    UINT flags;
    int answer;
};

void ExpectBoxes(const std::vector<seenboxes::Box>& seen, const std::vector<Expected>& expected) {
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(seenboxes::Describe(seen[i]));
        EXPECT_EQ(seen[i].title, expected[i].title) << "box " << i;
        EXPECT_EQ(seen[i].text, expected[i].text) << "box " << i;
        EXPECT_EQ(seen[i].flags, expected[i].flags) << "box " << i;
        EXPECT_EQ(seen[i].answer, expected[i].answer) << "box " << i;
    }
}

}  // namespace

TEST(MessageBoxCommand, DefaultsToTheInformationTitleAndATaskModalBox) {
    std::vector<seenboxes::Box> seen = ShowBoxes(
        {IDOK},
        [] {
            return Box(MakeText("出错了"), MakeOmitted(), MakeOmitted()) +
                   Box(MakeText("错误代码:0*0E000001"), MakeInt(16), MakeText("ERROR")) +
                   Box(MakeText("x"), MakeInt(0x1010), MakeText("t"));
        },
        0);
    ExpectBoxes(seen, {
                          {"信息：", "出错了", 0x2000, IDOK},
                          {"ERROR", "错误代码:0*0E000001", 0x2010, IDOK},
                          {"t", "x", 0x1010, IDOK},  // system-modal stays as it is
                      });
}

TEST(MessageBoxCommand, EveryButtonHasItsNumber) {
    std::vector<seenboxes::Box> seen = ShowBoxes(
        {IDYES, IDNO, IDCANCEL, IDABORT, IDRETRY, IDIGNORE},
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
    ExpectBoxes(seen, {
                          {"q", "?", 0x2004, IDYES},
                          {"q", "?", 0x2004, IDNO},
                          {"q", "?", 0x2001, IDCANCEL},
                          {"q", "?", 0x2002, IDABORT},
                          {"q", "?", 0x2002, IDRETRY},
                          {"q", "?", 0x2002, IDIGNORE},
                      });
}

TEST(MessageBoxCommand, ABoxLeftToItsDefaultButtonAnswersWithIt) {
    // The second button of a yes/no box made the default: no one names an
    // answer, so the box closes with No.
    std::vector<seenboxes::Box> seen = ShowBoxes(
        {}, [] { return Box(MakeText("?"), MakeInt(4 | 0x100), MakeText("q")); }, 6);
    ExpectBoxes(seen, {{"q", "?", 0x2104, IDNO}});
#ifdef _WIN32
    // The box itself should name No as its default push button (DM_GETDEFID
    // answers the default push button's id). Wine's message box answers
    // IDOK, an id it has no button for, though it draws No as the default
    // and Enter presses No: expected to differ under Wine.
    ASSERT_EQ(seen.size(), 1u);
    if (sut::UnderWine()) {
        sut::NoteWineDifference("a message box answers DM_GETDEFID with IDOK whatever its default");
        EXPECT_EQ(seen[0].reportedDefault, IDOK)
            << "Wine's answer changed: check it against Windows";
    } else {
        EXPECT_EQ(seen[0].reportedDefault, IDNO);
    }
#endif
}

TEST(MessageBoxCommand, MessagesOfEveryTypeAreWrittenAsToTextWritesThem) {
    std::vector<seenboxes::Box> seen = ShowBoxes(
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
    ExpectBoxes(seen, {
                          {"", "真", 0x2000, IDOK},
                          {"", "假", 0x2000, IDOK},
                          {"n", "2.5", 0x2000, IDOK},
                          {"n", "200", 0x2000, IDOK},
                          {"d", "2000年1月1日12时", 0x2000, IDOK},
                          {"b", "", 0x2000, IDOK},
                          {"e", "", 0x2000, IDOK},
                          {"a", "", 0x2000, IDOK},
                      });
}

TEST(MessageBoxCommand, FailingFileAndTextCommandsShowNothing) {
    // Only the closing box may be recorded: failures are results.
    std::vector<seenboxes::Box> seen = ShowBoxes(
        {},
        [] {
            std::string missing = ::testing::TempDir() + "message_box_missing/missing";
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
    ExpectBoxes(seen, {{"t", "end", 0x2000, IDOK}});
}
