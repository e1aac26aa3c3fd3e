// Little-endian writing of stored blocks: the counterpart of ByteReader, used
// when property blocks are written back and when template segments are built.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "runtime/abi.h"

class ByteWriter {
  public:
    void Word32(Word value);
    void Int(int32_t value) { Word32(static_cast<Word>(value)); }
    void Bytes(const void* data, uint32_t length);
    // Up to and including a zero byte; the text must hold no zero of its own.
    void ZText(const std::string& text);
    // A word with the byte length, then the bytes.
    void CountedText(const std::string& text) {
        Counted(text.data(), static_cast<uint32_t>(text.size()));
    }
    void ByteSet(const std::vector<uint8_t>& bytes) {
        Counted(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    void Counted(const void* data, uint32_t length);
    // Overwrites a word written earlier (lengths known only afterwards).
    void PatchWord(uint32_t at, Word value);

    uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }
    const std::vector<uint8_t>& Data() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

  private:
    std::vector<uint8_t> bytes_;
};
