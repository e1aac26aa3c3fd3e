// dropedit end to end: the real binary in demo installations under the
// scripted user, checked through its transcript, its exit code and the bytes
// of "pe.bin" and of the game file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "demo_install.h"

namespace {

// Control ids of the loaded main window.
const char kTypeAll[] =
    "clear 100\ntype 100 3\n"
    "clear 140\ntype 140 1\n"
    "clear 200\ntype 200 7\n";

std::string Box(const std::string& title, const std::string& text, int flags) {
    return "{\"event\":\"messagebox\",\"title\":\"" + title + "\",\"text\":\"" + text +
           "\",\"flags\":" + std::to_string(flags) + ",\"answer\":\"OK\"}";
}

// The fatal start-up messages: message, two line ends, the code line.
std::string FatalBox(const std::string& message, const std::string& code) {
    return Box("ERROR", message + "\\r\\n\\r\\n" + code, 8208);
}

std::vector<char> Slot(const DemoInstall& demo) { return ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength); }

// The statements of one apply, computed here independently of the program
// (same formula, "%.13g" numbers), one per ai_data row plus the skill row.
std::vector<std::string> ExpectedStatements(const std::string& db, double meat, double item, const std::string& kettle) {
    double meatNow = std::trunc(std::atof(QueryValue(db, "SELECT meat_drop FROM ai_data ORDER BY rowid").c_str()) / 18.0);
    double itemNow = std::trunc(std::atof(QueryValue(db, "SELECT item_drop FROM ai_data ORDER BY rowid").c_str()) / 2.0);
    std::vector<std::string> statements;
    int rowCount = std::atoi(QueryValue(db, "SELECT count(*) FROM ai_data").c_str());
    for (int i = 1; i <= rowCount; ++i) {
        std::string where = " FROM ai_data ORDER BY rowid LIMIT 1 OFFSET " + std::to_string(i - 1);
        std::string id = QueryValue(db, "SELECT monster_ID" + where);
        std::string meatDrop = QueryValue(db, "SELECT meat_drop" + where);
        std::string itemDrop = QueryValue(db, "SELECT item_drop" + where);
        auto piece = [](const std::string& text, int n) {
            size_t semi = text.find(';');
            return n == 1 ? text.substr(0, semi) : text.substr(semi + 1);
        };
        auto scaled = [](const std::string& text, double now, double typed) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.13g", std::atof(text.c_str()) / now * typed);
            return std::string(buffer);
        };
        statements.push_back("update ai_data set meat_drop='" + scaled(piece(meatDrop, 1), meatNow, meat) + ";" +
                             scaled(piece(meatDrop, 2), meatNow, meat) + "',item_drop='" +
                             scaled(piece(itemDrop, 1), itemNow, item) + ";" + piece(itemDrop, 2) +
                             "' where monster_ID='" + id + "';");
    }
    statements.push_back("update skill set _itemsGot='0;40010028," + kettle + "' where _id='10441';");
    return statements;
}

// Another program that holds the file with an exclusive lock, as a running
// game holds its data file. It takes the lock once `after` exists (at once
// for ""), then creates `flag`; it holds the lock until the object goes.
class FileHolder {
public:
    FileHolder(const std::string& path, const std::string& after, const std::string& flag) {
        pid_ = fork();
        if (pid_ == 0) {
            while (!after.empty() && access(after.c_str(), F_OK) != 0) usleep(20000);
            if (!after.empty()) usleep(300000);  // let the program close what it opened
            int fd = open(path.c_str(), O_RDONLY);
            flock(fd, LOCK_EX);
            close(open(flag.c_str(), O_CREAT | O_WRONLY, 0644));
            pause();
            _exit(0);
        }
    }
    ~FileHolder() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

private:
    pid_t pid_;
};

}  // namespace

