// desk-only: files held with POSIX locks in a forked process, boxes read from the desk's transcript
// The write-back reached directly: the size guard's boundary, and the
// checks that keep a failed write from being reported as success.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/checksum.h"
#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/pending_write.h"
#include "app/program_texts.h"
#include "app/slot_record.h"
#include "platform/desk/kernel32/log.h"

namespace {

constexpr long long kGameSize = 653572248;
constexpr long long kOffset = 532160740;
constexpr long long kSlot = 2136068;

class WriteBack : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ::testing::TempDir() + "write_back_" + std::to_string(getpid());
        std::system(("rm -rf '" + folder_ + "' && mkdir -p '" + folder_ + "/PE_Client_Data'").c_str());
        ASSERT_EQ(getcwd(previous_, sizeof previous_) != nullptr, true);
        ASSERT_EQ(chdir(folder_.c_str()), 0);
        std::FILE* game = std::fopen("PE_Client_Data/resources.assets", "wb");
        ASSERT_NE(game, nullptr);
        ASSERT_EQ(ftruncate(fileno(game), kGameSize), 0);
        std::fclose(game);
        desk::SetLogPath(folder_ + "/log.jsonl");
        g_editor.game_file_path = kTexts.gamePath;
        g_editor.db_offset = kOffset;
        g_editor.expected_file_size = kGameSize;
        g_editor.db_length = kSlot;
        // The slot this run read at start-up: all zeros in a fresh sparse file.
        std::vector<char> zeros(static_cast<size_t>(kSlot), 0);
        g_editor.slot_checksum = Crc32(zeros.data(), static_cast<uint32_t>(kSlot));
        g_editor.start_checksum = g_editor.slot_checksum;
    }
    void TearDown() override {
        desk::SetLogPath("");
        ASSERT_EQ(chdir(previous_), 0);
        std::system(("rm -rf '" + folder_ + "'").c_str());
    }

    // A cache file of that many patterned bytes.
    static std::vector<char> WriteCache(long long length) {
        std::vector<char> bytes(static_cast<size_t>(length));
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 1);
        std::ofstream("pe.bin", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }

    static std::vector<char> ReadRange(const char* path, long long offset, long long length) {
        std::vector<char> bytes(static_cast<size_t>(length));
        std::ifstream in(path, std::ios::binary);
        in.seekg(offset);
        in.read(bytes.data(), length);
        bytes.resize(static_cast<size_t>(in.gcount()));
        return bytes;
    }

    std::string Transcript() const {
        std::ifstream in(folder_ + "/log.jsonl");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static long long SizeOf(const char* path) {
        struct stat st;
        return stat(path, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
    }

    std::string folder_;
    char previous_[4096];
};

}  // namespace

TEST_F(WriteBack, ACacheOfExactlyTheSlotsLengthIsWrittenWithNothingAppended) {
    std::vector<char> cache = WriteCache(kSlot);
    WriteBackDatabase();
    EXPECT_NE(Transcript().find(u8"\"title\":\"恭喜\",\"text\":\"修改成功\""), std::string::npos) << Transcript();
    EXPECT_EQ(SizeOf("pe.bin"), kSlot);
    EXPECT_EQ(ReadRange("PE_Client_Data/resources.assets", kOffset, kSlot), cache);
    EXPECT_EQ(SizeOf("PE_Client_Data/resources.assets"), kGameSize);
}

TEST_F(WriteBack, AShorterCacheIsPaddedWithZerosToTheSlot) {
    std::vector<char> cache = WriteCache(1000);
    WriteBackDatabase();
    EXPECT_EQ(SizeOf("pe.bin"), kSlot);
    std::vector<char> slot = ReadRange("PE_Client_Data/resources.assets", kOffset, kSlot);
    ASSERT_EQ(slot.size(), static_cast<size_t>(kSlot));
    EXPECT_TRUE(std::equal(cache.begin(), cache.end(), slot.begin()));
    EXPECT_EQ(std::count(slot.begin() + 1000, slot.end(), 0), kSlot - 1000);
}

