// dropedit finds its own folder where /proc does not exist (a container or a
// chroot with nothing in it): the desk is told to hide the sources of the
// program file's path that such a root would not have.
#include <gtest/gtest.h>

#include <string>

#include "demo_install.h"

namespace {

ProgramRun RunHiding(const DemoInstall& demo, const std::string& binary, const std::string& sources) {
    ProgramLaunch launch;
    // Started from the folder above the game's, by a path the kernel has to
    // resolve: only the folder the process started in makes it absolute.
    launch.workingFolder = demo.folder + "/..";
    launch.binary = binary;
    launch.script = "dump\n";
    launch.env["DESK_FAULT"] = "hide-program-file:" + sources + ":0";
    return RunProgramBinary(launch);
}

std::string Leaf(const std::string& folder) { return folder.substr(folder.rfind('/') + 1); }

}  // namespace

TEST(ProgramFolder, WithoutProcTheExecutedPathLeadsToTheGame) {
    DemoInstall demo = MakeDemoInstall("no_proc");
    std::string leaf = Leaf(demo.folder);
    ProgramRun run = RunHiding(demo, "./" + leaf + "/../" + leaf + "/dropedit", "proc");
    ASSERT_EQ(run.Events("dump").size(), 1u) << run.All();
    EXPECT_NE(run.Events("dump").front().find(u8"\"id\":100,\"class\":\"EDIT\",\"text\":\"2\""), std::string::npos)
        << run.All();
    EXPECT_TRUE(run.Events("messagebox").empty()) << run.All();
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(ProgramFolder, AFolderThatCannotBeLearnedIsSaidSoNotReportedAsAMissingGame) {
    DemoInstall demo = MakeDemoInstall("no_folder");
    ProgramRun run = RunHiding(demo, demo.ProgramPath(), "all");
    ASSERT_EQ(run.Events("messagebox").size(), 1u) << run.All();
    EXPECT_EQ(run.Events("messagebox").front(),
              u8"{\"event\":\"messagebox\",\"title\":\"错误\",\"text\":\"运行时出错!\\r\\n\\r\\n错误信息："
              u8"无法确定本程序所在的文件夹，请在游戏文件夹中重新开启本程序。\\r\\n\",\"flags\":16,\"answer\":\"OK\"}");
    EXPECT_TRUE(run.Events("show").empty()) << "no window without the game";
    EXPECT_EQ(run.lines.back(), "{\"event\":\"exit\",\"code\":4294967295}");
    EXPECT_EQ(FileSize(demo.CachePath()), -1) << "nothing was written";
}
