// desk-only: the desk's power-cut fault injection
// The power cut's record on real files: what each outcome leaves of writes
// since a file's flush and of creations and removals since a folder's flush.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/desk/kernel32/power_cut_record.h"

namespace {

using desk::CutOutcome;
using desk::PowerCutRecord;

// A fresh folder, by its real path as the record knows folders.
std::string NewFolder() {
    char pattern[] = "/tmp/power_cut_XXXXXX";
    const char* made = mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    std::string inside = desk::CanonicalPath(std::string(made) + "/x");
    return inside.substr(0, inside.size() - 2);
}

const char kAbsent[] = "<absent>";

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return kAbsent;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The program's write, announced to the record first.
void Write(PowerCutRecord& record, const std::string& path, off_t offset, const std::string& bytes) {
    record.WillWrite(path, offset, bytes.size());
    int fd = open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size()));
    close(fd);
}

void Create(PowerCutRecord& record, const std::string& path) {
    Put(path, "");
    record.Created(path);
}

void Remove(PowerCutRecord& record, const std::string& path) {
    record.WillDelete(path);
    ASSERT_EQ(unlink(path.c_str()), 0);
}

}  // namespace

TEST(PowerCutRecord, UnflushedWritesAndTruncationsAreUndoneExactlyAndFlushedOnesStay) {
    std::string folder = NewFolder();
    std::string file = folder + "/data";
    Put(file, "AAAAAAAA");
    PowerCutRecord record;
    Write(record, file, 2, "bb");
    record.Flushed(file);
    Write(record, file, 6, "cccc");  // past the end: the file grows
    record.WillTruncate(file, 3);
    ASSERT_EQ(truncate(file.c_str(), 3), 0);
    Write(record, file, 1, "d");
    ASSERT_EQ(record.UnflushedWrites(file), 3u);
    record.Leave(CutOutcome::kLoseAll, 0);
    EXPECT_EQ(Content(file), "AAbbAAAA");
}

TEST(PowerCutRecord, SomeWritesKeepsAPrefixOfEachFilesWritesAndEveryPrefixOccurs) {
    std::set<std::string> seen;
    for (uint32_t seed = 0; seed < 40; ++seed) {
        std::string file = NewFolder() + "/data";
        Put(file, "....");
        PowerCutRecord record;
        Write(record, file, 0, "1");
        Write(record, file, 1, "2");
        Write(record, file, 4, "33");
        record.Leave(CutOutcome::kKeepSomeWrites, seed);
        std::string left = Content(file);
        EXPECT_TRUE(left == "...." || left == "1..." || left == "12.." || left == "12..33") << left;
        seen.insert(left);
    }
    EXPECT_EQ(seen.size(), 4u);
}

TEST(PowerCutRecord, CreationsAndRemovalsLastOnlyOnceTheirFolderIsFlushed) {
    std::string folder = NewFolder();
    std::string made = folder + "/made", gone = folder + "/gone", early = folder + "/early";
    Put(gone, "kept bytes");
    Put(early, "early");
    PowerCutRecord record;
    Remove(record, early);
    record.FolderFlushed(folder);
    Create(record, made);
    Write(record, made, 0, "new");
    Remove(record, gone);
    EXPECT_EQ(record.UnflushedNames(), 2u);
    record.Leave(CutOutcome::kLoseAll, 0);
    EXPECT_EQ(Content(made), kAbsent);
    EXPECT_EQ(Content(gone), "kept bytes");
    EXPECT_EQ(Content(early), kAbsent);

    // A plain crash keeps all of it.
    folder = NewFolder();
    made = folder + "/made";
    gone = folder + "/gone";
    Put(gone, "kept bytes");
    PowerCutRecord crash;
    Create(crash, made);
    Write(crash, made, 0, "new");
    Remove(crash, gone);
    crash.Leave(CutOutcome::kKeepAll, 0);
    EXPECT_EQ(Content(made), "new");
    EXPECT_EQ(Content(gone), kAbsent);
}

// Two removals in program order: any of the four results, the later one
// kept without the earlier among them.
TEST(PowerCutRecord, SomeNamesKeepsRemovalsInAnyOrder) {
    std::set<std::string> seen;
    for (uint32_t seed = 0; seed < 40; ++seed) {
        std::string folder = NewFolder();
        Put(folder + "/first", "1");
        Put(folder + "/second", "2");
        PowerCutRecord record;
        Remove(record, folder + "/first");
        Remove(record, folder + "/second");
        record.Leave(CutOutcome::kKeepSomeNames, seed);
        seen.insert(Content(folder + "/first") + "," + Content(folder + "/second"));
    }
    EXPECT_EQ(seen.count(std::string("1,") + kAbsent), 1u);
    EXPECT_EQ(seen.count(std::string(kAbsent) + ",2"), 1u);
    EXPECT_EQ(seen.size(), 4u);
}

// A file removed and made again under the same name (the cache at every
// start): the name comes back with what the file held at each step.
TEST(PowerCutRecord, ANameRemovedAndMadeAgainComesBackAsOneOfItsFiles) {
    std::set<std::string> seen;
    for (uint32_t seed = 0; seed < 60; ++seed) {
        std::string file = NewFolder() + "/cache";
        Put(file, "old");
        PowerCutRecord record;
        Write(record, file, 0, "OLD");
        Remove(record, file);
        Create(record, file);
        Write(record, file, 0, "new");
        record.Leave(CutOutcome::kKeepSome, seed);
        std::string left = Content(file);
        EXPECT_TRUE(left == "old" || left == "OLD" || left == kAbsent || left == "" || left == "new")
            << left;
        seen.insert(left);
    }
    EXPECT_EQ(seen.size(), 5u);
    std::string file = NewFolder() + "/cache";
    Put(file, "old");
    PowerCutRecord record;
    Remove(record, file);
    Create(record, file);
    Write(record, file, 0, "new");
    record.Leave(CutOutcome::kLoseAll, 0);
    EXPECT_EQ(Content(file), "old");
}