TEST_F(WriteBack, OneByteLongerIsRefusedAndTheGameFileIsUntouched) {
    WriteCache(kSlot + 1);
    WriteBackDatabase();
    EXPECT_NE(Transcript().find(u8"\"title\":\"ERROR\",\"text\":\"修改冗余数据过多，您的版本不支持大数据，"
                                u8"可切换为075修正版再次尝试。\",\"flags\":8208"),
              std::string::npos)
        << Transcript();
    std::vector<char> slot = ReadRange("PE_Client_Data/resources.assets", kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
    EXPECT_EQ(SizeOf("pe.bin"), kSlot + 1) << "the cache keeps the updated database";
}

TEST_F(WriteBack, AGameFileHeldByAnotherProgramIsNotWrittenAndNotReportedAsSuccess) {
    WriteCache(kSlot);
    pid_t holder = fork();
    if (holder == 0) {
        int fd = open("PE_Client_Data/resources.assets", O_RDONLY);
        flock(fd, LOCK_EX);
        std::ofstream("held");
        sleep(20);
        _exit(0);
    }
    while (access("held", F_OK) != 0) usleep(10000);
    WriteBackDatabase();
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    std::string t = Transcript();
    EXPECT_NE(t.find(u8"写入游戏文件失败，请关闭游戏或其它占用游戏文件的软件后再试。"), std::string::npos) << t;
    EXPECT_EQ(t.find(u8"修改成功"), std::string::npos) << t;
}

TEST_F(WriteBack, AGameFileOfAnotherSizeIsNotWritten) {
    WriteCache(kSlot);
    ASSERT_EQ(truncate("PE_Client_Data/resources.assets", kGameSize + 1), 0);
    WriteBackDatabase();
    std::string t = Transcript();
    EXPECT_NE(t.find(u8"\"title\":\"ERROR\",\"text\":\"读取失败，请确保您当前游戏版本为0.751，"), std::string::npos) << t;
    EXPECT_NE(t.find(u8"\\r\\n\\r\\n错误代码:0*0E000001\""), std::string::npos) << t;
    EXPECT_EQ(t.find(u8"修改成功"), std::string::npos) << t;
    std::vector<char> slot = ReadRange("PE_Client_Data/resources.assets", kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
}

TEST_F(WriteBack, AfterTheWriteTheIntentIsGoneAndTheSlotAsItWasIsKept) {
    std::vector<char> cache = WriteCache(kSlot);
    WriteBackDatabase();
    for (const char* name : {kTexts.pendingRecordFile, kTexts.pendingNewFile, kTexts.pendingOldFile}) {
        EXPECT_EQ(SizeOf(name), -1) << name;
    }
    std::vector<char> kept = ReadRange(kTexts.originalSlotFile, 0, kSlot + 1);
    EXPECT_EQ(kept.size(), static_cast<size_t>(kSlot));
    EXPECT_EQ(std::count(kept.begin(), kept.end(), 0), kSlot) << "the slot before the write";
    EXPECT_EQ(g_editor.slot_checksum, Crc32(cache.data(), static_cast<uint32_t>(kSlot)))
        << "a second apply in the same run writes over what this one wrote";
}

TEST_F(WriteBack, ASlotChangedSinceStartUpIsNotWrittenOver) {
    WriteCache(kSlot);
    g_editor.slot_checksum ^= 1;
    WriteBackDatabase();
    std::string t = Transcript();
    EXPECT_NE(t.find(u8"游戏文件在本工具开启后被改动过，未写入。请重新开启本软件后再修改。"), std::string::npos) << t;
    EXPECT_EQ(t.find(u8"修改成功"), std::string::npos) << t;
    std::vector<char> slot = ReadRange("PE_Client_Data/resources.assets", kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
    EXPECT_EQ(SizeOf(kTexts.originalSlotFile), -1) << "nothing is kept from a slot this run never read";
}

TEST_F(WriteBack, AFolderThatTakesNoFilesStopsTheWriteBeforeTheGameFile) {
    WriteCache(kSlot);
    // A folder where the intent record would go: it cannot be created.
    ASSERT_EQ(mkdir(kTexts.pendingRecordFile, 0755), 0);
    WriteBackDatabase();
    std::string t = Transcript();
    EXPECT_NE(t.find(u8"无法在本工具目录中保存原始数据或写入记录，游戏文件未被修改。请确认目录可写且磁盘空间充足。"),
              std::string::npos)
        << t;
    std::vector<char> slot = ReadRange("PE_Client_Data/resources.assets", kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
    // The slot files go only once the record's name is surely free: while
    // something holds it, a start needs the old slot to see that the game
    // file was never touched.
    EXPECT_EQ(SizeOf(kTexts.pendingNewFile), kSlot);
    EXPECT_EQ(SizeOf(kTexts.pendingOldFile), kSlot);
    ASSERT_EQ(rmdir(kTexts.pendingRecordFile), 0);
    EXPECT_TRUE(FinishPendingWrite()) << Transcript();
    EXPECT_EQ(SizeOf(kTexts.pendingNewFile), -1);
    EXPECT_EQ(SizeOf(kTexts.pendingOldFile), -1);
}

TEST_F(WriteBack, AnOriginalKeptAfterTheStartUpSlotHasNoValuesToTypeBack) {
    WriteCache(kSlot);
    g_editor.meat_multiplier = 2;
    g_editor.item_multiplier = 2;
    // The slot written over is not the one the window's values came from.
    g_editor.start_checksum ^= 1;
    WriteBackDatabase();
    std::vector<char> bytes = ReadRange(kTexts.originalRecordFile, 0, 4096);
    std::string record(bytes.begin(), bytes.end());
    EXPECT_NE(record.find("\r\ncrc32="), std::string::npos) << record;
    EXPECT_EQ(record.find("meat="), std::string::npos) << record;
    EXPECT_EQ(SizeOf(kTexts.originalSlotFile), kSlot);
}
