// Record files and their checksum: a whole record reads back its values; a
// record cut short or changed in any byte reads as no record.
#include "app/slot_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/checksum.h"
#include "app/program_calls.h"
#include "app/tool_files.h"
#include "runtime/value.h"

namespace {

std::string Bytes(const void* byteSet) {
    return std::string(reinterpret_cast<const char*>(ByteSetData(byteSet)),
                       static_cast<size_t>(ByteSetLength(byteSet)));
}

void* Sealed() {
    RecordBuilder record;
    record.Note("a line for the player");
    record.Field("size=", int64_t{653572248});
    record.Field("kettle=", "5");
    record.Crc("old=", 0xCBF43926u);
    return record.Seal();
}

}  // namespace

TEST(Checksum, IsTheCrc32ThatZipToolsShow) {
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
    char text[9];
    Crc32Text(0x0000ABCDu, text);
    EXPECT_STREQ(text, "0000ABCD");
}

TEST(SlotRecord, AWholeRecordGivesBackItsLinesAndEndsInItsCheck) {
    void* record = Sealed();
    std::string text = Bytes(record);
    EXPECT_EQ(text.substr(0, 48), "a line for the player\r\nsize=653572248\r\nkettle=5\r");
    std::string body = text.substr(0, text.size() - std::strlen("check=XXXXXXXX\r\n"));
    char crc[9];
    Crc32Text(Crc32(body.data(), static_cast<uint32_t>(body.size())), crc);
    EXPECT_EQ(text.substr(body.size()), std::string("check=") + crc + "\r\n");
    EXPECT_TRUE(RecordIsSealed(record));
    EXPECT_TRUE(RecordHas(record, "size=", int64_t{653572248}));
    EXPECT_FALSE(RecordHas(record, "size=", int64_t{653572249}));
    EXPECT_TRUE(RecordHas(record, "kettle=", "5"));
    EXPECT_TRUE(RecordHasCrc(record, "old=", 0xCBF43926u));
    EXPECT_FALSE(RecordHas(record, "meat=", "5")) << "no such line";
    EXPECT_FALSE(RecordHas(record, "ettle=", "5")) << "keys start their line";
    ProgramRelease(record);
}

TEST(SlotRecord, ACutOrChangedRecordIsNoRecord) {
    void* record = Sealed();
    std::string text = Bytes(record);
    for (size_t length : {size_t{0}, size_t{10}, text.size() - 3, text.size() - 1}) {
        void* cut = NewByteSet(text.data(), static_cast<uint32_t>(length));
        EXPECT_FALSE(RecordIsSealed(cut)) << length;
        EXPECT_EQ(RecordValue(cut, "size="), nullptr);
        ProgramRelease(cut);
    }
    for (size_t at : {size_t{0}, size_t{30}, text.size() - 5}) {
        std::string changed = text;
        changed[at] ^= 1;
        void* damaged = NewByteSet(changed.data(), static_cast<uint32_t>(changed.size()));
        EXPECT_FALSE(RecordIsSealed(damaged)) << at;
        ProgramRelease(damaged);
    }
    EXPECT_FALSE(RecordIsSealed(nullptr));
    ProgramRelease(record);
}
