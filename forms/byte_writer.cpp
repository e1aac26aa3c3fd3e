// The writer of stored blocks.
#include "forms/byte_writer.h"

#include <cstring>

#include "forms/byte_reader.h"

void ByteWriter::Word32(Word value) {
    uint8_t bytes[4];
    StoreWord(bytes, value);
    bytes_.insert(bytes_.end(), bytes, bytes + 4);
}

void ByteWriter::Bytes(const void* data, uint32_t length) {
    const uint8_t* at = static_cast<const uint8_t*>(data);
    if (length != 0) bytes_.insert(bytes_.end(), at, at + length);
}

void ByteWriter::ZText(const std::string& text) {
    Bytes(text.c_str(), static_cast<uint32_t>(std::strlen(text.c_str())) + 1);
}

void ByteWriter::Counted(const void* data, uint32_t length) {
    Word32(length);
    Bytes(data, length);
}

void ByteWriter::PatchWord(uint32_t at, Word value) {
    StoreWord(bytes_.data() + at, value);
}