TEST(DropeditStart, ShowsTheWindowWithTheCurrentValues) {
    DemoInstall demo = MakeDemoInstall("start");
    ProgramRun run = RunDropedit(demo, "dump\n");
    ASSERT_FALSE(run.Events("show").empty()) << run.All();
    EXPECT_EQ(run.Events("show").front(),
              u8"{\"event\":\"show\",\"title\":\"Quillmarsh--怪物掉落修改\",\"class\":\"WTWindow\","
              u8"\"x\":791,\"y\":429,\"w\":337,\"h\":222}");
    ASSERT_EQ(run.Events("dump").size(), 1u) << run.All();
    const std::string dump = run.Events("dump").front();
    EXPECT_NE(dump.find(u8"\"id\":100,\"class\":\"EDIT\",\"text\":\"2\""), std::string::npos) << dump;
    EXPECT_NE(dump.find(u8"\"id\":140,\"class\":\"EDIT\",\"text\":\"2\""), std::string::npos) << dump;
    EXPECT_NE(dump.find(u8"\"id\":200,\"class\":\"EDIT\",\"text\":\"5\""), std::string::npos) << dump;
    EXPECT_NE(dump.find(u8"\"text\":\"0.751（Steam）\""), std::string::npos) << dump;
    EXPECT_EQ(dump.find(u8"非Steam"), std::string::npos) << "the template caption is never seen";
    EXPECT_NE(dump.find(u8"\"text\":\"您当前使用的游戏版本为：\""), std::string::npos) << dump;
    EXPECT_TRUE(run.Events("messagebox").empty()) << run.All();
    EXPECT_EQ(run.lines.back(), "{\"event\":\"exit\",\"code\":0}");
    EXPECT_EQ(run.exitStatus, 0);
    // The cache is the slot, byte for byte.
    EXPECT_EQ(ReadFileRange(demo.CachePath(), 0, kSlotLength + 1), Slot(demo));
}

TEST(DropeditStart, AtOneHundredFiftyPercentTheWindowIsLaidOutAtThatScale) {
    DemoInstall demo = MakeDemoInstall("scaled");
    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = "dump\n";
    launch.env["DESK_DPI"] = "144";
    ProgramRun run = RunProgramBinary(launch);
    ASSERT_FALSE(run.Events("show").empty()) << run.All();
    // 337 x 222 at 150 %, centred on the 1920 x 1080 screen at that size.
    EXPECT_EQ(run.Events("show").front(),
              u8"{\"event\":\"show\",\"title\":\"Quillmarsh--怪物掉落修改\",\"class\":\"WTWindow\","
              u8"\"x\":707,\"y\":373,\"w\":506,\"h\":333}");
    ASSERT_EQ(run.Events("dump").size(), 1u) << run.All();
    const std::string dump = run.Events("dump").front();
    // The apply button: 82, 163, 96 x 24 in the template.
    EXPECT_NE(dump.find(u8"\"id\":160,\"class\":\"BUTTON\",\"text\":\"确认修改\""), std::string::npos) << dump;
    EXPECT_NE(dump.find(u8"\"w\":144,\"h\":36}"), std::string::npos) << dump;
    EXPECT_NE(dump.find(u8"\"id\":100,\"class\":\"EDIT\",\"text\":\"2\""), std::string::npos) << dump;
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditStart, ALeftoverCacheIsReplacedByAFreshCopy) {
    DemoInstall demo = MakeDemoInstall("leftover");
    { std::FILE* f = std::fopen(demo.CachePath().c_str(), "wb"); std::fputs("old cache", f); std::fclose(f); }
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_EQ(ReadFileRange(demo.CachePath(), 0, kSlotLength + 1), Slot(demo));
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditStart, UsageNotesShowTwoLinesAndChangeNothing) {
    DemoInstall demo = MakeDemoInstall("notes");
    std::vector<char> before = Slot(demo);
    ProgramRun run = RunDropedit(demo, "click 170\nanswer OK\n");
    EXPECT_TRUE(run.Has(Box(u8"使用说明",
                            u8"本工具支持版本有0751官方版、0751修正版（含Steam平台）\\r\\n"
                            u8"将本工具放置在游戏目录，双击使用即可。\\r\\n",
                            8192)))
        << run.All();
    EXPECT_EQ(Slot(demo), before);
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditStart, EscapeClosesTheWindowAndTheProgramEnds) {
    DemoInstall demo = MakeDemoInstall("escape");
    ProgramRun run = RunDropedit(demo, "key Escape\nclick 160\n");
    // After Escape no window is left: the click names a control that no
    // longer exists only if the program were still running.
    EXPECT_EQ(run.exitStatus, 0) << run.All();
    EXPECT_TRUE(run.Events("messagebox").empty()) << run.All();
}

