// Record files: short texts of "key=value" lines ending in CR LF, closed by
// a check line that holds the CRC-32 of every byte before it. A record cut
// short by a crash, or damaged later, fails that check and is read as no
// record at all.
#pragma once

#include <cstdint>

class RecordBuilder {
  public:
    RecordBuilder() = default;
    ~RecordBuilder();
    RecordBuilder(const RecordBuilder&) = delete;
    RecordBuilder& operator=(const RecordBuilder&) = delete;

    // A line for the player to read; the program never looks at it.
    void Note(const char* text);
    // "key=" and its value on one line.
    void Field(const char* key, const char* value);
    void Field(const char* key, int64_t value);
    void Crc(const char* key, uint32_t crc);
    // A new byte set: the lines so far and the check line over them.
    void* Seal() const;

  private:
    void Add(const char* a, const char* b);
    char* text_ = nullptr;  // runtime heap text
};

bool RecordIsSealed(const void* record);
// The value of a "key=" line of a sealed record as a new text; null when the
// record is not sealed or has no such line.
char* RecordValue(const void* record, const char* key);
// True when the sealed record's "key=" line holds exactly that value.
bool RecordHas(const void* record, const char* key, const char* value);
bool RecordHas(const void* record, const char* key, int64_t value);
bool RecordHasCrc(const void* record, const char* key, uint32_t crc);
