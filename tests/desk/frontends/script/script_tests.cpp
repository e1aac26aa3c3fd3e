// desk-only: the desk's scripted user and its dump format
// The scripted user: each action against a test window, the dump line's
// exact format, a missing control ending the run with code 3, and a whole
// script run by a child copy of this test program under DESK_SCRIPT and
// DESK_LOG.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/desk/frontends/script/actions.h"
#include "platform/desk/kernel32/log.h"
#include "tests/desk/msg_recorder.h"

extern char** environ;

using namespace desktest;

namespace {

class ScriptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DestroyAll();
        main_ = CreateWindowExA(0, TestClass(), "主窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 791,
                                429, 337, 222, nullptr, nullptr, nullptr, nullptr);
        edit_ = MakeControl("EDIT", main_, 100, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, "2", 82,
                            41, 56, 32);
        button_ =
            MakeControl("BUTTON", main_, 110, WS_VISIBLE | WS_TABSTOP, "确认修改", 82, 90, 80, 30);
        Pump();
        ClearLog();
    }
    void TearDown() override { DestroyAll(); }
    void Run(const std::string& line) {
        size_t space = line.find(' ');
        desk::RunInputAction(desk::ScriptAction{
            1, line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1)});
        Pump();
    }
    HWND main_ = nullptr;
    HWND edit_ = nullptr;
    HWND button_ = nullptr;
};

