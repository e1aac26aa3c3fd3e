// The bounded reader of stored blocks.
#include "forms/byte_reader.h"

#include <cstring>

const uint8_t* ByteReader::Take(uint32_t n) {
    if (failed_ || n > length_ - position_) {
        Fail();
        return nullptr;
    }
    const uint8_t* at = data_ + position_;
    position_ += n;
    return at;
}

Word ByteReader::ReadWord() {
    const uint8_t* at = Take(4);
    return at != nullptr ? LoadWord(at) : 0;
}

std::string ByteReader::ReadZText() {
    if (failed_ || position_ == length_) {
        Fail();
        return std::string();
    }
    const uint8_t* start = data_ + position_;
    const void* zero = std::memchr(start, 0, length_ - position_);
    if (zero == nullptr) {
        Fail();
        return std::string();
    }
    uint32_t n = static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - start);
    position_ += n + 1;
    return std::string(reinterpret_cast<const char*>(start), n);
}

std::string ByteReader::ReadCountedText() {
    Word n = ReadWord();
    const uint8_t* at = Take(n);
    return Ok() && n != 0 ? std::string(reinterpret_cast<const char*>(at), n) : std::string();
}

std::vector<uint8_t> ByteReader::ReadByteSet() {
    Word n = ReadWord();
    const uint8_t* at = Take(n);
    return Ok() && n != 0 ? std::vector<uint8_t>(at, at + n) : std::vector<uint8_t>();
}

void ByteReader::SkipZText() {
    if (failed_ || position_ == length_) {
        Fail();
        return;
    }
    const void* zero = std::memchr(data_ + position_, 0, length_ - position_);
    if (zero == nullptr) {
        Fail();
        return;
    }
    position_ = static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - data_) + 1;
}

void ByteReader::SkipCounted() {
    Take(ReadWord());
}

Word LoadWord(const uint8_t* at) {
    Word value;
    std::memcpy(&value, at, 4);
    return value;
}

void StoreWord(uint8_t* at, Word value) {
    std::memcpy(at, &value, 4);
}
