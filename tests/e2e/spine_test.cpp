// The start-up spine end to end: a small program image starts, ends in order
// and reports runtime errors through the box, under the scripted user.
#include <gtest/gtest.h>

#include <unistd.h>

#include "program_run.h"

namespace {

ProgramRun RunSpine(const std::string& mode, const std::string& script = "", const std::string& cwd = "") {
    ProgramLaunch launch;
    launch.binary = SPINE_PROGRAM;
    launch.env["SPINE_MODE"] = mode;
    launch.script = script;
    launch.workingFolder = cwd;
    return RunProgramBinary(launch);
}

}  // namespace

TEST(Spine, NormalEndRunsEndRoutineThenLibraryEndAndExitsWithZero) {
    ProgramRun run = RunSpine("normal");
    ASSERT_EQ(run.lines.size(), 3u) << run.All();
    EXPECT_NE(run.lines[0].find("end routine"), std::string::npos) << run.All();
    EXPECT_NE(run.lines[1].find("library end"), std::string::npos) << run.All();
    EXPECT_EQ(run.lines[2], "{\"event\":\"exit\",\"code\":0}");
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(Spine, RuntimeErrorFourShowsTheBoxAndEndsWithMinusOne) {
    ProgramRun run = RunSpine("error4");
    EXPECT_EQ(run.Events("messagebox").front(),
              u8"{\"event\":\"messagebox\",\"title\":\"错误\",\"text\":\"运行时出错!\\r\\n\\r\\n错误代码：4\\r\\n\\r\\n"
              u8"错误信息：数组成员引用下标必须大于等于1\\r\\n\",\"flags\":16,\"answer\":\"OK\"}");
    EXPECT_FALSE(run.Has("end routine")) << "the end routine never runs after a runtime error";
    EXPECT_EQ(run.lines.back(), "{\"event\":\"exit\",\"code\":4294967295}");
    EXPECT_EQ(run.exitStatus, 255);
}

TEST(Spine, RuntimeErrorWithEmptyMessageShowsOnlyTheHeading) {
    ProgramRun run = RunSpine("error-empty");
    EXPECT_TRUE(run.Has(u8"\"text\":\"运行时出错!\\r\\n\\r\\n\",\"flags\":16")) << run.All();
    EXPECT_EQ(run.lines.back(), "{\"event\":\"exit\",\"code\":4294967295}");
}

TEST(Spine, ExhaustedHeapNamesTheRequestedSize) {
    ProgramRun run = RunSpine("heap");
    EXPECT_TRUE(run.Has(u8"错误信息：分配 2147483647 字节内存失败!\\r\\n")) << run.All();
    EXPECT_EQ(run.exitStatus, 255);
}

TEST(Spine, EmptyTemplateSegmentCannotLoadTheStartWindow) {
    ProgramRun run = RunSpine("start-window");
    EXPECT_TRUE(run.Has(u8"错误信息：载入启动窗口失败\\r\\n")) << run.All();
    EXPECT_FALSE(run.Has("end routine"));
    EXPECT_EQ(run.exitStatus, 255);
}

TEST(Spine, WorkingFolderIsTheProgramsFolderWhereverItStarts) {
    std::string elsewhere = MakeTempFolder("elsewhere");
    ProgramRun run = RunSpine("folder", "", elsewhere);
    std::string folder = SPINE_PROGRAM;
    folder = folder.substr(0, folder.rfind('/'));
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    std::string escaped;
    for (char c : folder) {
        if (c == '\\') escaped += "\\\\";
        else escaped += c;
    }
    EXPECT_TRUE(run.Has("\"text\":\"" + escaped + "\"")) << run.All();
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(Spine, EndProgramCarriesItsExitCode) {
    ProgramRun run = RunSpine("exit-code");
    EXPECT_EQ(run.lines.back(), "{\"event\":\"exit\",\"code\":7}");
    EXPECT_EQ(run.exitStatus, 7);
}

TEST(Spine, ScriptedAnswerClosesTheNextBox) {
    // The runtime error box has only OK; a script answering Cancel is wrong
    // and the run ends as a script error.
    ProgramRun run = RunSpine("error4", "answer Cancel\n");
    EXPECT_EQ(run.exitStatus, 3) << run.All();
    ProgramRun ok = RunSpine("error4", "# a comment\n\nanswer OK\n");
    EXPECT_EQ(ok.exitStatus, 255) << ok.All();
}
