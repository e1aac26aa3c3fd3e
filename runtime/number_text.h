// Numbers to texts and back, by the runtime's own rules rather than the host
// C library's: decimal only (exponent letters e, E, d and D; no hex, "inf"
// or "nan" words), '.' as the decimal point whatever the locale, and the
// "%.13g" / "%.6g" layouts with two-digit exponents on every target.
// *to number*, *to text*, the message box and edit box normalisation share them.
#pragma once

#include <cstddef>
#include <string>

// Reads the longest leading decimal number of `text` (null reads as empty):
// white space, an optional sign, digits with an optional point, an optional
// exponent. No number at all gives 0. `end`, when given, receives the
// address just past what was read (`text` itself when nothing was).
double ReadNumber(const char* text, const char** end = nullptr);

// Replaces the GBK full-width forms of spaces, ASCII signs, digits and
// letters by their ASCII bytes; other characters stay, and a lead byte cut
// off by the end of the text is dropped.
std::string FoldFullWidth(const char* text);

// *to number* of a text: full-width folding, then ReadNumber.
double TextToNumber(const char* text);

// Room for any text the two formatters write, terminator included.
constexpr size_t kNumberTextSize = 32;

// "%.13g" of a double: 13 significant digits, no trailing zeros, exponent
// form below 1e-4 and from 1e13 on. Answers the length written.
size_t FormatDouble(double value, char* buffer);

// A float rounded to 6 significant digits, half away from zero, written
// with "%.6g". Answers the length written.
size_t FormatFloat(float value, char* buffer);
