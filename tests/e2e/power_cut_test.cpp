// The real dropedit cut off by the desk's power cut (DESK_POWER_CUT) after
// each file operation of a first apply, a second apply and a start that
// finishes an interrupted apply, with the folder left as the cut leaves it
// (unflushed work lost, kept, kept in part, names kept out of order), then
// started again. Every state must start into the window with the database
// the slot holds, exactly the old or the new one, change nothing outside the
// slot, keep the kept original once it was on the disk, and leave nothing
// for a second start to do.
//
// Each state costs three program starts, so the states are sampled with a
// fixed seed; POWER_CUT_STATES=N sets how many a scenario runs (0: all).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "demo_install.h"
#include "write_back_files.h"

namespace {

constexpr int kRows = 60;
constexpr size_t kStatesPerScenario = 36;
const char* const kOutcomes[] = {"lose-all", "keep-all", "keep-some-writes", "keep-some-names",
                                 "keep-some"};
const char kFirstApply[] =
    "clear 100\ntype 100 3\nclear 140\ntype 140 1\nclear 200\ntype 200 9\nclick 160\n";
const char kSecondApply[] =
    "clear 100\ntype 100 4\nclear 140\ntype 140 2\nclear 200\ntype 200 8\nclick 160\n";
const std::string kCompleted =
    u8"{\"event\":\"messagebox\",\"title\":\"恭喜\",\"text\":\"上次被中断的修改已补全。\","
    u8"\"flags\":8192,\"answer\":\"OK\"}";

struct Values {
    std::string meat, item, kettle;
};

std::vector<char> Slot(const DemoInstall& demo) {
    return ReadFileRange(demo.GamePath(), kSlotOffset, kSlotLength);
}

// Every file of the tool's folder by name (the game file lies below it).
std::map<std::string, std::string> ToolFiles(const DemoInstall& demo) {
    std::map<std::string, std::string> files;
    DIR* dir = opendir(demo.folder.c_str());
    if (dir == nullptr) return files;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || name == "PE_Client_Data") continue;
        files[name] = ReadText(InFolder(demo, name));
    }
    closedir(dir);
    return files;
}