TEST(DropeditApply, RescalesEveryRowAndWritesTheDatabaseBack) {
    DemoInstall demo = MakeDemoInstall("apply");
    std::string original = ExtractSlot(demo, "original.db");
    ProgramRun run = RunDropedit(demo, std::string(kTypeAll) + "click 160\nanswer OK\n");
    EXPECT_TRUE(run.Has(Box(u8"恭喜", u8"修改成功", 8192))) << run.All();
    EXPECT_EQ(run.exitStatus, 0);

    std::string applied = ExtractSlot(demo, "applied.db");
    EXPECT_EQ(QueryValue(applied, "SELECT meat_drop || '/' || item_drop FROM ai_data WHERE monster_ID='1001'"),
              "54;81/2;1");
    EXPECT_EQ(QueryValue(applied, "SELECT _itemsGot FROM skill WHERE _id=10441"), "0;40010028,7");
    EXPECT_EQ(QueryValue(applied, "SELECT count(*) FROM sqlite_master WHERE type='index'"), "0")
        << "the game's schema is left as it was";
    // The slot holds "pe.bin" exactly, padded to the slot's length.
    EXPECT_EQ(FileSize(demo.CachePath()), kSlotLength);
    EXPECT_EQ(ReadFileRange(demo.CachePath(), 0, kSlotLength), Slot(demo));
    EXPECT_EQ(FileSize(demo.GamePath()), kGameFileSize);

    // The same statements run one by one give the same tables.
    ASSERT_TRUE(RunStatements(original, ExpectedStatements(original, 3, 1, "7")));
    EXPECT_EQ(DumpTable(applied, "ai_data"), DumpTable(original, "ai_data"));
    EXPECT_EQ(DumpTable(applied, "skill"), DumpTable(original, "skill"));
}

TEST(DropeditApply, ApplyingTwiceGivesWhatApplyingOnceGives) {
    DemoInstall once = MakeDemoInstall("once");
    DemoInstall twice = MakeDemoInstall("twice");
    RunDropedit(once, std::string(kTypeAll) + "click 160\n");
    RunDropedit(twice, std::string(kTypeAll) + "click 160\nclick 160\n");
    // The table values are the same; the database header's change counter
    // is not.
    std::string a = ExtractSlot(once, "once.db"), b = ExtractSlot(twice, "twice.db");
    EXPECT_EQ(DumpTable(a, "ai_data"), DumpTable(b, "ai_data"));
    EXPECT_EQ(DumpTable(a, "skill"), DumpTable(b, "skill"));
    EXPECT_NE(DumpTable(a, "ai_data"), "");
}

TEST(DropeditApply, AnEmptyMeatBoxZeroesEveryMeatNumberAndKeepsTheSecondItemNumbers) {
    DemoInstall demo = MakeDemoInstall("empty_meat");
    std::string original = ExtractSlot(demo, "original.db");
    ProgramRun run = RunDropedit(demo, "clear 100\nclick 160\n");
    std::string applied = ExtractSlot(demo, "applied.db");
    EXPECT_EQ(QueryValue(applied, "SELECT count(*) FROM ai_data WHERE meat_drop <> '0;0'"), "0");
    EXPECT_EQ(QueryValue(applied, "SELECT group_concat(substr(item_drop, instr(item_drop, ';')), '') FROM ai_data"),
              QueryValue(original, "SELECT group_concat(substr(item_drop, instr(item_drop, ';')), '') FROM ai_data"));
    EXPECT_EQ(QueryValue(applied, "SELECT _itemsGot FROM skill WHERE _id=10441"), "0;40010028,5");
}

