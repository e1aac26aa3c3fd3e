// Scratch text buffers for short-lived texts (name comparison, composed
// statements). Short texts take one of 32 fixed 256-byte blocks from a
// process-wide pool instead of the C heap; longer ones use the heap with
// 128 bytes of slack so that a few appends do not reallocate each time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sqlitelib {

constexpr uint32_t kScratchBlockSize = 256;
constexpr int kScratchBlockCount = 32;
constexpr uint32_t kScratchSlack = 128;
// The formatting area: formatted texts longer than this minus one fail.
constexpr size_t kScratchFormatSize = 1024;

struct ScratchPool {
    char blocks[kScratchBlockCount][kScratchBlockSize];  // the fixed blocks
    int inUse;                                           // number of blocks taken
    bool taken[kScratchBlockCount];                      // per block: taken or free
};

// The one pool of the process (the library is single-threaded).
ScratchPool& SharedScratchPool();

class ScratchBuffer {
  public:
    explicit ScratchBuffer(ScratchPool& pool = SharedScratchPool());
    ~ScratchBuffer();
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;

    // Gives the storage back (pool block or heap); the buffer is then empty.
    void Release();
    // Sets the length in use to n bytes, keeping the first bytes; false when
    // storage could not be had (the buffer is then empty).
    bool Resize(uint32_t n);
    // Appends `count` bytes; a null source appends nothing.
    bool Append(const void* bytes, uint32_t count);
    // Replaces the contents with the text and its terminating zero.
    bool SetText(const char* text);
    // printf-style into the formatting area, then set as the text. A null or
    // empty pattern leaves the buffer as it was; a result that does not fit
    // the area fails and empties the buffer rather than being cut short.
    bool Format(const char* pattern, ...);

    // The contents as a text: a constant "" while nothing is in use.
    char* Text();
    uint32_t length() const { return length_; }
    uint32_t capacity() const { return capacity_; }
    bool InPool() const { return block_ >= 0; }

  private:
    void Obtain(uint32_t n);

    char* data_;         // storage: a pool block, heap memory or null
    uint32_t capacity_;  // bytes of storage
    uint32_t length_;    // bytes in use (a text counts its zero)
    int block_;          // index of the pool block held, -1 for none
    ScratchPool* pool_;  // where pool blocks come from
};

// Compares two texts ignoring the case of ASCII letters (bytes of double-byte
// characters are compared as they are): below zero, zero or above zero, as
// unsigned bytes. The same pointer and two empty texts are equal.
int CompareNames(const char* a, const char* b);

}  // namespace sqlitelib
