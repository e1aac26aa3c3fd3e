// desk-only: reads the desk's window dump and drives the window with its scripted user
// The drop editor's main window in the desk's own transcript: the dump
// the scripted user's "dump" writes, and a run that the script's Escape
// ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "main_window_live.h"
#include "platform/desk/frontends/script/actions.h"

using namespace mainwindow;

namespace {

// The GBK text as the transcript writes it (UTF-8).
std::string Utf8(const char* gbkText) {
    std::string out;
    int units = MultiByteToWideChar(936, 0, gbkText, -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(units));
    MultiByteToWideChar(936, 0, gbkText, -1, wide.data(), units);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> utf8(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), bytes, nullptr, nullptr);
    return utf8.data();
}

std::string ExpectedWindowDump() {
    std::string out =
        u8"{\"title\":\"Quillmarsh--怪物掉落修改\",\"class\":\"WTWindow\",\"visible\":true,"
        "\"x\":791,\"y\":429,\"w\":337,\"h\":222,\"controls\":[";
    for (const Control& c : kControls) {
        if (out.back() != '[') out += ",";
        out += "{\"id\":" + std::to_string(c.id) + ",\"class\":\"" + c.cls + "\",\"text\":\"" +
               Utf8(c.text) + "\",\"visible\":true,\"enabled\":true,\"focused\":" +
               (c.id == 200 ? "true" : "false") + ",\"x\":" + std::to_string(c.x) +
               ",\"y\":" + std::to_string(c.y) + ",\"w\":" + std::to_string(c.w) +
               ",\"h\":" + std::to_string(c.h) + "}";
    }
    return out + "]}";
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

}  // namespace

TEST_F(MainWindowLive, TheDeskDumpsItAsLoaded) {
    LoadMain(ProbeAndSetVersion);
    std::string dump = desk::DumpJson();
    EXPECT_NE(dump.find(ExpectedWindowDump()), std::string::npos) << dump;
}

TEST(MainWindowProgram, ShownDumpedAndClosedByEscapeUnderTheScriptedUser) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    // Named after the process, so that parallel runs do not share them.
    std::string stem = ::testing::TempDir() + "main_window_escape_" + std::to_string(getpid());
    std::string script = stem + ".script";
    std::string log = stem + ".log";
    std::ofstream(script) << "dump\nkey Escape\ndump\n";
    std::remove(log.c_str());
    // The child starts afresh and takes these when the desk starts.
    setenv("DESK_SCRIPT", script.c_str(), 1);
    setenv("DESK_LOG", log.c_str(), 1);
    EXPECT_EXIT(RunProgram(MainWindowImage(ProbeAndSetVersion), nullptr),
                ::testing::ExitedWithCode(0), "end routine: loop took quit 1");
    unsetenv("DESK_SCRIPT");
    unsetenv("DESK_LOG");
    std::remove(script.c_str());

    std::vector<std::string> lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 3u)
        << "show, one dump (Escape ended the program before the second), exit";
    EXPECT_EQ(lines[0],
              u8"{\"event\":\"show\",\"title\":\"Quillmarsh--怪物掉落修改\",\"class\":\"WTWindow\","
              "\"x\":791,\"y\":429,\"w\":337,\"h\":222}");
    EXPECT_NE(lines[1].find(ExpectedWindowDump()), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2], "{\"event\":\"exit\",\"code\":0}");
    std::remove(log.c_str());
}
