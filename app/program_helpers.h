// The drop editor's small helpers: joining texts, checked array access,
// truncating doubles, and the texts and arrays it releases again.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/abi.h"

// One new text (caller-owned, never null) holding the texts in order; null
// inputs count as empty.
char* JoinTexts(std::initializer_list<const char*> texts);

// The element word of an array block at 1-based indices: one index walks the
// elements in stored order; two or more must match the dimension count. A
// failed check is runtime error 1, 3 or 4.
Word* CheckedIndex(void* array, std::initializer_list<int32_t> indices);
// The text element at those indices.
const char* TextAt(void* array, std::initializer_list<int32_t> indices);

// Rounds toward zero; NaN, infinities and values outside the 64-bit range
// give the smallest 64-bit integer, as the processor's conversion does.
int64_t TruncToInt64(double value);

// Releases a text array: its non-null elements first, the block last.
void ReleaseTextArray(void* array);

// A failure that ends the program or stops its start: the message, two line
// ends and the code line, the stop icon, title "ERROR". An advice sentence, when
// given, goes on its own line after the message.
void ShowCodedError(const char* message, const char* codeLine, const char* advice = nullptr);

// True when the last file command failed because the system denied access
// (a read-only file, a folder the user may not write), not because another
// program holds the file. Asked right after the failing command.
bool LastFileAccessDenied();
// `advice` when the last file command was denied access, else null.
const char* AdviceIfDenied(const char* advice);

// One-character texts of CR and LF, made by the character-from-code command.
struct LineEnd {
    char* cr;
    char* lf;
    LineEnd();
    ~LineEnd();
    LineEnd(const LineEnd&) = delete;
    LineEnd& operator=(const LineEnd&) = delete;
};
