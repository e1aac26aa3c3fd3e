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

enum InputMode : int32_t {
    kInputAny = 0,
    kInputReadOnly = 1,
    kInputPassword = 2,
    kInputSignedDigits = 3,
    kInputDecimalDigits = 4,
    kInputByte = 5,
    kInputInt16 = 6,
    kInputInt32 = 7,
    kInputInt64 = 8,
    kInputFloat = 9,
    kInputDouble = 10,
    kInputDateTime = 11,
};

// Whether a typed byte passes. Control characters always pass; a GBK lead
// byte passes only where every character does.
bool InputModeAccepts(int32_t mode, unsigned char c);

// The content as the mode normalises it; the content itself for modes that
// keep it.
std::string NormaliseInput(int32_t mode, const std::string& content);
