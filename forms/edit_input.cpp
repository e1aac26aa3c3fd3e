// Key filtering and content normalisation by input mode.
#include "forms/edit_input.h"

#include <cstdio>

#include "forms/leading_integer.h"
#include "runtime/number_text.h"

namespace {

bool AcceptsEverything(int32_t mode) {
    return mode <= kInputPassword || mode >= kInputDateTime;
}

int64_t Clamp(int64_t value, int64_t low, int64_t high) {
    return value < low ? low : value > high ? high : value;
}

// Written by hand: not every C library of the Windows target knows "%lld".
std::string IntegerText(int64_t value) {
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return value < 0 ? "-" + digits : digits;
}

// ---- date-times -----------------------------------------------------------
// Accepted: year, month and day separated by '-', '/', '.' or written with
// 年 月 日, then optionally a time with ':' or 时 分 秒. Written back as
// "2024年3月5日", with "8时5分0秒" after it when the time is not midnight.

struct DateTime {
    int year, month, day, hour, minute, second;
};

bool ReadInt(const char** p, int maxDigits, int* value) {
    int digits = 0;
    *value = 0;
    while (**p >= '0' && **p <= '9' && digits < maxDigits) {
        *value = *value * 10 + (**p - '0');
        ++*p;
        ++digits;
    }
    return digits > 0;
}

// Eats one of the separators (an ASCII byte or a GBK word given as text).
bool Eat(const char** p, const char* ascii, const char* word) {
    if (**p != '\0' && ascii != nullptr) {
        for (const char* a = ascii; *a != '\0'; ++a) {
            if (**p == *a) {
                ++*p;
                return true;
            }
        }
    }
    if (word != nullptr) {
        size_t n = std::char_traits<char>::length(word);
        if (std::string(*p).compare(0, n, word) == 0) {
            *p += n;
            return true;
        }
    }
    return false;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool ParseDateTime(const std::string& text, DateTime* out) {
    const char* p = text.c_str();
    while (*p == ' ') ++p;
    DateTime d = {};
    if (!ReadInt(&p, 4, &d.year) || !Eat(&p, "-/.", "年")) return false;
    if (!ReadInt(&p, 2, &d.month) || !Eat(&p, "-/.", "月")) return false;
    if (!ReadInt(&p, 2, &d.day)) return false;
    Eat(&p, nullptr, "日");
    while (*p == ' ') ++p;
    if (*p != '\0') {
        if (!ReadInt(&p, 2, &d.hour) || !Eat(&p, ":", "时")) return false;
        if (!ReadInt(&p, 2, &d.minute)) return false;
        if (Eat(&p, ":", "分")) {
            if (!ReadInt(&p, 2, &d.second)) return false;
            Eat(&p, nullptr, "秒");
        }
        while (*p == ' ') ++p;
        if (*p != '\0') return false;
    }
    if (d.year < 100 || d.month < 1 || d.month > 12 || d.day < 1 ||
        d.day > DaysInMonth(d.year, d.month))
        return false;
    if (d.hour > 23 || d.minute > 59 || d.second > 59) return false;
    *out = d;
    return true;
}

std::string DateTimeText(const DateTime& d) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", d.year, d.month, d.day);
    std::string text = buffer;
    if (d.hour != 0 || d.minute != 0 || d.second != 0) {
        std::snprintf(buffer, sizeof buffer, "%d时%d分%d秒", d.hour, d.minute, d.second);
        text += buffer;
    }
    return text;
}

// A zero result is shown as an empty box.
std::string UnlessZero(const std::string& text, bool zero) {
    return zero ? std::string() : text;
}

}  // namespace

bool InputModeAccepts(int32_t mode, unsigned char c) {
    if (c < 0x20 || c == 0x7F) return true;
    if (AcceptsEverything(mode)) return true;
    bool digit = c >= '0' && c <= '9';
    switch (mode) {
        case kInputByte:
            return digit;
        case kInputDecimalDigits:
        case kInputFloat:
        case kInputDouble:
            return digit || c == '-' || c == '.';
        default:
            return digit || c == '-';  // signed digits and the integer modes
    }
}

std::string NormaliseInput(int32_t mode, const std::string& content) {
    const char* text = content.c_str();
    switch (mode) {
        case kInputByte:
        case kInputInt16:
        case kInputInt32:
        case kInputInt64: {
            int64_t value = ReadLeadingInteger(text);
            if (mode == kInputByte) value = Clamp(value, 0, UINT8_MAX);
            if (mode == kInputInt16) value = Clamp(value, INT16_MIN, INT16_MAX);
            if (mode == kInputInt32) value = Clamp(value, INT32_MIN, INT32_MAX);
            return UnlessZero(IntegerText(value), value == 0);
        }
        case kInputFloat: {
            float value = static_cast<float>(ReadNumber(text));
            char written[kNumberTextSize];
            FormatFloat(value, written);
            return UnlessZero(written, value == 0);
        }
        case kInputDouble: {
            double value = ReadNumber(text);
            char written[kNumberTextSize];
            FormatDouble(value, written);
            return UnlessZero(written, value == 0);
        }
        case kInputDateTime: {
            DateTime d;
            if (!ParseDateTime(content, &d)) return std::string();
            return DateTimeText(d);
        }
        default:
            return content;
    }
}
