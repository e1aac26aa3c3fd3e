// desk-only: the desk's own lookup of the program file on a POSIX host
// The program file's path from the executed path, for roots without /proc.
#include <gtest/gtest.h>

#include "platform/desk/kernel32/program_file.h"

TEST(DeskProgramFile, ARelativeExecutedPathIsJoinedToTheStartFolder) {
    EXPECT_EQ(desk::AbsoluteExecPath("dropedit", "/game"), "/game/dropedit");
    EXPECT_EQ(desk::AbsoluteExecPath("./dropedit", "/game"), "/game/dropedit");
    EXPECT_EQ(desk::AbsoluteExecPath("bin/./x//dropedit", "/"), "/bin/x/dropedit");
}

TEST(DeskProgramFile, DotDotSegmentsAreFoldedAsTheKernelWouldResolveThem) {
    EXPECT_EQ(desk::AbsoluteExecPath(u8"../游戏/dropedit", u8"/home/p/下载"), u8"/home/p/游戏/dropedit");
    EXPECT_EQ(desk::AbsoluteExecPath("/a/b/../../dropedit", "/ignored"), "/dropedit");
    // Above the root there is only the root.
    EXPECT_EQ(desk::AbsoluteExecPath("../../../dropedit", "/game"), "/dropedit");
}

TEST(DeskProgramFile, AnAbsoluteExecutedPathIgnoresTheStartFolder) {
    EXPECT_EQ(desk::AbsoluteExecPath("/game/dropedit", ""), "/game/dropedit");
}

TEST(DeskProgramFile, NothingIsGuessedWhenThePathCannotBeMadeAbsolute) {
    EXPECT_EQ(desk::AbsoluteExecPath("", "/game"), "");
    EXPECT_EQ(desk::AbsoluteExecPath("dropedit", ""), "") << "no start folder known";
    EXPECT_EQ(desk::AbsoluteExecPath("dropedit", "game"), "") << "a relative start folder";
}
