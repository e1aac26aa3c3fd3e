// Files the system will not let the tool write (the read-only attribute; on
// Windows also a protected folder): the box keeps the step's usual words and
// code and adds what is wrong and what to do; nothing is written. A file
// held by another program keeps the usual words alone (dropedit_test.cpp).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "demo_install.h"
#include "write_back_files.h"

namespace {

constexpr int kRows = 200;

std::string Box(const std::string& title, const std::string& text, int flags) {
    return "{\"event\":\"messagebox\",\"title\":\"" + title + "\",\"text\":\"" + text +
           "\",\"flags\":" + std::to_string(flags) + ",\"answer\":\"OK\"}";
}

// Message, the advice on its own line, two line ends and the code line; the
// transcript is JSON, so a backslash of the texts shows doubled.
std::string FatalWithAdvice(const std::string& message, const std::string& advice,
                            const std::string& code) {
    return Box("ERROR", message + "\\r\\n" + advice + "\\r\\n\\r\\n" + code, 8208);
}

const std::string kGameAdvice =
    u8"系统拒绝本工具写入游戏文件（只读文件或受保护的文件夹）：请去掉PE_Client_Data\\\\resources.assets"
    u8"的只读属性，或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\\\Program Files）。";
const std::string kCacheAdvice =
    u8"系统拒绝本工具写入缓存文件（只读文件或受保护的文件夹）：请去掉pe.bin的只读属性，"
    u8"或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\\\Program Files）。";
const std::string kToolAdvice =
    u8"系统拒绝本工具写入它目录中的文件（只读文件或受保护的文件夹）：请去掉dropedit开头文件的只读属性，"
    u8"或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\\\Program Files）。";

struct FileState {
    long long size;
    long long modified;
    std::vector<char> slot;
    bool operator==(const FileState& other) const {
        return size == other.size && modified == other.modified && slot == other.slot;
    }
};

FileState StateOf(const std::string& path, long long offset, long long length) {
    struct stat info {};
    stat(path.c_str(), &info);
    return {static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec,
            ReadFileRange(path, offset, length)};
}

FileState GameState(const DemoInstall& demo) {
    return StateOf(demo.GamePath(), kSlotOffset, kSlotLength);
}

}  // namespace

TEST(DropeditAccessDenied, AReadOnlyGameFileIsCodeFifteenWithTheAdviceAndNothingIsWritten) {
    DemoInstall demo = MakeDemoInstall("ro_game", kRows);
    ASSERT_EQ(chmod(demo.GamePath().c_str(), 0444), 0);
    FileState before = GameState(demo);
    ProgramRun run = RunDropedit(demo, "");
    std::vector<std::string> boxes = run.Events("messagebox");
    ASSERT_EQ(boxes.size(), 1u) << run.All();
    EXPECT_EQ(boxes[0], FatalWithAdvice(u8"请将该软件放置在游戏路径下，且关闭可能占用进程的其它软件后，再次开启本软件。",
                                        kGameAdvice, u8"错误代码:0*0E000015"));
    EXPECT_TRUE(run.Events("show").empty()) << "the window is never shown";
    EXPECT_TRUE(GameState(demo) == before);
    EXPECT_EQ(FileSize(demo.CachePath()), -1);
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditAccessDenied, AReadOnlyCacheIsCodeFourteenWithTheAdviceAndKeepsItsBytes) {
    DemoInstall demo = MakeDemoInstall("ro_cache", kRows);
    // A cache from an earlier run, made read-only since.
    ASSERT_EQ(RunDropedit(demo, "").exitStatus, 0);
    ASSERT_EQ(FileSize(demo.CachePath()), kSlotLength);
    ASSERT_EQ(chmod(demo.CachePath().c_str(), 0444), 0);
    FileState cacheBefore = StateOf(demo.CachePath(), 0, kSlotLength);
    FileState gameBefore = GameState(demo);

    ProgramRun run = RunDropedit(demo, "");
    std::vector<std::string> boxes = run.Events("messagebox");
    ASSERT_FALSE(boxes.empty()) << run.All();
    EXPECT_EQ(boxes.back(), FatalWithAdvice(u8"缓存文件正在被占用，请关闭杀毒软件或者其它读写进程，再次开启本软件。",
                                            kCacheAdvice, u8"错误代码:0*0E000014"))
        << run.All();
    EXPECT_TRUE(StateOf(demo.CachePath(), 0, kSlotLength) == cacheBefore);
    EXPECT_TRUE(GameState(demo) == gameBefore);
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditAccessDenied, AReadOnlyToolFileRefusesTheApplyWithTheAdvice) {
    DemoInstall demo = MakeDemoInstall("ro_tool", kRows);
    // A leftover of an earlier write-back the start could not remove.
    std::string leftover = InFolder(demo, kPendingFiles[2]);
    { FILE* f = std::fopen(leftover.c_str(), "wb"); ASSERT_NE(f, nullptr); std::fclose(f); }
    ASSERT_EQ(chmod(leftover.c_str(), 0444), 0);
    FileState before = GameState(demo);

    ProgramRun run = RunDropedit(demo, "clear 100\ntype 100 3\nclick 160\n");
    std::vector<std::string> boxes = run.Events("messagebox");
    ASSERT_EQ(boxes.size(), 1u) << run.All();
    EXPECT_EQ(boxes[0], Box(u8"错误",
                            u8"无法在本工具目录中保存原始数据或写入记录，游戏文件未被修改。请确认目录可写且磁盘空间充足。"
                            u8"\\r\\n" + kToolAdvice,
                            8208));
    EXPECT_TRUE(GameState(demo) == before);
    EXPECT_EQ(FileSize(leftover), 0);
    EXPECT_FALSE(Exists(InFolder(demo, kPendingFiles[0]))) << "no intent was left";
    EXPECT_EQ(run.exitStatus, 0);
}
