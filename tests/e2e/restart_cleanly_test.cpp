// Starts that used to leave the player stuck: a stale SQLite journal beside
// the cache after a crash inside the apply, and an intent record whose slot
// files a file system removed before it. Each must start into the window
// with the values of the database the game slot holds, and leave nothing
// for a second start to do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "demo_install.h"
#include "write_back_files.h"

namespace {

constexpr int kRows = 200;
const char kApply[] =
    "clear 100\ntype 100 3\nclear 140\ntype 140 1\nclear 200\ntype 200 9\nclick 160\n";
const std::string kCompleted =
    u8"{\"event\":\"messagebox\",\"title\":\"恭喜\",\"text\":\"上次被中断的修改已补全。\","
    u8"\"flags\":8192,\"answer\":\"OK\"}";
const std::string kDamaged =
    u8"{\"event\":\"messagebox\",\"title\":\"ERROR\",\"text\":\"上次被中断的修改无法补全："
    u8"写入记录已损坏，本工具未改动游戏文件。写入记录（dropedit-pending开头的文件）保留在本工具"
    u8"目录中，请验证游戏文件完整性后删除它们。\\r\\n\\r\\n错误代码:0*0E000022\","
    u8"\"flags\":8208,\"answer\":\"OK\"}";

std::vector<char> Slot(const DemoInstall& demo) {
    return ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength);
}

// The three boxes of the window as the dump shows them.
bool ShowsValues(const ProgramRun& run, const std::string& meat, const std::string& item,
                 const std::string& kettle) {
    std::vector<std::string> dumps = run.Events("dump");
    if (dumps.size() != 1) return false;
    auto box = [&](int id, const std::string& text) {
        return dumps[0].find("\"id\":" + std::to_string(id) + ",\"class\":\"EDIT\",\"text\":\"" +
                             text + "\"") != std::string::npos;
    };
    return box(100, meat) && box(140, item) && box(200, kettle);
}

ProgramRun RunWithFault(const DemoInstall& demo, const std::string& fault) {
    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = kApply;
    launch.env["DESK_FAULT"] = fault;
    return RunProgramBinary(launch);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool AnyPendingFile(const DemoInstall& demo) {
    for (const char* name : kPendingFiles) {
        if (Exists(InFolder(demo, name))) return true;
    }
    return false;
}

// A start after which the window shows the given values and nothing is left
// to finish; a second start then shows no message and changes nothing.
void ExpectStartsInto(const DemoInstall& demo, const ProgramRun& run, const std::string& meat,
                      const std::string& item, const std::string& kettle) {
    EXPECT_EQ(run.exitStatus, 0) << run.All();
    EXPECT_FALSE(run.Events("show").empty()) << run.All();
    EXPECT_TRUE(ShowsValues(run, meat, item, kettle)) << run.All();
    EXPECT_FALSE(AnyPendingFile(demo));
    std::vector<char> slot = Slot(demo);
    ProgramRun second = RunDropedit(demo, "dump\n");
    EXPECT_EQ(second.exitStatus, 0) << second.All();
    EXPECT_TRUE(second.Events("messagebox").empty()) << second.All();
    EXPECT_TRUE(ShowsValues(second, meat, item, kettle)) << second.All();
    EXPECT_EQ(Slot(demo), slot);
}

}  // namespace

// The issue's own case: a fresh installation, killed once the start's copy of
// the slot and the transaction's first 128 KiB have been written.
TEST(DropeditRestart, AJournalLeftByACrashInsideTheApplyGoesWithTheCache) {
    DemoInstall demo = MakeDemoInstall("journal");
    std::vector<char> before = Slot(demo);
    ProgramRun killed = RunWithFault(demo, "crash-write:pe.bin:" + std::to_string(kSlotLength + 131072));
    ASSERT_EQ(killed.exitStatus, -1) << killed.All();
    ASSERT_TRUE(Exists(InFolder(demo, "pe.bin-journal"))) << "the crash must leave a journal";
    // Companions of another journal mode go too, whatever they hold.
    WriteBytes(InFolder(demo, "pe.bin-wal"), "not a log");
    WriteBytes(InFolder(demo, "pe.bin-shm"), "not an index");

    ProgramRun again = RunDropedit(demo, "dump\n");
    EXPECT_TRUE(again.Events("messagebox").empty()) << again.All();
    ExpectStartsInto(demo, again, "2", "2", "5");
    for (const char* name : {"pe.bin-journal", "pe.bin-wal", "pe.bin-shm"}) {
        EXPECT_FALSE(Exists(InFolder(demo, name))) << name;
    }
    EXPECT_EQ(Slot(demo), before);
    EXPECT_EQ(ReadFileRange(demo.CachePath(), 0, kSlotLength + 1), before);
}

