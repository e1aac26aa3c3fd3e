// The real dropedit killed part way through its write-back, at many byte
// counts and between every two steps, by a fault of the desk's (DESK_FAULT),
// then started again: the slot must hold the old or the new database byte
// for byte, the window must show that database's values, and nothing outside
// the slot may change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo_install.h"
#include "write_back_files.h"

namespace {

constexpr int kRows = 200;  // small: every kill point costs two runs
const char kApply[] =
    "clear 100\ntype 100 3\nclear 140\ntype 140 1\nclear 200\ntype 200 7\nclick 160\n";
const char kCompleted[] =
    u8"{\"event\":\"messagebox\",\"title\":\"恭喜\",\"text\":\"上次被中断的修改已补全。\","
    u8"\"flags\":8192,"
    u8"\"answer\":\"OK\"}";

struct KillPoint {
    std::string fault;  // DESK_FAULT
    bool newSlot;       // the slot after the restart: the new database, else the old
    bool completed;     // the restart finishes the write-back and says so
};

struct Reference {
    std::vector<char> oldSlot, newSlot;
};

// One clean apply gives the new slot every run of the same input writes.
Reference MakeReference() {
    DemoInstall demo = MakeDemoInstall("reference", kRows);
    Reference ref;
    ref.oldSlot = ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength);
    ProgramRun run = RunDropedit(demo, kApply);
    EXPECT_TRUE(run.Has(u8"修改成功")) << run.All();
    ref.newSlot = ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength);
    EXPECT_NE(ref.oldSlot, ref.newSlot);
    return ref;
}

bool ShowsBox(const std::string& dump, int id, const std::string& text) {
    return dump.find("\"id\":" + std::to_string(id) + ",\"class\":\"EDIT\",\"text\":\"" + text +
                     "\"") != std::string::npos;
}

void KillAndRestart(const Reference& ref, const KillPoint& point) {
    SCOPED_TRACE(point.fault);
    DemoInstall demo = MakeDemoInstall("kill", kRows);
    MarkOutsideTheSlot(demo);
    std::vector<char> outside = Outside(demo);

    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = kApply;
    launch.env["DESK_FAULT"] = point.fault;
    ProgramRun killed = RunProgramBinary(launch);
    ASSERT_EQ(killed.exitStatus, -1) << "the fault must kill the program\n" << killed.All();
    EXPECT_FALSE(killed.Has(u8"修改成功")) << killed.All();

    ProgramRun again =
        RunDropedit(demo, "answer OK\ndump\n");  // the box of a finished write-back first
    EXPECT_EQ(again.exitStatus, 0) << again.All();
    std::vector<char> slot = ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength);
    EXPECT_TRUE(slot == ref.oldSlot || slot == ref.newSlot) << "the slot is a mix";
    EXPECT_EQ(slot == ref.newSlot, point.newSlot);
    EXPECT_EQ(again.Has(kCompleted), point.completed) << again.All();
    ASSERT_EQ(again.Events("dump").size(), 1u) << again.All();
    const std::string dump = again.Events("dump").front();
    if (slot == ref.newSlot) {
        EXPECT_TRUE(ShowsBox(dump, 100, "3") && ShowsBox(dump, 140, "1") &&
                    ShowsBox(dump, 200, "7"))
            << dump;
    } else {
        EXPECT_TRUE(ShowsBox(dump, 100, "2") && ShowsBox(dump, 140, "2") &&
                    ShowsBox(dump, 200, "5"))
            << dump;
    }
    EXPECT_EQ(Outside(demo), outside);
    EXPECT_EQ(FileSize(demo.GamePath()), kGameFileSize);
    for (const char* name : kPendingFiles) EXPECT_FALSE(Exists(InFolder(demo, name))) << name;
    if (Exists(InFolder(demo, kOriginalRecordFile))) {
        EXPECT_EQ(ReadFileRange(InFolder(demo, kOriginalSlotFile), 0, kSlotLength + 1),
                  ref.oldSlot);
    }
}

}  // namespace

TEST(DropeditCrash, KilledWhileWritingTheSlotTheRestartWritesTheNewDatabase) {
    Reference ref = MakeReference();
    for (long long bytes : {0LL, 1LL, 4095LL, 65536LL, 700001LL, kSlotLength / 2, 1500000LL,
                            kSlotLength - 1, kSlotLength}) {
        KillAndRestart(ref, {"crash-write:resources.assets:" + std::to_string(bytes), true, true});
    }
}

TEST(DropeditCrash, KilledBeforeTheIntentIsSealedTheGameFileKeepsTheOldDatabase) {
    Reference ref = MakeReference();
    const std::vector<KillPoint> points = {
        {"crash-write:dropedit-original-0.751.bin:1000000", false, false},
        {"crash-flush:dropedit-original-0.751.bin:1", false, false},
        {"crash-write:dropedit-original-0.751.txt:40", false, false},
        {"crash-flush:dropedit-original-0.751.txt:1", false, false},
        {"crash-write:dropedit-pending-old.bin:1234", false, false},
        {"crash-flush:dropedit-pending-old.bin:1", false, false},
        {"crash-write:dropedit-pending-new.bin:" + std::to_string(kSlotLength - 1), false, false},
        {"crash-flush:dropedit-pending-new.bin:1", false, false},
        {"crash-write:dropedit-pending.txt:100", false, false},
    };
    for (const KillPoint& point : points) KillAndRestart(ref, point);
}

TEST(DropeditCrash, KilledAfterTheIntentIsSealedTheNewDatabaseIsThereAfterTheRestart) {
    Reference ref = MakeReference();
    const std::vector<KillPoint> points = {
        {"crash-flush:dropedit-pending.txt:1", true, true},
        {"crash-flush:resources.assets:1", true, true},
        {"crash-delete:dropedit-pending.txt:1", true, false},
        {"crash-delete:dropedit-pending-new.bin:1", true, false},
        {"crash-delete:dropedit-pending-old.bin:1", true, false},
    };
    for (const KillPoint& point : points) KillAndRestart(ref, point);
}