TEST(DropeditApply, QuotesInMonsterIdsAreDoubledInTheStatements) {
    DemoInstall demo = MakeDemoInstall("quotes");
    ChangeSlotDatabase(demo, "UPDATE ai_data SET monster_ID='10''02' WHERE rowid=2;");
    std::string original = ExtractSlot(demo, "original.db");
    RunDropedit(demo, std::string(kTypeAll) + "click 160\n");
    std::string applied = ExtractSlot(demo, "applied.db");
    std::string meat = QueryValue(original, "SELECT meat_drop FROM ai_data WHERE rowid=2");
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.13g", std::atof(meat.c_str()) / 2 * 3);
    EXPECT_EQ(QueryValue(applied, "SELECT substr(meat_drop, 1, instr(meat_drop, ';') - 1) FROM ai_data WHERE monster_ID='10''02'"),
              expected);
}

TEST(DropeditFailures, MissingGameFileIsCodeOne) {
    DemoInstall demo = MakeDemoInstall("missing");
    std::remove(demo.GamePath().c_str());
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_TRUE(run.Has(FatalBox(u8"读取失败，请确保您当前游戏版本为0.751，或者游戏处于关闭状态，且本工具放置于游戏路径下。",
                                 u8"错误代码:0*0E000001")))
        << run.All();
    EXPECT_TRUE(run.Events("show").empty()) << "the window is never shown";
    EXPECT_EQ(FileSize(demo.CachePath()), -1);
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditFailures, GameFileOneByteOffEitherWayIsCodeOne) {
    for (long long size : {kGameFileSize - 1, kGameFileSize + 1}) {
        DemoInstall demo = MakeDemoInstall("size" + std::to_string(size));
        ASSERT_EQ(truncate(demo.GamePath().c_str(), size), 0);
        ProgramRun run = RunDropedit(demo, "");
        EXPECT_TRUE(run.Has(u8"错误代码:0*0E000001")) << run.All();
        EXPECT_TRUE(run.Events("show").empty());
        EXPECT_EQ(run.exitStatus, 0);
    }
}

