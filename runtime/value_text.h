// Typed values as texts and numbers: what *to text* and *to number* give for
// each type tag, shared with the message box and anyone else who has to show
// or read an ArgValue the same way.
#pragma once

#include <cstddef>

#include "runtime/value.h"

// *to number*: texts are read with full-width folding, numbers widened,
// logicals and subroutine addresses taken as integers; any other tag is 0.
double ValueToNumber(const ArgValue& value);

// *to text*: a new heap text owned by the caller, null when empty.
char* ValueToText(const ArgValue& value);

// Room for any date text, terminator included.
constexpr size_t kDateTextSize = 64;

// A day count (days since 1899-12-30, the time of day in the fraction),
// clamped to the years 100 to 9999, as "%d年%d月%d日" followed by the hour,
// minutes and seconds down to the last one that is not 0. Answers the length.
size_t FormatDate(double days, char* buffer);

// The texts of the two logical values.
extern const char* const kTrueText;
extern const char* const kFalseText;
