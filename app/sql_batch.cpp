// Growing the batch by doubling keeps building it linear in the row count.
#include "app/sql_batch.h"

#include <cstring>

#include "app/program_calls.h"

SqlBatch::~SqlBatch() { ProgramRelease(data_); }

void SqlBatch::Reserve(uint32_t extra) {
    uint32_t needed = length_ + extra + 1;
    if (needed <= capacity_) return;
    uint32_t capacity = capacity_ < 256 ? 256 : capacity_;
    while (capacity < needed) capacity *= 2;
    data_ = static_cast<char*>(ProgramReallocate(data_, capacity));
    capacity_ = capacity;
}

void SqlBatch::Append(const char* text) {
    if (text == nullptr) return;
    uint32_t n = static_cast<uint32_t>(std::strlen(text));
    Reserve(n);
    std::memcpy(data_ + length_, text, n + 1);
    length_ += n;
}

void SqlBatch::AppendLiteral(const char* text) {
    if (text == nullptr) return;
    uint32_t n = static_cast<uint32_t>(std::strlen(text));
    Reserve(2 * n);
    for (uint32_t i = 0; i < n; ++i) {
        data_[length_++] = text[i];
        if (text[i] == '\'') data_[length_++] = '\'';
    }
    data_[length_] = '\0';
}
