// desk-only: the desk's terminal front end
// The terminal front end in a real terminal: a child copy of this test
// program runs a window program in a tmux pane, where the desk chooses the
// terminal front end by itself; the test types into the pane, reads it back
// and checks what the program saw and that the terminal was given back.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/text.h"
#include "tests/desk/frontends/terminal/fixture.h"

using namespace desktest;

namespace {

MainWindow g_window;

LRESULT CALLBACK ChildMainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 100 && HIWORD(wParam) == BN_CLICKED) {
        MessageBoxA(hwnd, "修改成功", "恭喜", MB_OK);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The keyboard handling a dialog manager would do: Tab and Shift+Tab go
// round the controls, Enter presses a focused button, Escape closes.
bool Navigate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    HWND order[] = {g_window.meat, g_window.item, g_window.kettle, g_window.apply, g_window.notes};
    const int count = 5;
    if (msg.wParam == VK_TAB) {
        int at = 0;
        while (at < count && order[at] != GetFocus()) ++at;
        SetFocus(order[(at + (GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1)) % count]);
        return true;
    }
    if (msg.wParam == VK_RETURN && (GetFocus() == g_window.apply || GetFocus() == g_window.notes)) {
        SendMessageA(GetFocus(), BM_CLICK, 0, 0);
        return true;
    }
    if (msg.wParam == VK_ESCAPE) {
        desk::LogLine("{\"event\":\"test\",\"meat\":" + desk::JsonText(TextOf(g_window.meat)) +
                      "}");
        DestroyWindow(g_window.main);
        return true;
    }
    return false;
}

std::string Tmux(const std::string& socket, const std::string& args) {
    std::string command = "tmux -L " + socket + " -f /dev/null " + args + " 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

class TerminalRun : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v tmux >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "tmux is not installed (tools/setup.sh installs it)";
        char folder[] = "/tmp/desk_terminal_XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        socket_ = "desk_terminal_" + std::to_string(getpid());
    }
    void TearDown() override {
        if (socket_.empty()) return;
        Tmux(socket_, "kill-server");
        std::remove((folder_ + "/log.jsonl").c_str());
        rmdir(folder_.c_str());
    }
    std::string Pane() { return Tmux(socket_, "capture-pane -p -t run"); }
    // Waits up to 10 s for the pane to show (or, with `shown` false, to stop
    // showing) a text.
    ::testing::AssertionResult WaitFor(const std::string& utf8, bool shown = true) {
        for (int i = 0; i < 200; ++i) {
            if ((Pane().find(utf8) != std::string::npos) == shown)
                return ::testing::AssertionSuccess();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return ::testing::AssertionFailure()
               << (shown ? "never showed " : "kept showing ") << utf8 << "\n"
               << Pane();
    }
    std::string Log() {
        std::ifstream in(folder_ + "/log.jsonl");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string folder_;
    std::string socket_;
};

}  // namespace

TEST(TerminalChild, Program) {
    const char* child = std::getenv("DESK_TEST_CHILD");
    if (child == nullptr || std::string(child) != "terminal")
        GTEST_SKIP() << "run by TerminalRun tests only";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ChildMainProc;
    wc.lpszClassName = "TermRunMain";
    RegisterClassA(&wc);
    g_window = MakeMainWindow("TermRunMain");
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (Navigate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitProcess(static_cast<UINT>(msg.wParam));
}

TEST_F(TerminalRun, APersonTypesTabsPressesAButtonAnswersTheBoxAndLeaves) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = '\0';
    std::string command = "env -u DESK_SCRIPT DESK_TEST_CHILD=terminal DESK_LOG=" + folder_ +
                          "/log.jsonl LANG=C.UTF-8 " + self +
                          " --gtest_filter=TerminalChild.Program; echo EXIT=$?; sleep 60";
    Tmux(socket_, "new-session -d -s run -x 80 -y 24 '" + command + "'");

    ASSERT_TRUE(WaitFor(u8"│   您当前使用的游戏版本为：  0.751（Steam）"));
    EXPECT_TRUE(WaitFor(u8"货币掉落  [   2    ] 倍     游戏中[肉]的掉落倍率"));
    // The caret is the terminal's cursor: before the "2" in the meat box.
    EXPECT_EQ(Tmux(socket_, "display -p -t run '#{cursor_x} #{cursor_y}'"), "29 7\n");

    Tmux(socket_, "send-keys -t run End BSpace 7 5");
    EXPECT_TRUE(WaitFor("[   75   ]"));
    Tmux(socket_, "send-keys -t run Tab Tab Tab");
    EXPECT_TRUE(WaitFor(u8"[>确认修改<]"));
    Tmux(socket_, "send-keys -t run Enter");
    EXPECT_TRUE(WaitFor(u8"┌ 恭喜 ─"));
    EXPECT_TRUE(WaitFor(u8"修改成功"));
    Tmux(socket_, "send-keys -t run Enter");
    EXPECT_TRUE(WaitFor(u8"修改成功", false));

    // A terminal too small for the window says so; made larger, it shows it again.
    Tmux(socket_, "resize-window -t run -x 40 -y 12");
    EXPECT_TRUE(WaitFor(u8"终端太小"));
    Tmux(socket_, "resize-window -t run -x 80 -y 24");
    EXPECT_TRUE(WaitFor(u8"[>确认修改<]"));

    Tmux(socket_, "send-keys -t run Escape");
    ASSERT_TRUE(WaitFor("EXIT=0"));
    EXPECT_EQ(Pane().find("Quillmarsh"), std::string::npos) << "the terminal is given back";
    EXPECT_NE(Log().find("{\"event\":\"test\",\"meat\":\"75\"}"), std::string::npos) << Log();
    EXPECT_NE(
        Log().find(u8"\"title\":\"恭喜\",\"text\":\"修改成功\",\"flags\":0,\"answer\":\"OK\""),
        std::string::npos)
        << Log();
}
