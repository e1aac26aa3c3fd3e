// JoinTexts, CheckedIndex, TruncToInt64 and friends.
#include "app/program_helpers.h"

#include <cstring>

#include "app/program_calls.h"
#include "app/program_texts.h"
#include "runtime/value.h"

char* JoinTexts(std::initializer_list<const char*> texts) {
    uint32_t total = 0;
    for (const char* text : texts) total += text != nullptr ? static_cast<uint32_t>(std::strlen(text)) : 0;
    char* joined = static_cast<char*>(ProgramAllocate(total + 1));
    char* end = joined;
    for (const char* text : texts) {
        if (text == nullptr) continue;
        size_t length = std::strlen(text);
        std::memcpy(end, text, length);
        end += length;
    }
    *end = '\0';
    return joined;
}

Word* CheckedIndex(void* array, std::initializer_list<int32_t> indices) {
    Word* elements = static_cast<Word*>(ArrayElements(array));
    if (indices.size() == 1) {
        int32_t index = *indices.begin();
        if (index < 1) ProgramRuntimeError(4);
        if (static_cast<uint32_t>(index) > ArrayElementCount(array)) ProgramRuntimeError(1);
        return elements + (index - 1);
    }
    if (static_cast<int32_t>(indices.size()) != ArrayDimCount(array)) ProgramRuntimeError(3);
    const int32_t* sizes = ArrayDims(array);
    uint32_t position = 0;
    int dimension = 0;
    for (int32_t index : indices) {
        if (index < 1) ProgramRuntimeError(4);
        if (index > sizes[dimension]) ProgramRuntimeError(1);
        position = position * static_cast<uint32_t>(sizes[dimension]) + static_cast<uint32_t>(index - 1);
        ++dimension;
    }
    return elements + position;
}

const char* TextAt(void* array, std::initializer_list<int32_t> indices) {
    return FromWord<const char>(*CheckedIndex(array, indices));
}

int64_t TruncToInt64(double value) {
    // 2^63 is exact as a double; the valid range is (-2^63 - 1, 2^63).
    if (value != value || value >= 9223372036854775808.0 || value <= -9223372036854775809.0) {
        return INT64_MIN;
    }
    return static_cast<int64_t>(value);
}

void ReleaseTextArray(void* array) {
    if (array == nullptr) return;
    Word* elements = static_cast<Word*>(ArrayElements(array));
    uint32_t count = ArrayElementCount(array);
    for (uint32_t i = 0; i < count; ++i) ProgramRelease(FromWord<void>(elements[i]));
    ProgramRelease(array);
}

LineEnd::LineEnd()
    : cr(FromWord<char>(CallCore(kCmdCharFromCode, {ArgValue{'\r', 0, DT_BYTE}}).low)),
      lf(FromWord<char>(CallCore(kCmdCharFromCode, {ArgValue{'\n', 0, DT_BYTE}}).low)) {}

LineEnd::~LineEnd() {
    ProgramRelease(cr);
    ProgramRelease(lf);
}

void ShowCodedError(const char* message, const char* codeLine, const char* advice) {
    LineEnd end;
    char* text = advice == nullptr
                     ? JoinTexts({message, end.cr, end.lf, end.cr, end.lf, codeLine})
                     : JoinTexts({message, end.cr, end.lf, advice, end.cr, end.lf, end.cr, end.lf,
                                  codeLine});
    ShowMessage(text, kBoxStopIcon, kTexts.titleFatal);
    ProgramRelease(text);
}

namespace {
// The system's code for a refused access; a held file gives the sharing
// violation (32) or a lock instead, which keeps the program's usual words.
constexpr int32_t kErrorAccessDenied = 5;
}  // namespace

bool LastFileAccessDenied() {
    return ValueInt(CallCore(kCmdLastFileError)) == kErrorAccessDenied;
}

const char* AdviceIfDenied(const char* advice) {
    return LastFileAccessDenied() ? advice : nullptr;
}