void Shell(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

DemoInstall CopyOf(const DemoInstall& from, const std::string& name) {
    DemoInstall copy{MakeTempFolder(name)};
    Shell("cp -a --sparse=always '" + from.folder + "/.' '" + copy.folder + "/'");
    return copy;
}

bool ShowsValues(const ProgramRun& run, const Values& values) {
    std::vector<std::string> dumps = run.Events("dump");
    if (dumps.size() != 1) return false;
    auto box = [&](int id, const std::string& text) {
        return dumps[0].find("\"id\":" + std::to_string(id) + ",\"class\":\"EDIT\",\"text\":\"" +
                             text + "\"") != std::string::npos;
    };
    return box(100, values.meat) && box(140, values.item) && box(200, values.kettle);
}

ProgramRun Run(const DemoInstall& demo, const std::string& script, const std::string& cut) {
    ProgramLaunch launch;
    launch.binary = demo.ProgramPath();
    launch.script = script;
    launch.env["DESK_POWER_CUT"] = cut;
    return RunProgramBinary(launch);
}

struct Operation {
    std::string kind, file;
};

// A scenario: a folder to start from, the run that is cut, and what the
// slot and the window may be afterwards.
struct Scenario {
    std::string name;
    DemoInstall start;
    std::string script;
    std::vector<char> oldSlot, newSlot;
    Values oldValues, newValues;
    // The kept original as the uncut run leaves it, and the operation from
    // which on it is on the disk (0: before the run).
    std::string originalSlot, originalRecord;
    size_t originalDurableAfter = 0;
    std::vector<Operation> operations;
};

// Runs the scenario uncut, counting its operations, and takes what it ends
// with as the new state.
void Count(Scenario& s) {
    DemoInstall demo = CopyOf(s.start, s.name + "_count");
    if (s.oldSlot.empty()) s.oldSlot = Slot(demo);
    ProgramRun run = Run(demo, s.script, "count");
    ASSERT_EQ(run.exitStatus, 0) << run.All();
    for (const std::string& line : run.Events("file-op")) {
        auto field = [&](const std::string& key) {
            size_t at = line.find("\"" + key + "\":\"") + key.size() + 4;
            return line.substr(at, line.find('"', at) - at);
        };
        s.operations.push_back(Operation{field("op"), field("file")});
    }
    ASSERT_FALSE(s.operations.empty()) << run.All();
    s.newSlot = Slot(demo);
    ASSERT_NE(s.newSlot, s.oldSlot);
    s.originalSlot = ReadText(InFolder(demo, kOriginalSlotFile));
    s.originalRecord = ReadText(InFolder(demo, kOriginalRecordFile));
    ASSERT_FALSE(s.originalRecord.empty());
    if (!Exists(InFolder(s.start, kOriginalRecordFile))) {
        // Made in this run: on the disk once the record is flushed and then
        // its folder.
        bool recordFlushed = false;
        for (size_t i = 0; i < s.operations.size() && s.originalDurableAfter == 0; ++i) {
            const Operation& op = s.operations[i];
            if (op.kind == "flush" && op.file == kOriginalRecordFile) recordFlushed = true;
            if (recordFlushed && op.kind == "flush-folder") s.originalDurableAfter = i + 1;
        }
        ASSERT_GT(s.originalDurableAfter, 0u);
    }
    Shell("rm -rf '" + demo.folder + "'");
}

struct State {
    size_t at;  // cut after this operation (from 1)
    std::string outcome;
};

// All states, or a fixed-seed sample: half cut after a write, half after a
// flush, creation, removal or truncation, whose orders are what the
// write-back's safety rests on.
std::vector<State> ChooseStates(const Scenario& s) {
    std::vector<State> writes, others;
    for (size_t i = 0; i < s.operations.size(); ++i) {
        for (const char* outcome : kOutcomes) {
            (s.operations[i].kind == "write" ? writes : others).push_back(State{i + 1, outcome});
        }
    }
    size_t budget = kStatesPerScenario;
    if (const char* text = std::getenv("POWER_CUT_STATES")) budget = std::strtoul(text, nullptr, 10);
    std::vector<State> chosen;
    if (budget == 0 || budget >= writes.size() + others.size()) {
        chosen = others;
        chosen.insert(chosen.end(), writes.begin(), writes.end());
        return chosen;
    }
    std::mt19937 draw(23);
    std::shuffle(writes.begin(), writes.end(), draw);
    std::shuffle(others.begin(), others.end(), draw);
    size_t fromOthers = std::min(others.size(), budget - std::min(writes.size(), budget / 2));
    chosen.assign(others.begin(), others.begin() + fromOthers);
    chosen.insert(chosen.end(), writes.begin(), writes.begin() + (budget - fromOthers));
    return chosen;
}

void CutAndRestart(const Scenario& s, const State& state, const std::vector<char>& outside) {
    const Operation& op = s.operations[state.at - 1];
    SCOPED_TRACE(s.name + ": cut after operation " + std::to_string(state.at) + " (" + op.kind +
                 " " + op.file + "), " + state.outcome);
    DemoInstall demo = CopyOf(s.start, s.name + "_state");
    std::string seed = std::to_string(state.at * 7919 + 1);
    ProgramRun cut = Run(demo, s.script, std::to_string(state.at) + ":" + state.outcome + ":" + seed);
    ASSERT_EQ(cut.exitStatus, -1) << "the cut must end the program\n" << cut.All();

    ProgramRun again = RunDropedit(demo, "answer OK\ndump\n");
    EXPECT_EQ(again.exitStatus, 0) << again.All();
    EXPECT_FALSE(again.Events("show").empty()) << again.All();
    for (const std::string& box : again.Events("messagebox")) EXPECT_EQ(box, kCompleted);
    std::vector<char> slot = Slot(demo);
    bool isNew = slot == s.newSlot;
    EXPECT_TRUE(isNew || slot == s.oldSlot) << "the slot is neither database";
    EXPECT_TRUE(ShowsValues(again, isNew ? s.newValues : s.oldValues)) << again.All();
    EXPECT_EQ(FileSize(demo.GamePath()), kGameFileSize);
    EXPECT_EQ(Outside(demo), outside);
    if (state.at >= s.originalDurableAfter) {
        EXPECT_EQ(ReadText(InFolder(demo, kOriginalSlotFile)), s.originalSlot);
        EXPECT_EQ(ReadText(InFolder(demo, kOriginalRecordFile)), s.originalRecord);
    }

    std::map<std::string, std::string> files = ToolFiles(demo);
    ProgramRun second = RunDropedit(demo, "dump\n");
    EXPECT_EQ(second.exitStatus, 0) << second.All();
    EXPECT_TRUE(second.Events("messagebox").empty()) << second.All();
    EXPECT_TRUE(ShowsValues(second, isNew ? s.newValues : s.oldValues)) << second.All();
    EXPECT_EQ(Slot(demo), slot);
    EXPECT_TRUE(ToolFiles(demo) == files) << "the second start changed the tool's files";
    if (!::testing::Test::HasFailure()) Shell("rm -rf '" + demo.folder + "'");
}

void Walk(Scenario& s) {
    MarkOutsideTheSlot(s.start);
    std::vector<char> outside = Outside(s.start);
    Count(s);
    if (::testing::Test::HasFatalFailure()) return;
    std::vector<State> states = ChooseStates(s);
    std::printf("[ power cut ] %s: %zu operations, %zu of %zu states\n", s.name.c_str(),
                s.operations.size(), states.size(), s.operations.size() * 5);
    ::testing::Test::RecordProperty("operations", static_cast<int>(s.operations.size()));
    ::testing::Test::RecordProperty("states", static_cast<int>(states.size()));
    for (const State& state : states) {
        CutAndRestart(s, state, outside);
        if (::testing::Test::HasFailure()) return;  // the first failing state is the one to read
    }
}

const Values kDemoValues{"2", "2", "5"};
const Values kFirstValues{"3", "1", "9"};
const Values kSecondValues{"4", "2", "8"};

}  // namespace

