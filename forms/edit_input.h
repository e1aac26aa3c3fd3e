// Input modes of an edit box: which typed characters pass, and what the
// content becomes when the edit box loses the focus.
//
//   mode  keys                 content after losing the focus
//   0-2   all                  unchanged (1 read-only, 2 password)
//   3     - 0-9                unchanged
//   4     - . 0-9              unchanged
//   5     0-9                  the number clamped to 0 ... 255
//   6     - 0-9                the number clamped to -32768 ... 32767
//   7     - 0-9                the number as a 64-bit integer, clamped to 32 bits
//   8     - 0-9                the number as a 64-bit integer
//   9     - . 0-9              the number as a 32-bit floating-point value
//   10    - . 0-9              the number as a 64-bit floating-point value
//   11    all                  a date-time, empty when the text is none
// For modes 5 to 10 a result of "0" becomes the empty text.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kInputReadOnly = 1;
constexpr int32_t kInputPassword = 2;
constexpr int32_t kInputInt32 = 7;
constexpr int32_t kInputDateTime = 11;

// Whether a typed byte passes. Control characters always pass; a GBK lead
// byte passes only where every character does.
bool InputModeAccepts(int32_t mode, unsigned char c);

// The content as the mode normalises it; the content itself for modes that
// keep it.
std::string NormaliseInput(int32_t mode, const std::string& content);
