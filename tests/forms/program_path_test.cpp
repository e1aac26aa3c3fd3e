// Splitting the program's path into the working folder and the file name.
#include <gtest/gtest.h>

#include "forms/application.h"

TEST(ProgramPath, SplitsAtTheLastBackslash) {
    std::string folder, file;
    SplitProgramPath("C:\\Games\\Quillmarsh\\dropedit.exe", &folder, &file);
    EXPECT_EQ(folder, "C:\\Games\\Quillmarsh");
    EXPECT_EQ(file, "dropedit.exe");
}

TEST(ProgramPath, WithoutBackslashTheFolderIsEmptyAndTheWholePathIsTheName) {
    std::string folder = "unchanged?", file;
    SplitProgramPath("dropedit.exe", &folder, &file);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(file, "dropedit.exe");
}

TEST(ProgramPath, ATrailByteThatLooksLikeABackslashDoesNotSplit) {
    // "表" in GBK is 0xB1 0xED; "\x95\x5C" is a double-byte character whose
    // trail byte is 0x5C, the backslash's code.
    std::string folder, file;
    SplitProgramPath("D:\\\x95\x5C\\a\x95\x5C.exe", &folder, &file);
    EXPECT_EQ(folder, "D:\\\x95\x5C");
    EXPECT_EQ(file, "a\x95\x5C.exe");
}
