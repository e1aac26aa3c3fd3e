// Bounded little-endian reading of the template segment and its property
// blocks. Every read checks the bytes left before it touches them; after the
// first failed read the reader stays failed and answers zeros and empties, so
// a caller reads a whole layout and checks Ok() once at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/abi.h"

class ByteReader {
  public:
    ByteReader(const uint8_t* data, uint32_t length) : data_(data), length_(length) {}

    bool Ok() const { return !failed_; }
    uint32_t Position() const { return position_; }
    uint32_t Remaining() const { return failed_ ? 0 : length_ - position_; }

    // The next n bytes, or null (and failed) when fewer are left.
    const uint8_t* Take(uint32_t n);
    Word ReadWord();
    int32_t ReadInt() { return static_cast<int32_t>(ReadWord()); }
    // A zero-terminated text; the terminator is consumed, not returned.
    std::string ReadZText();
    // A word with the byte length, then the bytes (counted texts and byte sets).
    std::string ReadCountedText();
    std::vector<uint8_t> ReadByteSet();
    void SkipZText();
    void SkipCounted();

  private:
    bool Fail() {
        failed_ = true;
        return false;
    }

    const uint8_t* data_;
    uint32_t length_;
    uint32_t position_ = 0;
    bool failed_ = false;
};

// Unaligned word access inside stored blocks.
Word LoadWord(const uint8_t* at);
void StoreWord(uint8_t* at, Word value);
