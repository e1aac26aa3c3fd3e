// Leading-number reading and general number formatting.
#include "forms/leading_number.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p)) ++p;
    return p;
}

// The host's strtod reads the decimal point of the current locale, which a
// program may have switched to the user's; the cleaned-up number is
// written with that point before it is handed over.
char LocalePoint() {
    const struct lconv* conventions = std::localeconv();
    return conventions != nullptr && conventions->decimal_point != nullptr &&
                   conventions->decimal_point[0] != '\0'
               ? conventions->decimal_point[0]
               : '.';
}

}  // namespace

int64_t ReadLeadingInteger(const char* text) {
    if (text == nullptr) return 0;
    const char* p = SkipBlanks(text);
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Accumulated as a negative number, whose range is one larger.
    const int64_t kMin = INT64_MIN;
    int64_t value = 0;
    bool saturated = false;
    for (; IsDigit(*p); ++p) {
        int digit = *p - '0';
        if (saturated) continue;
        if (value < (kMin + digit) / 10) {
            saturated = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (saturated) return negative ? INT64_MIN : INT64_MAX;
    if (negative) return value;
    return value == INT64_MIN ? INT64_MAX : -value;
}

double ReadLeadingDouble(const char* text) {
    if (text == nullptr) return 0;
    const char* p = SkipBlanks(text);
    std::string clean;
    if (*p == '+' || *p == '-') clean.push_back(*p++);
    size_t digits = 0;
    for (; IsDigit(*p); ++p, ++digits) clean.push_back(*p);
    if (*p == '.') {
        clean.push_back(LocalePoint());
        for (++p; IsDigit(*p); ++p, ++digits) clean.push_back(*p);
    }
    if (digits == 0) return 0;
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* q = p + 1;
        std::string exponent = "e";
        if (*q == '+' || *q == '-') exponent.push_back(*q++);
        if (IsDigit(*q)) {
            for (; IsDigit(*q); ++q) exponent.push_back(*q);
            clean += exponent;
        }
    }
    return std::strtod(clean.c_str(), nullptr);
}

std::string FormatGeneral(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    std::string text = buffer;
    char point = LocalePoint();
    for (char& c : text) {
        if (c == point) c = '.';
    }
    // Some C libraries write three exponent digits; the runtime writes two
    // unless the exponent needs more.
    size_t e = text.find('e');
    if (e != std::string::npos && e + 2 < text.size()) {
        size_t first = e + 2;
        while (text.size() - first > 2 && text[first] == '0') text.erase(first, 1);
    }
    return text;
}