TEST(DropeditPowerCut, EveryCutOfAFirstApplyRestartsCleanly) {
    Scenario s;
    s.name = "first";
    s.start = MakeDemoInstall("power_first", kRows);
    s.script = kFirstApply;
    s.oldValues = kDemoValues;
    s.newValues = kFirstValues;
    Walk(s);
}

TEST(DropeditPowerCut, EveryCutOfASecondApplyRestartsCleanly) {
    Scenario s;
    s.name = "second";
    s.start = MakeDemoInstall("power_second", kRows);
    s.script = kSecondApply;
    ASSERT_EQ(RunDropedit(s.start, kFirstApply).exitStatus, 0);
    s.oldValues = kFirstValues;
    s.newValues = kSecondValues;
    Walk(s);
}

// The apply killed half way through writing the slot leaves a mix and the
// intent for the next start to finish; that start is the run that is cut.
TEST(DropeditPowerCut, EveryCutOfAFinishingStartRestartsCleanly) {
    Scenario s;
    s.name = "finish";
    s.start = MakeDemoInstall("power_finish", kRows);
    s.script = "answer OK\ndump\n";
    s.oldSlot = Slot(s.start);
    ProgramLaunch launch;
    launch.binary = s.start.ProgramPath();
    launch.script = kFirstApply;
    launch.env["DESK_FAULT"] = "crash-write:resources.assets:" + std::to_string(kSlotLength / 2);
    ASSERT_EQ(RunProgramBinary(launch).exitStatus, -1);
    ASSERT_TRUE(Exists(InFolder(s.start, kPendingFiles[0])));
    s.oldValues = kDemoValues;
    s.newValues = kFirstValues;
    Walk(s);
}
