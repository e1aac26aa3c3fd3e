// Mouse cursor byte sets of unit records. An empty set: no cursor of the
// unit's own. Otherwise the first word (the first byte of a set shorter than
// 4 bytes) is a code: 0 none, 1 to 14 a standard cursor by number or by its
// platform id, -1 a cursor file image after the code word. Stored sets hold
// platform ids; property reads hand the numbers 1 to 14 back.
#pragma once

#include <cstdint>
#include <vector>

constexpr int32_t kCursorNone = 0;
constexpr int32_t kCursorFileImage = -1;
// Number 14 (the hand) comes from the program's own resources.
constexpr uint32_t kHandCursorResource = 1032;

// The code of a stored set; kCursorNone for an empty one.
int32_t CursorSetCode(const uint8_t* set, uint32_t length);
// The platform id (IDC_ARROW ...) of number 1 to 14, else 0.
uint32_t CursorPlatformId(int32_t number);
// The number 1 to 14 of a code that is a number or a platform id, else 0.
int32_t CursorNumber(int32_t code);

// A set as a property read returns it: a platform id in the code word
// becomes its number. Sets shorter than 4 bytes are left alone.
std::vector<uint8_t> CursorSetForReading(const uint8_t* set, uint32_t length);
// A set as it is stored on a property write: a number becomes its platform id.
std::vector<uint8_t> CursorSetForStoring(const uint8_t* set, uint32_t length);
