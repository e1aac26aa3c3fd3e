// Mouse cursor codes and the platform's standard cursor ids.
#include "forms/mouse_cursor.h"

#include "forms/byte_reader.h"

namespace {

// Platform ids of the numbers 1 to 14, in number order: arrow, cross, I-beam,
// wait, help, app-starting, no, size-all, size NE-SW, size N-S, size NW-SE,
// size W-E, up arrow, hand.
constexpr uint32_t kPlatformIds[14] = {32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                       32646, 32643, 32645, 32642, 32644, 32516, 32649};

std::vector<uint8_t> WithCode(const uint8_t* set, uint32_t length, Word code) {
    std::vector<uint8_t> copy(set, set + length);
    StoreWord(copy.data(), code);
    return copy;
}

}  // namespace

int32_t CursorSetCode(const uint8_t* set, uint32_t length) {
    if (length == 0) return kCursorNone;
    if (length < 4) return set[0];
    return static_cast<int32_t>(LoadWord(set));
}

uint32_t CursorPlatformId(int32_t number) {
    return number >= 1 && number <= 14 ? kPlatformIds[number - 1] : 0;
}

int32_t CursorNumber(int32_t code) {
    if (code >= 1 && code <= 14) return code;
    for (int32_t i = 0; i < 14; ++i) {
        if (static_cast<uint32_t>(code) == kPlatformIds[i]) return i + 1;
    }
    return 0;
}

std::vector<uint8_t> CursorSetForReading(const uint8_t* set, uint32_t length) {
    if (length < 4) return std::vector<uint8_t>(set, set + length);
    int32_t code = CursorSetCode(set, length);
    int32_t number = CursorNumber(code);
    return WithCode(set, length, number != 0 ? static_cast<Word>(number) : static_cast<Word>(code));
}

std::vector<uint8_t> CursorSetForStoring(const uint8_t* set, uint32_t length) {
    if (length < 4) return std::vector<uint8_t>(set, set + length);
    int32_t code = CursorSetCode(set, length);
    uint32_t id = code >= 1 && code <= 14 ? CursorPlatformId(code) : static_cast<uint32_t>(code);
    return WithCode(set, length, id);
}
