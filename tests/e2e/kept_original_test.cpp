// What the write-back keeps and how it is got back: the read-back check,
// the kept original and the way back to it from the window, the refusal of
// negative multipliers, and the starts that find an intent they must not
// finish. Every new message box is checked with its exact text.
#include <gtest/gtest.h>
#include <unistd.h>

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

std::string Fatal(const std::string& message, const std::string& code) {
    return Box("ERROR", message + "\\r\\n\\r\\n" + code, 8208);
}

std::string Typed(const std::string& meat, const std::string& item, const std::string& kettle) {
    return "clear 100\ntype 100 " + meat + "\nclear 140\ntype 140 " + item +
           "\nclear 200\ntype 200 " + kettle + "\nclick 160\n";
}

const std::string kSuccess = Box(u8"恭喜", u8"修改成功", 8192);
const std::string kRestored = Box(u8"恭喜", u8"已恢复为第一次修改前保存的原始数据。", 8192);
const std::string kCompleted = Box(u8"恭喜", u8"上次被中断的修改已补全。", 8192);
const std::string kStale = Fatal(
    u8"上次被中断的修改无法补全：游戏文件已更新或被其它程序改动，本工具未改动游戏文件。"
    u8"写入记录（dropedit-pending开头的文件）保留在本工具目录中，验证游戏文件完整性后可删除。",
    u8"错误代码:0*0E000021");
const std::string kDamaged = Fatal(
    u8"上次被中断的修改无法补全：写入记录已损坏，本工具未改动游戏文件。"
    u8"写入记录（dropedit-pending开头的文件）保留在本工具目录中，请验证游戏文件完整性后删除它们。",
    u8"错误代码:0*0E000022");

std::vector<char> Slot(const DemoInstall& demo) {
    return ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength);
}

bool AnyToolFile(const DemoInstall& demo) {
    for (const char* name : kPendingFiles) {
        if (Exists(InFolder(demo, name))) return true;
    }
    return Exists(InFolder(demo, kOriginalSlotFile)) || Exists(InFolder(demo, kOriginalRecordFile));
}

// An intent sealed on the disk and a game file not yet touched: the program
// is killed right after the intent record is flushed.
void LeaveSealedIntent(const DemoInstall& demo) {
    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = Typed("3", "1", "7");
    launch.env["DESK_FAULT"] = "crash-flush:dropedit-pending.txt:1";
    ASSERT_EQ(RunProgramBinary(launch).exitStatus, -1);
    for (const char* name : kPendingFiles) ASSERT_TRUE(Exists(InFolder(demo, name))) << name;
}

}  // namespace

TEST(DropeditReadBack, AWriteThatNeverReachedTheFileIsAFailureAndTheNextStartRepairsIt) {
    DemoInstall demo = MakeDemoInstall("lost", kRows);
    std::vector<char> before = Slot(demo);
    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = Typed("3", "1", "7");
    launch.env["DESK_FAULT"] = "lose-write:resources.assets:1";
    ProgramRun run = RunProgramBinary(launch);
    EXPECT_TRUE(run.Has(Box(u8"错误",
                            u8"修改失败：写入后读回的游戏数据与写入的不一致。请重新开启本软件，未完"
                            u8"成的修改会自动补全。",
                            8208)))
        << run.All();
    EXPECT_FALSE(run.Has(u8"修改成功"));
    EXPECT_EQ(Slot(demo), before);
    for (const char* name : kPendingFiles)
        EXPECT_TRUE(Exists(InFolder(demo, name))) << "the intent stays: " << name;

    std::vector<char> intended =
        ReadFileRange(InFolder(demo, kPendingFiles[1]), 0, kSlotLength + 1);
    ASSERT_EQ(intended.size(), static_cast<size_t>(kSlotLength));

    ProgramRun again =
        RunDropedit(demo, "answer OK\ndump\n");  // the box of a finished write-back first
    EXPECT_EQ(again.Events("messagebox"), std::vector<std::string>{kCompleted}) << again.All();
    EXPECT_EQ(Slot(demo), intended);
    EXPECT_NE(again.Events("dump").front().find("\"id\":100,\"class\":\"EDIT\",\"text\":\"3\""),
              std::string::npos)
        << again.All();
    for (const char* name : kPendingFiles) EXPECT_FALSE(Exists(InFolder(demo, name))) << name;
}

TEST(DropeditOriginal, IsKeptOnceAndTypingItsValuesBackWritesItExactly) {
    DemoInstall demo = MakeDemoInstall("original", kRows);
    std::vector<char> original = Slot(demo);
    EXPECT_TRUE(RunDropedit(demo, Typed("3", "1", "7")).Has(kSuccess));
    EXPECT_EQ(ReadFileRange(InFolder(demo, kOriginalSlotFile), 0, kSlotLength + 1), original);
    const std::string record = ReadText(InFolder(demo, kOriginalRecordFile));
    EXPECT_NE(record.find("\r\nmeat=2\r\nitem=2\r\nkettle=5\r\ncheck="), std::string::npos)
        << record;
    EXPECT_NE(record.find("\r\ncrc32="), std::string::npos) << record;

    // A second apply, in a later run, leaves what is kept as it was.
    EXPECT_TRUE(RunDropedit(demo, Typed("4", "3", "9")).Has(kSuccess));
    EXPECT_EQ(ReadFileRange(InFolder(demo, kOriginalSlotFile), 0, kSlotLength + 1), original);
    EXPECT_EQ(ReadText(InFolder(demo, kOriginalRecordFile)), record);
    ASSERT_NE(Slot(demo), original);

    ProgramRun back = RunDropedit(demo, Typed("2", "2", "5"));
    EXPECT_EQ(back.Events("messagebox"), std::vector<std::string>{kRestored}) << back.All();
    EXPECT_EQ(Slot(demo), original) << "the original, byte for byte";
    EXPECT_EQ(ReadFileRange(demo.CachePath(), 0, kSlotLength + 1), original);
    for (const char* name : kPendingFiles) EXPECT_FALSE(Exists(InFolder(demo, name))) << name;
}

