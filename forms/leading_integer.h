// The integer at the start of a text, read the way the C library's 64-bit
// integer conversion reads it. Edit boxes of the integer input modes use
// it: the core runtime's number reading gives a double, which cannot hold
// every 64-bit value exactly.
#pragma once

#include <cstdint>

// Leading blanks, an optional sign, then decimal digits up to the first
// other character. No digits read as 0; values beyond the 64-bit range
// saturate at its ends.
int64_t ReadLeadingInteger(const char* text);
