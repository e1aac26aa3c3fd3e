// Scratch text buffers and their pool.
#include "sqlitelib/scratch_buffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sqlitelib {

ScratchPool& SharedScratchPool() {
    static ScratchPool pool = {};
    return pool;
}

ScratchBuffer::ScratchBuffer(ScratchPool& pool)
    : data_(nullptr), capacity_(0), length_(0), block_(-1), pool_(&pool) {}

ScratchBuffer::~ScratchBuffer() {
    Release();
}

void ScratchBuffer::Release() {
    if (block_ >= 0) {
        pool_->taken[block_] = false;
        --pool_->inUse;
        block_ = -1;
    } else {
        std::free(data_);
    }
    data_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

// Takes fresh storage for n bytes: a free pool block when n fits one, else
// the heap. The buffer holds nothing when called.
void ScratchBuffer::Obtain(uint32_t n) {
    if (n == 0) return;
    if (n <= kScratchBlockSize && pool_->inUse < kScratchBlockCount) {
        for (int i = 0; i < kScratchBlockCount; ++i) {
            if (!pool_->taken[i]) {
                pool_->taken[i] = true;
                ++pool_->inUse;
                block_ = i;
                data_ = pool_->blocks[i];
                capacity_ = kScratchBlockSize;
                length_ = n;
                return;
            }
        }
    }
    data_ = static_cast<char*>(std::malloc(n + kScratchSlack));
    capacity_ = data_ != nullptr ? n + kScratchSlack : 0;
    length_ = data_ != nullptr ? n : 0;
}

bool ScratchBuffer::Resize(uint32_t n) {
    if (n == 0) {
        Release();
        return true;
    }
    if (data_ == nullptr) {
        Obtain(n);
        return data_ != nullptr;
    }
    // Keep the storage when it is big enough, unless it is heap memory far
    // larger than needed.
    if (capacity_ >= n && (block_ >= 0 || capacity_ - n <= kScratchBlockSize)) {
        length_ = n;
        return true;
    }
    char* moved;
    if (block_ >= 0) {
        moved = static_cast<char*>(std::malloc(n + kScratchSlack));
        if (moved != nullptr) std::memcpy(moved, data_, n < length_ ? n : length_);
        pool_->taken[block_] = false;
        --pool_->inUse;
        block_ = -1;
    } else {
        moved = static_cast<char*>(std::realloc(data_, n + kScratchSlack));
        if (moved == nullptr) std::free(data_);
    }
    data_ = moved;
    capacity_ = moved != nullptr ? n + kScratchSlack : 0;
    length_ = moved != nullptr ? n : 0;
    return moved != nullptr;
}

bool ScratchBuffer::Append(const void* bytes, uint32_t count) {
    if (bytes == nullptr || count == 0) return true;
    uint32_t old = length_;
    if (!Resize(old + count)) return false;
    std::memcpy(data_ + old, bytes, count);
    return true;
}

bool ScratchBuffer::SetText(const char* text) {
    Release();
    if (text == nullptr) return true;
    return Append(text, static_cast<uint32_t>(std::strlen(text) + 1));
}

bool ScratchBuffer::Format(const char* pattern, ...) {
    if (pattern == nullptr || pattern[0] == '\0') return true;
    char area[kScratchFormatSize];
    va_list values;
    va_start(values, pattern);
    int written = std::vsnprintf(area, sizeof area, pattern, values);
    va_end(values);
    // A cut-off statement could name another table or drop its ORDER BY, so
    // an overlong result is a failure, never a shortened text.
    if (written < 0 || static_cast<size_t>(written) >= sizeof area) {
        Release();
        return false;
    }
    return SetText(area);
}

char* ScratchBuffer::Text() {
    static char empty[1] = {'\0'};
    return length_ != 0 ? data_ : empty;
}

namespace {
// Upper-cases ASCII letters in place, stepping over double-byte characters
// whole so that a trail byte in 'a'..'z' is never changed. A lead byte right
// before the terminator does not carry the walk past it.
void UpperCase(char* text) {
    uint8_t* p = reinterpret_cast<uint8_t*>(text);
    while (*p != 0) {
        if (*p >= 0x80) {
            ++p;
            if (*p == 0) break;
        } else if (*p >= 0x61 && *p <= 0x7A) {
            *p = static_cast<uint8_t>(*p - 0x20);
        }
        ++p;
    }
}
}  // namespace

int CompareNames(const char* a, const char* b) {
    bool aEmpty = a == nullptr || a[0] == '\0';
    bool bEmpty = b == nullptr || b[0] == '\0';
    if (a == b || (aEmpty && bEmpty)) return 0;
    ScratchBuffer left;
    ScratchBuffer right;
    // Without storage for the copies the names cannot be shown equal.
    if (!left.SetText(a) || !right.SetText(b)) return aEmpty ? -1 : 1;
    UpperCase(left.Text());
    UpperCase(right.Text());
    const uint8_t* l = reinterpret_cast<const uint8_t*>(left.Text());
    const uint8_t* r = reinterpret_cast<const uint8_t*>(right.Text());
    while (*l != 0 && *l == *r) {
        ++l;
        ++r;
    }
    return static_cast<int>(*l) - static_cast<int>(*r);
}

}  // namespace sqlitelib
