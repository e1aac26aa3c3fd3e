// Values to texts and numbers by type tag, and the calendar behind date texts.
#include "runtime/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "runtime/memory.h"
#include "runtime/number_text.h"

const char* const kTrueText = "真";
const char* const kFalseText = "假";

namespace {

// ---- Calendar -----------------------------------------------------------
// Proleptic Gregorian days counted from 0001-01-01 (day 0). The clamped
// range keeps every year between 100 and 9999, so no count is negative.

constexpr double kFirstDay = -657434.0;  // 0100-01-01
constexpr double kLastDay = 2958465.0;   // 9999-12-31

int64_t DaysBeforeYear(int64_t year) {
    int64_t y = year - 1;
    return 365 * y + y / 4 - y / 100 + y / 400;
}

bool IsLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// 1899-12-30, day 0 of the runtime's day counts.
const int64_t kDayZero = DaysBeforeYear(1899) + 363;

struct CivilDate {
    int year;
    int month;  // 1 to 12
    int day;    // 1 to 31
};

CivilDate DateOfDay(int64_t dayIndex) {
    int64_t absolute = dayIndex + kDayZero;
    int64_t year = absolute * 400 / 146097 + 1;  // an estimate within a year
    while (DaysBeforeYear(year + 1) <= absolute) ++year;
    while (DaysBeforeYear(year) > absolute) --year;
    int64_t dayOfYear = absolute - DaysBeforeYear(year);
    static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    for (;; ++month) {
        int length = kMonthDays[month] + (month == 1 && IsLeapYear(year) ? 1 : 0);
        if (dayOfYear < length) break;
        dayOfYear -= length;
    }
    return CivilDate{static_cast<int>(year), month + 1, static_cast<int>(dayOfYear) + 1};
}

// ---- Byte texts ---------------------------------------------------------

// The bytes up to the first zero, as a text (byte sets and numeric arrays
// turned into texts).
char* TextOfBytes(const uint8_t* bytes, uint32_t length) {
    const void* zero = std::memchr(bytes, 0, length);
    if (zero != nullptr) length = static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - bytes);
    return CopyTextN(reinterpret_cast<const char*>(bytes), length);
}

char* NumericArrayText(const ArgValue& value) {
    const void* block = FromWord<const void>(value.low);
    if (block == nullptr || ArrayDimCount(block) < 1) return nullptr;
    // Every element counts, whatever the dimension count: the product of
    // the sizes is the number of elements the block holds.
    uint64_t bytes =
        static_cast<uint64_t>(ArrayElementCount(block)) * TypeSize(ElementType(value.type));
    if (bytes == 0 || bytes > 0x7FFFFFFF) return nullptr;
    return TextOfBytes(static_cast<const uint8_t*>(ArrayElements(block)),
                       static_cast<uint32_t>(bytes));
}

template <typename Integer>
char* IntegerText(Integer number) {
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, number);
    return CopyTextN(text, static_cast<uint32_t>(result.ptr - text));
}

}  // namespace

size_t FormatDate(double days, char* buffer) {
    if (!(days >= kFirstDay)) days = kFirstDay;  // NaN too
    if (days > kLastDay) days = kLastDay;
    // The whole part counts days from 1899-12-30, toward zero; the fraction's
    // size is the time of that day, also for dates before it (-1.25 is
    // 1899-12-29 06:00). The time is rounded to the nearest second.
    double whole = std::trunc(days);
    int64_t dayIndex = static_cast<int64_t>(whole);
    int64_t seconds = std::llround(std::fabs(days - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayIndex;
    }
    CivilDate date = DateOfDay(dayIndex);
    int hour = static_cast<int>(seconds / 3600);
    int minute = static_cast<int>(seconds / 60 % 60);
    int second = static_cast<int>(seconds % 60);

    int length =
        std::snprintf(buffer, kDateTextSize, "%d年%d月%d日", date.year, date.month, date.day);
    char* rest = buffer + length;
    size_t room = kDateTextSize - static_cast<size_t>(length);
    if (second != 0) {
        length += std::snprintf(rest, room, "%d时%d分%d秒", hour, minute, second);
    } else if (minute != 0) {
        length += std::snprintf(rest, room, "%d时%d分", hour, minute);
    } else if (hour != 0) {
        length += std::snprintf(rest, room, "%d时", hour);
    }
    return static_cast<size_t>(length);
}

double ValueToNumber(const ArgValue& value) {
    switch (value.type) {
        case DT_TEXT:
            return TextToNumber(ValueText(value));
        case DT_BYTE:
            return static_cast<uint8_t>(value.low);
        case DT_SHORT:
            return static_cast<int16_t>(value.low);
        case DT_INT:
            return static_cast<int32_t>(value.low);
        case DT_LONG:
            return static_cast<double>(ValueLong(value));
        case DT_FLOAT:
            return ValueFloat(value);
        case DT_DOUBLE:
            return ValueDouble(value);
        case DT_BOOL:
            return static_cast<int32_t>(value.low);
        case DT_SUB_PTR:
            return static_cast<uint32_t>(value.low);
        default:
            return 0;
    }
}

char* ValueToText(const ArgValue& value) {
    char text[kDateTextSize > kNumberTextSize ? kDateTextSize : kNumberTextSize];
    switch (value.type) {
        case DT_BYTE:
            return IntegerText(static_cast<uint32_t>(static_cast<uint8_t>(value.low)));
        case DT_SHORT:
            return IntegerText(static_cast<int32_t>(static_cast<int16_t>(value.low)));
        case DT_INT:
            return IntegerText(static_cast<int32_t>(value.low));
        case DT_LONG:
            return IntegerText(ValueLong(value));
        case DT_DOUBLE:
            return CopyTextN(text, static_cast<uint32_t>(FormatDouble(ValueDouble(value), text)));
        case DT_FLOAT:
            return CopyTextN(text, static_cast<uint32_t>(FormatFloat(ValueFloat(value), text)));
        case DT_TEXT:
            return CopyText(ValueText(value));
        case DT_BOOL:
            return CopyText(value.low != 0 ? kTrueText : kFalseText);
        case DT_DATE_TIME:
            return CopyTextN(text, static_cast<uint32_t>(FormatDate(ValueDouble(value), text)));
        case DT_BIN: {
            const void* block = FromWord<const void>(value.low);
            int32_t length = ByteSetLength(block);
            return length > 0 ? TextOfBytes(ByteSetData(block), static_cast<uint32_t>(length))
                              : nullptr;
        }
        default:
            if (IsArrayType(value.type) && TypeSize(ElementType(value.type)) != 0)
                return NumericArrayText(value);
            return nullptr;
    }
}
