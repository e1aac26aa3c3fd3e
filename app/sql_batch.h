// The UPDATE batch as it is built: a text that grows by appending, in time
// linear in its final length, with single quotes doubled where a text goes
// into a quoted SQL literal.
#pragma once

#include <cstdint>

class SqlBatch {
public:
    SqlBatch() = default;
    ~SqlBatch();
    SqlBatch(const SqlBatch&) = delete;
    SqlBatch& operator=(const SqlBatch&) = delete;

    void Append(const char* text);
    // Appends a text that stands inside '...': every ' becomes ''.
    void AppendLiteral(const char* text);
    // The text so far (never null).
    const char* Text() const { return data_ != nullptr ? data_ : ""; }
    uint32_t Length() const { return length_; }

private:
    void Reserve(uint32_t extra);

    char* data_ = nullptr;   // runtime heap block, zero-terminated
    uint32_t length_ = 0;
    uint32_t capacity_ = 0;  // bytes in data_, terminator included
};