// Killed between the flush of the game file and the removal of the intent,
// the three intent files are as the apply wrote them; the cases below put
// back what a file system may have kept of their removal.
class IntentLeftovers : public ::testing::Test {
protected:
    void SetUp() override {
        demo = MakeDemoInstall("leftovers", kRows);
        oldSlot = Slot(demo);
        ASSERT_EQ(RunWithFault(demo, "crash-flush:resources.assets:1").exitStatus, -1);
        newSlot = Slot(demo);
        ASSERT_NE(newSlot, oldSlot);
        for (int i = 0; i < 3; ++i) saved[i] = ReadText(InFolder(demo, kPendingFiles[i]));
        ASSERT_FALSE(saved[0].empty());
    }
    // Puts back the intent files whose index is given, removes the others.
    void LeaveOnly(std::initializer_list<int> kept) {
        for (const char* name : kPendingFiles) std::remove(InFolder(demo, name).c_str());
        for (int i : kept) WriteBytes(InFolder(demo, kPendingFiles[i]), saved[i]);
    }
    void PutSlot(const std::vector<char>& slot) {
        FILE* game = std::fopen(demo.GamePath().c_str(), "r+b");
        ASSERT_NE(game, nullptr);
        ASSERT_EQ(fseeko(game, kSlotOffset, SEEK_SET), 0);
        ASSERT_EQ(std::fwrite(slot.data(), 1, slot.size(), game), slot.size());
        std::fclose(game);
    }

    DemoInstall demo;
    std::vector<char> oldSlot, newSlot;
    std::string saved[3];  // record, new slot, old slot
};

// The issue's own case: after a successful apply, the record and the old
// slot are back and the new slot is gone.
TEST_F(IntentLeftovers, ARecordWithoutTheNewSlotOverTheNewDatabaseIsFinished) {
    ASSERT_TRUE(RunDropedit(demo, "answer OK\n").Has(kCompleted));
    LeaveOnly({0, 2});
    ProgramRun run = RunDropedit(demo, "answer OK\ndump\n");
    EXPECT_EQ(run.Events("messagebox"), std::vector<std::string>{kCompleted}) << run.All();
    ExpectStartsInto(demo, run, "3", "1", "9");
    EXPECT_EQ(Slot(demo), newSlot);
}

TEST_F(IntentLeftovers, ARecordWithoutTheOldSlotOverTheNewDatabaseIsFinished) {
    LeaveOnly({0, 1});
    ProgramRun run = RunDropedit(demo, "answer OK\ndump\n");
    EXPECT_EQ(run.Events("messagebox"), std::vector<std::string>{kCompleted}) << run.All();
    ExpectStartsInto(demo, run, "3", "1", "9");
    EXPECT_EQ(Slot(demo), newSlot);
}

TEST_F(IntentLeftovers, ARecordWithoutTheOldSlotOverTheOldDatabaseWritesTheNewOne) {
    PutSlot(oldSlot);
    LeaveOnly({0, 1});
    ProgramRun run = RunDropedit(demo, "answer OK\ndump\n");
    EXPECT_EQ(run.Events("messagebox"), std::vector<std::string>{kCompleted}) << run.All();
    ExpectStartsInto(demo, run, "3", "1", "9");
    EXPECT_EQ(Slot(demo), newSlot);
}

TEST_F(IntentLeftovers, ARecordWithoutTheNewSlotOverTheOldDatabaseIsDropped) {
    PutSlot(oldSlot);
    LeaveOnly({0});
    ProgramRun run = RunDropedit(demo, "dump\n");
    EXPECT_TRUE(run.Events("messagebox").empty()) << run.All();
    ExpectStartsInto(demo, run, "2", "2", "5");
    EXPECT_EQ(Slot(demo), oldSlot);
}

// Half old, half new, and the new slot gone: nothing to finish it from, and
// nothing to tell a half-written slot from one changed behind the tool's
// back. Refused, and everything is left as it is.
TEST_F(IntentLeftovers, ARecordWithoutTheNewSlotOverAMixIsRefusedAsDamaged) {
    // The new slot with its first changed byte still old.
    std::vector<char> mix = newSlot;
    auto firstChange = std::mismatch(oldSlot.begin(), oldSlot.end(), newSlot.begin()).first;
    mix[static_cast<size_t>(firstChange - oldSlot.begin())] = *firstChange;
    ASSERT_NE(mix, oldSlot);
    ASSERT_NE(mix, newSlot);
    PutSlot(mix);
    LeaveOnly({0, 2});
    ProgramRun run = RunDropedit(demo, "");
    EXPECT_EQ(run.Events("messagebox"), std::vector<std::string>{kDamaged}) << run.All();
    EXPECT_TRUE(run.Events("show").empty()) << run.All();
    EXPECT_EQ(Slot(demo), mix);
    EXPECT_TRUE(Exists(InFolder(demo, kPendingFiles[0])));
    EXPECT_TRUE(Exists(InFolder(demo, kPendingFiles[2])));
}