TEST(DropeditOriginal, AfterAnApplyWithZeroTheWayBackStillWorks) {
    DemoInstall demo = MakeDemoInstall("zero_back", kRows);
    std::vector<char> original = Slot(demo);
    EXPECT_TRUE(RunDropedit(demo, "clear 100\nclick 160\n").Has(kSuccess));
    // The next start shows 0 and can rescale nothing, but the original
    // values bring the original back.
    ProgramRun run = RunDropedit(demo, "dump\n" + Typed("3", "2", "5") + Typed("2", "2", "5"));
    EXPECT_NE(run.Events("dump").front().find("\"id\":100,\"class\":\"EDIT\",\"text\":\"0\""),
              std::string::npos)
        << run.All();
    EXPECT_EQ(run.Events("messagebox"),
              (std::vector<std::string>{
                  Box(u8"错误", u8"当前倍率为0，无法按比例修改掉落数值。", 8208), kRestored}))
        << run.All();
    EXPECT_EQ(Slot(demo), original);
}

TEST(DropeditOriginal, ANegativeMultiplierIsRefusedAndNothingIsWritten) {
    DemoInstall demo = MakeDemoInstall("negative", kRows);
    std::vector<char> before = Slot(demo);
    ProgramRun run =
        RunDropedit(demo, Typed("-3", "1", "7") + Typed("3", "-1", "7") + Typed("-0.5", "1", "7"));
    const std::string refused = Box(u8"错误", u8"倍率不能为负数，请输入0或正数。", 8208);
    EXPECT_EQ(run.Events("messagebox"), (std::vector<std::string>{refused, refused, refused}))
        << run.All();
    EXPECT_EQ(Slot(demo), before);
    EXPECT_EQ(ReadFileRange(demo.CachePath(), 0, kSlotLength + 1), before)
        << "not even the cache is changed";
    EXPECT_FALSE(AnyToolFile(demo));
}

TEST(DropeditOriginal, ADamagedKeptOriginalIsNeverReplacedAndTheApplyIsRefused) {
    DemoInstall demo = MakeDemoInstall("damaged_original", kRows);
    EXPECT_TRUE(RunDropedit(demo, Typed("3", "1", "7")).Has(kSuccess));
    FlipByte(InFolder(demo, kOriginalSlotFile), 5000);
    std::vector<char> kept = ReadFileRange(InFolder(demo, kOriginalSlotFile), 0, kSlotLength);
    std::vector<char> before = Slot(demo);
    ProgramRun run = RunDropedit(demo, Typed("4", "1", "7"));
    EXPECT_EQ(run.Events("messagebox"),
              std::vector<std::string>{
                  Box(u8"错误",
                      u8"本工具目录中保存的原始数据（dropedit-original-0.751）已损坏，"
                      u8"为免丢失原始数据，游戏文件未被修改。",
                      8208)})
        << run.All();
    EXPECT_EQ(Slot(demo), before);
    EXPECT_EQ(ReadFileRange(InFolder(demo, kOriginalSlotFile), 0, kSlotLength), kept);
}

TEST(DropeditIntent, ADamagedIntentLeavesTheGameFileAndTheIntentAlone) {
    DemoInstall demo = MakeDemoInstall("damaged_intent", kRows);
    LeaveSealedIntent(demo);
    FlipByte(InFolder(demo, kPendingFiles[1]), 100);
    std::vector<char> before = Slot(demo);
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_EQ(run.Events("messagebox"), std::vector<std::string>{kDamaged}) << run.All();
    EXPECT_TRUE(run.Events("show").empty()) << "the window is never shown";
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(Slot(demo), before);
    for (const char* name : kPendingFiles) EXPECT_TRUE(Exists(InFolder(demo, name))) << name;
}

TEST(DropeditIntent, AGameFileChangedSinceTheIntentIsLeftAlone) {
    DemoInstall demo = MakeDemoInstall("changed_game", kRows);
    LeaveSealedIntent(demo);
    ChangeSlotDatabase(demo, "UPDATE skill SET _itemsGot='0;40010028,99' WHERE _id=10441;");
    std::vector<char> changed = Slot(demo);
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_EQ(run.Events("messagebox"), std::vector<std::string>{kStale}) << run.All();
    EXPECT_EQ(Slot(demo), changed);
    for (const char* name : kPendingFiles) EXPECT_TRUE(Exists(InFolder(demo, name))) << name;

    // An update that changed the file's size is no version to write into.
    ASSERT_EQ(truncate(demo.GamePath().c_str(), kGameFileSize + 4096), 0);
    run = RunDropedit(demo, "");
    EXPECT_EQ(run.Events("messagebox"), std::vector<std::string>{kStale}) << run.All();
    EXPECT_EQ(FileSize(demo.GamePath()), kGameFileSize + 4096);
    for (const char* name : kPendingFiles) EXPECT_TRUE(Exists(InFolder(demo, name))) << name;
}
