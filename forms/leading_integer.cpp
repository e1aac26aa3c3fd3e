// Leading-integer reading.
#include "forms/leading_integer.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int64_t ReadLeadingInteger(const char* text) {
    if (text == nullptr) return 0;
    const char* p = text;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Accumulated as a negative number, whose range is one larger.
    int64_t value = 0;
    bool saturated = false;
    for (; IsDigit(*p); ++p) {
        int digit = *p - '0';
        if (saturated) continue;
        if (value < (INT64_MIN + digit) / 10) {
            saturated = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (saturated) return negative ? INT64_MIN : INT64_MAX;
    if (negative) return value;
    return value == INT64_MIN ? INT64_MAX : -value;
}
