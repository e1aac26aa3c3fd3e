// The number at the start of a text, read the way the C library's number
// conversions read it but by the runtime's rules (decimal only, exponent
// letters e, E, d and D, no hex, "inf" or "nan"), and numbers written back
// as texts. Edit boxes use it to normalise numeric input.
//
// Kept in the form runtime until the core runtime's shared number reading
// and writing is available to it; the rules here are the same.
#pragma once

#include <cstdint>
#include <string>

// Leading blanks, an optional sign, then decimal digits up to the first
// other character. No digits read as 0; values beyond the 64-bit range
// saturate at its ends.
int64_t ReadLeadingInteger(const char* text);

// Leading blanks, an optional sign, digits with an optional point, then an
// optional exponent (e, E, d or D, an optional sign, digits) when digits
// follow it. No digits read as 0.
double ReadLeadingDouble(const char* text);

// "%.<digits>g" of the value with '.' as the decimal point whatever the
// locale and an exponent of at least two digits on every target.
std::string FormatGeneral(double value, int digits);