TEST_F(ScriptTest, TypeClicksIntoTheControlAndTypesAfterItsText) {
    Run(u8"type 100 5中");  // scripts are UTF-8
    EXPECT_EQ(GetFocus(), edit_);
    EXPECT_EQ(TextOf(edit_), "25中");
    EXPECT_EQ(Sent(edit_, WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Sent(edit_, WM_KEYDOWN).size(),
              1u);  // '5' from the keyboard, 中 from the input method
    EXPECT_EQ(Sent(edit_, WM_CHAR).size(), 3u);
}

TEST_F(ScriptTest, ClearSelectsEverythingAndDeletesIt) {
    SetWindowTextA(edit_, "123456789012");  // wider than the control: scrolled
    ClearLog();
    Run("clear 100");
    EXPECT_EQ(TextOf(edit_), "");
    EXPECT_EQ(Notifications(main_, 100), (std::vector<UINT>{EN_SETFOCUS, EN_UPDATE, EN_CHANGE}));
    Run("type 100 7");
    EXPECT_EQ(TextOf(edit_), "7");
}

TEST_F(ScriptTest, ClickFocusAndKeyActAsTheUserWould) {
    Run("click 110");
    EXPECT_EQ(Notifications(main_, 110), (std::vector<UINT>{BN_CLICKED}));
    Run("focus 100");
    EXPECT_EQ(GetFocus(), edit_);
    ClearLog();
    Run("key Shift+Tab");
    ASSERT_EQ(Sent(edit_, WM_KEYDOWN).size(), 2u);  // Shift, then Tab
    EXPECT_EQ(Sent(edit_, WM_KEYDOWN)[1].wParam, static_cast<WPARAM>(VK_TAB));
    Run("key Backspace");
    EXPECT_EQ(TextOf(edit_), "2");  // the caret was at the start after `focus`
    Run("key End");
    Run("key Backspace");
    EXPECT_EQ(TextOf(edit_), "");
}

TEST_F(ScriptTest, CloseClicksTheActiveWindowsCloseBox) {
    Run("close");
    EXPECT_FALSE(IsWindow(main_));
    EXPECT_EQ(Sent(main_, WM_CLOSE).size(), 1u);
}

TEST_F(ScriptTest, DumpListsEveryTopLevelWindowAndItsControls) {
    HWND hidden = CreateWindowExA(WS_EX_TOOLWINDOW, TestClass(), "", 0, 0, 0, 0, 0, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    EnableWindow(button_, FALSE);
    SetFocus(edit_);
    EXPECT_EQ(desk::DumpJson(),
              u8"{\"event\":\"dump\",\"windows\":["
              u8"{\"title\":\"主窗口\",\"class\":\"DeskTestWindow\",\"visible\":true,\"x\":791,"
              u8"\"y\":429,\"w\":337,\"h\":222,"
              u8"\"controls\":["
              u8"{\"id\":100,\"class\":\"EDIT\",\"text\":\"2\",\"visible\":true,\"enabled\":true,"
              u8"\"focused\":true,"
              u8"\"x\":82,\"y\":41,\"w\":56,\"h\":32},"
              u8"{\"id\":110,\"class\":\"BUTTON\",\"text\":\"确认修改\",\"visible\":true,"
              u8"\"enabled\":false,"
              u8"\"focused\":false,\"x\":82,\"y\":90,\"w\":80,\"h\":30}]},"
              u8"{\"title\":\"\",\"class\":\"DeskTestWindow\",\"visible\":false,\"x\":0,\"y\":0,"
              u8"\"w\":0,\"h\":0,"
              u8"\"controls\":[]}]}");
}

TEST_F(ScriptTest, AMissingControlEndsTheRunWithCodeThree) {
    EXPECT_EXIT(Run("click 999"), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(Run("type x1 abc"), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(Run("key Hyper"), ::testing::ExitedWithCode(3), "");
}

// The child: a window with an edit box and a button under the scripted
// user, whose message loop eats Tab the way the runtime's pre-translation
// does, logging what it sees.
LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        desk::LogLine("{\"event\":\"test\",\"clicked\":" + std::to_string(LOWORD(wParam)) + "}");
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(ScriptChild, Program) {
    if (std::getenv("DESK_TEST_CHILD") == nullptr) GTEST_SKIP() << "run by ScriptRun tests only";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = "ScriptTestMain";
    RegisterClassA(&wc);
    HWND main = CreateWindowExA(0, "ScriptTestMain", "主窗口", WS_OVERLAPPEDWINDOW, 791, 429, 337,
                                222, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 82, 41,
                    56, 32, main, reinterpret_cast<HMENU>(100), nullptr, nullptr);
    CreateWindowExA(0, "BUTTON", "确认修改", WS_CHILD | WS_VISIBLE, 82, 90, 80, 30, main,
                    reinterpret_cast<HMENU>(110), nullptr, nullptr);
    ShowWindow(main, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
            desk::LogLine(std::string("{\"event\":\"test\",\"tab\":") +
                          (GetKeyState(VK_SHIFT) < 0 ? "\"back\"" : "\"on\"") + "}");
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitProcess(static_cast<UINT>(msg.wParam));
}

struct ChildRun {
    int exitCode;
    std::vector<std::string> log;
};

ChildRun RunChild(const std::string& script) {
    char folder[] = "/tmp/desk_script_XXXXXX";
    EXPECT_NE(mkdtemp(folder), nullptr);
    std::string scriptPath = std::string(folder) + "/script.txt";
    std::string logPath = std::string(folder) + "/log.jsonl";
    std::ofstream(scriptPath) << script;
    std::vector<std::string> env = {"DESK_TEST_CHILD=1", "DESK_SCRIPT=" + scriptPath,
                                    "DESK_LOG=" + logPath, "DESK_SCREEN=1920x1080"};
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(&entry[0]);
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::string filter = "--gtest_filter=ScriptChild.Program";
    char* argv[] = {&self[0], &filter[0], nullptr};
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    EXPECT_EQ(posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    ChildRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}};
    std::ifstream in(logPath);
    for (std::string line; std::getline(in, line);) run.log.push_back(line);
    std::remove(scriptPath.c_str());
    std::remove(logPath.c_str());
    rmdir(folder);
    return run;
}

TEST(ScriptRun, AWholeScriptDrivesTheProgramAndLogsItsWindows) {
    ChildRun run = RunChild(  // scripts are UTF-8
        u8"# a comment, then a blank line\n"
        "\n"
        "type 100 12中\n"
        "dump\n"
        "click 110\n"
        "key Shift+Tab\n"
        "key Tab\n"
        "clear 100\n"
        "type 100 7\n"
        "dump\n"
        "close\n");
    EXPECT_EQ(run.exitCode, 0);
    const std::string edit = u8",\"class\":\"EDIT\",\"text\":";
    std::vector<std::string> expected = {
        u8"{\"event\":\"show\",\"title\":\"主窗口\",\"class\":\"ScriptTestMain\",\"x\":791,\"y\":"
        u8"429,\"w\":337,\"h\":222}",
        u8"{\"event\":\"dump\",\"windows\":[{\"title\":\"主窗口\",\"class\":\"ScriptTestMain\","
        u8"\"visible\":true,"
        u8"\"x\":791,\"y\":429,\"w\":337,\"h\":222,\"controls\":[{\"id\":100" +
            edit +
            u8"\"12中\",\"visible\":true,\"enabled\":true,\"focused\":true,\"x\":82,\"y\":41,\"w\":"
            u8"56,\"h\":32},"
            u8"{\"id\":110,\"class\":\"BUTTON\",\"text\":\"确认修改\",\"visible\":true,\"enabled\":"
            u8"true,"
            u8"\"focused\":false,\"x\":82,\"y\":90,\"w\":80,\"h\":30}]}]}",
        "{\"event\":\"test\",\"clicked\":110}",
        "{\"event\":\"test\",\"tab\":\"back\"}",
        "{\"event\":\"test\",\"tab\":\"on\"}",
        u8"{\"event\":\"dump\",\"windows\":[{\"title\":\"主窗口\",\"class\":\"ScriptTestMain\","
        u8"\"visible\":true,"
        u8"\"x\":791,\"y\":429,\"w\":337,\"h\":222,\"controls\":[{\"id\":100" +
            edit +
            u8"\"7\",\"visible\":true,\"enabled\":true,\"focused\":true,\"x\":82,\"y\":41,\"w\":56,"
            u8"\"h\":32},"
            u8"{\"id\":110,\"class\":\"BUTTON\",\"text\":\"确认修改\",\"visible\":true,\"enabled\":"
            u8"true,"
            u8"\"focused\":false,\"x\":82,\"y\":90,\"w\":80,\"h\":30}]}]}",
        "{\"event\":\"exit\",\"code\":0}"};
    EXPECT_EQ(run.log, expected);
}

TEST(ScriptRun, AScriptNamingAMissingControlFailsWithCodeThree) {
    ChildRun run = RunChild("type 100 1\nclick 999\nclose\n");
    EXPECT_EQ(run.exitCode, 3);
    ASSERT_GE(run.log.size(), 2u);
    EXPECT_EQ(
        run.log[run.log.size() - 2],
        "{\"event\":\"error\",\"text\":\"script line 2: the active window has no control 999\"}");
    EXPECT_EQ(run.log.back(), "{\"event\":\"exit\",\"code\":3}");
}

TEST(ScriptRun, WindowsLeftOpenAreClosedWhenTheScriptEnds) {
    ChildRun run = RunChild("type 100 1\n");
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_FALSE(run.log.empty());
    EXPECT_EQ(run.log.back(), "{\"event\":\"exit\",\"code\":0}");
}

}  // namespace
