// The write-back reached directly: the size guard's boundary, and the
// checks that keep a failed write from being reported as success.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/checksum.h"
#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/pending_write.h"
#include "app/program_texts.h"
#include "platform/win32.h"
#include "write_back_fixture.h"

using namespace writeback;

TEST_F(WriteBack, ACacheOfExactlyTheSlotsLengthIsWrittenWithNothingAppended) {
    std::vector<char> cache = WriteCache(kSlot);
    WriteBackDatabase();
    std::vector<seenboxes::Box> boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 1u) << Shown();
    EXPECT_EQ(boxes[0].title, "恭喜");
    EXPECT_EQ(boxes[0].text, "修改成功");
    EXPECT_EQ(SizeOf("pe.bin"), kSlot);
    EXPECT_EQ(ReadRange(kGameFile, kOffset, kSlot), cache);
    EXPECT_EQ(SizeOf(kGameFile), kGameSize);
}

TEST_F(WriteBack, AShorterCacheIsPaddedWithZerosToTheSlot) {
    std::vector<char> cache = WriteCache(1000);
    WriteBackDatabase();
    EXPECT_EQ(SizeOf("pe.bin"), kSlot);
    std::vector<char> slot = ReadRange(kGameFile, kOffset, kSlot);
    ASSERT_EQ(slot.size(), static_cast<size_t>(kSlot));
    EXPECT_TRUE(std::equal(cache.begin(), cache.end(), slot.begin()));
    EXPECT_EQ(std::count(slot.begin() + 1000, slot.end(), 0), kSlot - 1000);
}

TEST_F(WriteBack, OneByteLongerIsRefusedAndTheGameFileIsUntouched) {
    WriteCache(kSlot + 1);
    WriteBackDatabase();
    std::vector<seenboxes::Box> boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 1u) << Shown();
    EXPECT_EQ(boxes[0].title, "ERROR");
    EXPECT_EQ(boxes[0].text, "修改冗余数据过多，您的版本不支持大数据，可切换为075修正版再次尝试。");
    EXPECT_EQ(boxes[0].flags, 8208u);
    std::vector<char> slot = ReadRange(kGameFile, kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
    EXPECT_EQ(SizeOf("pe.bin"), kSlot + 1) << "the cache keeps the updated database";
}

TEST_F(WriteBack, AGameFileHeldWithoutSharingIsNotWrittenAndNotReportedAsSuccess) {
    WriteCache(kSlot);
    // A game that runs holds its file so; an open that shares nothing
    // refuses every other open, in this process as in any other.
    HANDLE held = CreateFileA(kGameFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    WriteBackDatabase();
    CloseHandle(held);
    EXPECT_TRUE(ShowedText("写入游戏文件失败，请关闭游戏或其它占用游戏文件的软件后再试。"))
        << Shown();
    EXPECT_FALSE(ShowedText("修改成功")) << Shown();
    std::vector<char> slot = ReadRange(kGameFile, kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
}

TEST_F(WriteBack, AGameFileOfAnotherSizeIsNotWritten) {
    WriteCache(kSlot);
    GrowTo(kGameFile, kGameSize + 1);
    WriteBackDatabase();
    std::vector<seenboxes::Box> boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 1u) << Shown();
    EXPECT_EQ(boxes[0].title, "ERROR");
    EXPECT_EQ(boxes[0].text.find("读取失败，请确保您当前游戏版本为0.751，"), 0u) << Shown();
    const std::string code = "\r\n\r\n错误代码:0*0E000001";
    ASSERT_GE(boxes[0].text.size(), code.size());
    EXPECT_EQ(boxes[0].text.substr(boxes[0].text.size() - code.size()), code) << Shown();
    std::vector<char> slot = ReadRange(kGameFile, kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
}

TEST_F(WriteBack, AfterTheWriteTheIntentIsGoneAndTheSlotAsItWasIsKept) {
    std::vector<char> cache = WriteCache(kSlot);
    WriteBackDatabase();
    for (const char* name :
         {kTexts.pendingRecordFile, kTexts.pendingNewFile, kTexts.pendingOldFile}) {
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
    EXPECT_TRUE(ShowedText("游戏文件在本工具开启后被改动过，未写入。请重新开启本软件后再修改。"))
        << Shown();
    EXPECT_FALSE(ShowedText("修改成功")) << Shown();
    std::vector<char> slot = ReadRange(kGameFile, kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
    EXPECT_EQ(SizeOf(kTexts.originalSlotFile), -1)
        << "nothing is kept from a slot this run never read";
}

TEST_F(WriteBack, AFolderThatTakesNoFilesStopsTheWriteBeforeTheGameFile) {
    WriteCache(kSlot);
    // A folder where the intent record would go: it cannot be created.
    ASSERT_TRUE(std::filesystem::create_directory(kTexts.pendingRecordFile));
    WriteBackDatabase();
    EXPECT_TRUE(
        ShowedText("无法在本工具目录中保存原始数据或写入记录，游戏文件未被修改。"
                   "请确认目录可写且磁盘空间充足。"))
        << Shown();
    std::vector<char> slot = ReadRange(kGameFile, kOffset, kSlot);
    EXPECT_EQ(std::count(slot.begin(), slot.end(), 0), kSlot);
    // The slot files go only once the record's name is surely free: while
    // something holds it, a start needs the old slot to see that the game
    // file was never touched.
    EXPECT_EQ(SizeOf(kTexts.pendingNewFile), kSlot);
    EXPECT_EQ(SizeOf(kTexts.pendingOldFile), kSlot);
    ASSERT_TRUE(std::filesystem::remove(kTexts.pendingRecordFile));
    EXPECT_TRUE(FinishPendingWrite()) << Shown();
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
