// Building and reading record files. Values are compared as the texts the
// program writes, so that reading never has to parse more than it wrote.
#include "app/slot_record.h"

#include <cstring>

#include "app/checksum.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"
#include "app/tool_files.h"

namespace {

char* IntText(int64_t value) {
    return FromWord<char>(CallCore(kCmdToText, {MakeInt(static_cast<int32_t>(value))}).low);
}

// The record's bytes before the check line, and whether that line holds
// their checksum. The check line is the last line of the record.
bool Sealed(const void* record, uint32_t* bodyLength) {
    int32_t length = ByteSetLength(record);
    const char* key = kTexts.recordCheck;
    uint32_t keyLength = static_cast<uint32_t>(std::strlen(key));
    uint32_t lineLength = keyLength + 8 + 2;  // key, eight hex digits, CR LF
    if (length < static_cast<int32_t>(lineLength)) return false;
    const char* bytes = reinterpret_cast<const char*>(ByteSetData(record));
    uint32_t body = static_cast<uint32_t>(length) - lineLength;
    if (body > 0 && bytes[body - 1] != '\n') return false;
    const char* line = bytes + body;
    if (std::memcmp(line, key, keyLength) != 0 || line[lineLength - 2] != '\r' ||
        line[lineLength - 1] != '\n') {
        return false;
    }
    char expected[9];
    Crc32Text(Crc32(bytes, body), expected);
    if (std::memcmp(line + keyLength, expected, 8) != 0) return false;
    *bodyLength = body;
    return true;
}

}  // namespace

RecordBuilder::~RecordBuilder() {
    ProgramRelease(text_);
}

void RecordBuilder::Add(const char* a, const char* b) {
    LineEnd end;
    char* joined = JoinTexts({text_, a, b, end.cr, end.lf});
    ProgramRelease(text_);
    text_ = joined;
}

void RecordBuilder::Note(const char* text) {
    Add(text, nullptr);
}

void RecordBuilder::Field(const char* key, const char* value) {
    Add(key, value);
}

void RecordBuilder::Field(const char* key, int64_t value) {
    char* text = IntText(value);
    Add(key, text);
    ProgramRelease(text);
}

void RecordBuilder::Crc(const char* key, uint32_t crc) {
    char text[9];
    Crc32Text(crc, text);
    Add(key, text);
}

void* RecordBuilder::Seal() const {
    const char* body = text_ != nullptr ? text_ : "";
    char crc[9];
    Crc32Text(Crc32(body, static_cast<uint32_t>(std::strlen(body))), crc);
    LineEnd end;
    char* sealed = JoinTexts({body, kTexts.recordCheck, crc, end.cr, end.lf});
    void* bytes = TextByteSet(sealed);
    ProgramRelease(sealed);
    return bytes;
}

bool RecordIsSealed(const void* record) {
    uint32_t body = 0;
    return Sealed(record, &body);
}

char* RecordValue(const void* record, const char* key) {
    uint32_t body = 0;
    if (!Sealed(record, &body)) return nullptr;
    const char* bytes = reinterpret_cast<const char*>(ByteSetData(record));
    size_t keyLength = std::strlen(key);
    for (uint32_t start = 0; start < body;) {
        const char* line = bytes + start;
        const char* end = static_cast<const char*>(std::memchr(line, '\n', body - start));
        uint32_t lineLength = static_cast<uint32_t>(end - line) + 1;
        // Lines end in CR LF; the value is what lies between the key and CR.
        if (lineLength >= keyLength + 2 && std::memcmp(line, key, keyLength) == 0 &&
            end[-1] == '\r') {
            uint32_t valueLength = lineLength - static_cast<uint32_t>(keyLength) - 2;
            char* value = static_cast<char*>(ProgramAllocate(valueLength + 1));
            std::memcpy(value, line + keyLength, valueLength);
            value[valueLength] = '\0';
            return value;
        }
        start += lineLength;
    }
    return nullptr;
}

bool RecordHas(const void* record, const char* key, const char* value) {
    char* found = RecordValue(record, key);
    bool same = found != nullptr && std::strcmp(found, value != nullptr ? value : "") == 0;
    ProgramRelease(found);
    return same;
}

bool RecordHas(const void* record, const char* key, int64_t value) {
    char* text = IntText(value);
    bool same = RecordHas(record, key, text);
    ProgramRelease(text);
    return same;
}

bool RecordHasCrc(const void* record, const char* key, uint32_t crc) {
    char text[9];
    Crc32Text(crc, text);
    return RecordHas(record, key, text);
}
