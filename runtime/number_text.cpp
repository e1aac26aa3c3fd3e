// Number reading and writing. Correct rounding comes from the host (from_chars
// and "%e" digits), but only ever on input this file has already reduced to
// plain decimal digits, so the host's extra words and locale never matter.
#include "runtime/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// More digits than this never change the nearest double; the rest only
// counts as "something non-zero follows".
constexpr size_t kMaxSignificantDigits = 800;
// Exponents are saturated here; anything beyond overflows or underflows anyway.
constexpr int64_t kExponentLimit = 100000000;

// ---- Digit strings in the %g layout -------------------------------------

// The decimal digits and exponent of a finite value as "%.*e" writes them
// with `precision` digits after the point.
struct Digits {
    bool negative;
    char digits[80];  // precision + 1 digits, no point
    int count;
    int exponent;  // of the first digit
};

int PrintE(char* out, size_t size, int precision, double value) {
#ifdef __MINGW32__
    // The MinGW printf rounds from the exact binary value, as glibc does.
    return __mingw_snprintf(out, size, "%.*e", precision, value);
#else
    return std::snprintf(out, size, "%.*e", precision, value);
#endif
}

Digits ExponentDigits(double value, int precision) {
    char text[128];
    PrintE(text, sizeof text, precision, value);
    Digits d = {};
    const char* p = text;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    // The point between the first and second digit is the locale's; skip
    // whatever is not a digit until the exponent letter.
    for (; *p != '\0' && *p != 'e' && *p != 'E'; ++p) {
        if (IsDigit(*p) && d.count < static_cast<int>(sizeof d.digits)) d.digits[d.count++] = *p;
    }
    if (*p != '\0') d.exponent = std::atoi(p + 1);
    return d;
}

// Lays out `count` significant digits (the first one non-zero unless the
// value is 0) as %g does with that precision: fixed notation while the
// exponent lies in [-4, precision), exponent notation otherwise; trailing
// zeros and a bare point dropped.
size_t LayOutG(const Digits& d, int precision, char* out) {
    char* w = out;
    if (d.negative) *w++ = '-';
    int last = d.count - 1;
    while (last > 0 && d.digits[last] == '0') --last;  // last digit kept
    int x = d.exponent;
    if (x >= -4 && x < precision) {
        if (x >= 0) {
            for (int i = 0; i <= x; ++i) *w++ = i < d.count ? d.digits[i] : '0';
            if (last > x) {
                *w++ = '.';
                for (int i = x + 1; i <= last; ++i) *w++ = d.digits[i];
            }
        } else {
            *w++ = '0';
            *w++ = '.';
            for (int i = -1; i > x; --i) *w++ = '0';
            for (int i = 0; i <= last; ++i) *w++ = d.digits[i];
        }
    } else {
        *w++ = d.digits[0];
        if (last > 0) {
            *w++ = '.';
            for (int i = 1; i <= last; ++i) *w++ = d.digits[i];
        }
        *w++ = 'e';
        *w++ = x < 0 ? '-' : '+';
        int magnitude = x < 0 ? -x : x;
        if (magnitude < 10) *w++ = '0';
        w += std::snprintf(w, 8, "%d", magnitude);
    }
    *w = '\0';
    return static_cast<size_t>(w - out);
}

size_t WriteNonFinite(double value, char* buffer) {
    const char* word = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    std::strcpy(buffer, word);
    return std::strlen(word);
}

}  // namespace

double ReadNumber(const char* text, const char** end) {
    if (end != nullptr) *end = text;
    if (text == nullptr) return 0;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';

    // Significant digits without leading zeros; `scale` is the power of ten
    // of the digit after the last one kept.
    std::string digits;
    int64_t scale = 0;
    bool sticky = false;  // a non-zero digit was dropped past the limit
    bool anyDigit = false;
    auto take = [&](char c, bool beforePoint) {
        anyDigit = true;
        if (digits.empty() && c == '0') {
            if (!beforePoint) --scale;
            return;
        }
        if (digits.size() < kMaxSignificantDigits) {
            digits.push_back(c);
            if (!beforePoint) --scale;
        } else {
            if (beforePoint) ++scale;
            if (c != '0') sticky = true;
        }
    };
    for (; IsDigit(*p); ++p) take(*p, true);
    if (*p == '.') {
        const char* afterPoint = p + 1;
        if (anyDigit || IsDigit(*afterPoint)) {
            for (p = afterPoint; IsDigit(*p); ++p) take(*p, false);
        }
    }
    if (!anyDigit) return 0;

    // The exponent only counts when at least one digit follows its letter.
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (*q == '+' || *q == '-') negativeExponent = *q++ == '-';
        if (IsDigit(*q)) {
            int64_t exponent = 0;
            for (; IsDigit(*q); ++q) {
                if (exponent < kExponentLimit) exponent = exponent * 10 + (*q - '0');
            }
            scale += negativeExponent ? -exponent : exponent;
            p = q;
        }
    }
    if (end != nullptr) *end = p;

    double value = 0;
    if (!digits.empty()) {
        if (sticky) {
            digits.push_back('1');
            --scale;
        }
        int64_t magnitude = scale + static_cast<int64_t>(digits.size());  // value < 10^magnitude
        if (magnitude > 400) {
            value = HUGE_VAL;
        } else if (magnitude >= -400) {
            std::string plain = digits + "e" + std::to_string(scale);
            auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value,
                                          std::chars_format::scientific);
            if (result.ec == std::errc::result_out_of_range) value = magnitude > 0 ? HUGE_VAL : 0.0;
        }
    }
    return negative ? -value : value;
}

std::string FoldFullWidth(const char* text) {
    std::string folded;
    if (text == nullptr) return folded;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
        unsigned char lead = p[0];
        if (lead < 0x80) {
            folded.push_back(static_cast<char>(lead));
            ++p;
            continue;
        }
        unsigned char trail = p[1];
        if (trail == 0) break;  // a broken character at the end
        if (lead == 0xA1 && trail == 0xA1) {
            folded.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            folded.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            folded.push_back('*');
        } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded.push_back(static_cast<char>(trail & 0x7F));
        } else {
            folded.push_back(static_cast<char>(lead));
            folded.push_back(static_cast<char>(trail));
        }
        p += 2;
    }
    return folded;
}

double TextToNumber(const char* text) {
    if (text == nullptr) return 0;
    return ReadNumber(FoldFullWidth(text).c_str());
}

size_t FormatDouble(double value, char* buffer) {
    if (!std::isfinite(value)) return WriteNonFinite(value, buffer);
    constexpr int kPrecision = 13;
    return LayOutG(ExponentDigits(value, kPrecision - 1), kPrecision, buffer);
}

size_t FormatFloat(float value, char* buffer) {
    if (!std::isfinite(value)) return WriteNonFinite(value, buffer);
    constexpr int kPrecision = 6;
    // Sixty digits hold every float's exact value far enough to see whether
    // the seventh digit rounds up; half away from zero means it does from 5.
    Digits d = ExponentDigits(static_cast<double>(value), 60);
    bool up = d.count > kPrecision && d.digits[kPrecision] >= '5';
    d.count = kPrecision;
    if (up) {
        int i = kPrecision - 1;
        while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            // 999999.5 and the like carry into a new first digit.
            d.digits[0] = '1';
            ++d.exponent;
        }
    }
    return LayOutG(d, kPrecision, buffer);
}