TEST(DropeditFailures, GameFileHeldByAnotherProcessIsCodeFifteen) {
    DemoInstall demo = MakeDemoInstall("held");
    FileHolder game(demo.GamePath(), "", demo.folder + "/held");
    while (access((demo.folder + "/held").c_str(), F_OK) != 0) usleep(10000);
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_TRUE(run.Has(FatalBox(u8"请将该软件放置在游戏路径下，且关闭可能占用进程的其它软件后，再次开启本软件。",
                                 u8"错误代码:0*0E000015")))
        << run.All();
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditFailures, ACacheThatCannotBeWrittenIsCodeFourteenAfterTheReadFailure) {
    DemoInstall demo = MakeDemoInstall("cache");
    ASSERT_EQ(mkdir(demo.CachePath().c_str(), 0755), 0);
    ProgramRun run = RunDropedit(demo, "");
    std::vector<std::string> boxes = run.Events("messagebox");
    ASSERT_EQ(boxes.size(), 2u) << run.All();
    EXPECT_EQ(boxes[0], Box(u8"错误", u8"读取失败，请确保MOD修改器处于开启状态！", 8208));
    // Windows refuses to open a folder as a file with "access denied", so the
    // box says what to do about that too.
    EXPECT_EQ(boxes[1], FatalBox(u8"缓存文件正在被占用，请关闭杀毒软件或者其它读写进程，再次开启本软件。"
                                 u8"\\r\\n系统拒绝本工具写入缓存文件（只读文件或受保护的文件夹）：请去掉pe.bin的只读属性，"
                                 u8"或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\\\Program Files）。",
                                 u8"错误代码:0*0E000014"));
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(DropeditFailures, ASlotThatIsNoDatabaseEndsWithARuntimeError) {
    DemoInstall demo = MakeDemoInstall("garbage");
    std::string fill = "dd if=/dev/urandom of='" + demo.GamePath() + "' bs=1 seek=" + std::to_string(kSlotOffset) +
                       " count=4096 conv=notrunc status=none";
    ASSERT_EQ(std::system(fill.c_str()), 0);
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_TRUE(run.Has(u8"\"text\":\"运行时出错!\\r\\n\\r\\n错误代码：3\\r\\n\\r\\n")) << run.All();
    EXPECT_EQ(run.lines.back(), "{\"event\":\"exit\",\"code\":4294967295}");
}

TEST(DropeditFailures, TooFewSkillRowsEndsWithARuntimeError) {
    DemoInstall demo = MakeDemoInstall("skill");
    ChangeSlotDatabase(demo, "DELETE FROM skill WHERE rowid > 384;");
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_TRUE(run.Has(u8"错误代码：1\\r\\n\\r\\n错误信息：数组成员引用下标超出定义范围")) << run.All();
    EXPECT_EQ(run.exitStatus, 255);
}

TEST(DropeditFailures, ADatabaseThatOutgrowsTheSlotIsRefused) {
    DemoInstall demo = MakeDemoInstall("outgrow", 9999, 790);
    std::vector<char> before = Slot(demo);
    ProgramRun run = RunDropedit(demo, "clear 100\ntype 100 99999\nclick 160\n");
    EXPECT_TRUE(run.Has(Box("ERROR", u8"修改冗余数据过多，您的版本不支持大数据，可切换为075修正版再次尝试。", 8208)))
        << run.All();
    EXPECT_FALSE(run.Has(u8"修改成功"));
    EXPECT_EQ(Slot(demo), before);
    EXPECT_GT(FileSize(demo.CachePath()), kSlotLength);
}

TEST(DropeditMends, AFailedStatementRollsBackTheWholeBatch) {
    DemoInstall demo = MakeDemoInstall("rollback");
    ChangeSlotDatabase(demo, "CREATE TRIGGER keep_kettle BEFORE UPDATE ON skill BEGIN SELECT RAISE(ABORT, 'no'); END;");
    std::vector<char> before = Slot(demo);
    std::string original = ExtractSlot(demo, "original.db");
    ProgramRun run = RunDropedit(demo, std::string(kTypeAll) + "click 160\n");
    EXPECT_TRUE(run.Has(Box(u8"错误", u8"修改失败：写入缓存数据库出错，游戏文件未被修改。", 8208))) << run.All();
    EXPECT_FALSE(run.Has(u8"修改成功"));
    EXPECT_EQ(Slot(demo), before);
    EXPECT_EQ(DumpTable(demo.CachePath(), "ai_data"), DumpTable(original, "ai_data"))
        << "no row of the cache stays rescaled";
}

TEST(DropeditMends, AZeroMultiplierRefusesTheApply) {
    DemoInstall demo = MakeDemoInstall("zero");
    ChangeSlotDatabase(demo, "UPDATE ai_data SET meat_drop='10;54' WHERE rowid=1;");
    std::vector<char> before = Slot(demo);
    ProgramRun run = RunDropedit(demo, "dump\nclick 160\n");
    EXPECT_NE(run.Events("dump").front().find("\"id\":100,\"class\":\"EDIT\",\"text\":\"0\""), std::string::npos)
        << run.All();
    EXPECT_TRUE(run.Has(Box(u8"错误", u8"当前倍率为0，无法按比例修改掉落数值。", 8208))) << run.All();
    EXPECT_EQ(Slot(demo), before);
}

TEST(DropeditMends, AGameHeldAtWriteBackIsReportedAndNotWritten) {
    DemoInstall demo = MakeDemoInstall("held_later");
    std::vector<char> before = Slot(demo);
    // Once the window is up, another program takes the game file.
    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = std::string(kTypeAll) + "wait locked\nclick 160\n";
    FileHolder game(demo.GamePath(), demo.CachePath(), demo.folder + "/locked");
    ProgramRun run = RunProgramBinary(launch);
    EXPECT_TRUE(run.Has(Box(u8"错误", u8"写入游戏文件失败，请关闭游戏或其它占用游戏文件的软件后再试。", 8208)))
        << run.All();
    EXPECT_FALSE(run.Has(u8"修改成功"));
    EXPECT_EQ(Slot(demo), before);
}
