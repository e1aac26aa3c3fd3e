// The shared number reading and writing: the runtime's reading rules case by
// case, correct rounding against the host's strtod on plain decimal input,
// and the %g layouts against the host's printf. (Full-width folding is
// covered through *to number*.)
#include "runtime/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string Double(double value) {
    char text[kNumberTextSize];
    size_t length = FormatDouble(value, text);
    EXPECT_EQ(length, std::strlen(text));
    return text;
}

std::string Float(float value) {
    char text[kNumberTextSize];
    size_t length = FormatFloat(value, text);
    EXPECT_EQ(length, std::strlen(text));
    return text;
}

TEST(ReadNumber, ReadsTheLongestLeadingNumber) {
    struct Case {
        const char* text;
        double value;
        size_t consumed;
    };
    const Case cases[] = {
        {"  42abc", 42, 4},  {"abc", 0, 0},
        {"", 0, 0},          {"1e3", 1000, 3},
        {"1d3", 1000, 3},    {"1E3", 1000, 3},
        {"1D+3", 1000, 4},   {"2.5d-1", 0.25, 6},
        {"-12.5", -12.5, 5}, {"+7", 7, 2},
        {".5", 0.5, 2},      {"-.5x", -0.5, 3},
        {"5.", 5, 2},        {".", 0, 0},
        {"-", 0, 0},         {"- 5", 0, 0},
        {"1e", 1, 1},        {"1e+", 1, 1},
        {"1ex", 1, 1},       {"\t\n\v\f\r 3", 3, 7},
        {"007", 7, 3},       {"1,5", 1, 1},
        {"300;2", 300, 3},   {"0.000", 0, 5},
        {"1e-2", 0.01, 4},   {"123.456e2", 12345.6, 9},
    };
    for (const Case& c : cases) {
        const char* end = nullptr;
        EXPECT_EQ(ReadNumber(c.text, &end), c.value) << '"' << c.text << '"';
        EXPECT_EQ(static_cast<size_t>(end - c.text), c.consumed) << '"' << c.text << '"';
    }
    EXPECT_EQ(ReadNumber(nullptr), 0);
}

TEST(ReadNumber, KnowsNoHexOrWordsAndSaturatesAtTheRangeEnds) {
    EXPECT_EQ(ReadNumber("0x10"), 0);
    EXPECT_EQ(ReadNumber("inf"), 0);
    EXPECT_EQ(ReadNumber("nan"), 0);
    EXPECT_EQ(ReadNumber("1e400"), HUGE_VAL);
    EXPECT_EQ(ReadNumber("-1e99999999999999999999"), -HUGE_VAL);
    EXPECT_EQ(ReadNumber("1e-400"), 0);
    EXPECT_EQ(ReadNumber("4.9406564584124654e-324"), 4.9406564584124654e-324);  // least subnormal
    EXPECT_TRUE(std::signbit(ReadNumber("-0")));
}

TEST(ReadNumber, RoundsCorrectlyEvenPastHundredsOfDigits) {
    // 2^53 + 1 lies half way between two doubles and goes to the even one;
    // anything above the half, however far down, goes up.
    EXPECT_EQ(ReadNumber("9007199254740993"), 9007199254740992.0);
    std::string above = "9007199254740993." + std::string(900, '0') + "1";
    EXPECT_EQ(ReadNumber(above.c_str()), 9007199254740994.0);
    std::string longInteger = "9007199254740993" + std::string(900, '0');
    EXPECT_EQ(ReadNumber((longInteger + "e-900").c_str()), 9007199254740992.0);
    std::string tiny = "0." + std::string(300, '0') + "1";
    EXPECT_EQ(ReadNumber(tiny.c_str()), 1e-301);
}

TEST(ReadNumber, AgreesWithACorrectlyRoundingReaderOnPlainDecimals) {
    std::mt19937 random(20240601);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        if (random() % 2) text += '-';
        int intDigits = static_cast<int>(random() % 19);
        for (int d = 0; d < intDigits; ++d) text += static_cast<char>('0' + random() % 10);
        text += '.';
        int fracDigits = 1 + static_cast<int>(random() % 19);
        for (int d = 0; d < fracDigits; ++d) text += static_cast<char>('0' + random() % 10);
        std::string ours = text;
        if (random() % 2) {
            int exponent = static_cast<int>(random() % 640) - 320;
            text += "e" + std::to_string(exponent);
            ours += (random() % 2 ? "d" : "E") + std::to_string(exponent);
        }
        EXPECT_EQ(ReadNumber(ours.c_str()), std::strtod(text.c_str(), nullptr)) << ours;
    }
}

TEST(FormatDouble, WritesThirteenSignificantDigits) {
    EXPECT_EQ(Double(1.0 / 3.0), "0.3333333333333");
    EXPECT_EQ(Double(1234567890123.0), "1234567890123");
    EXPECT_EQ(Double(1e13), "1e+13");
    EXPECT_EQ(Double(0.0001), "0.0001");
    EXPECT_EQ(Double(0.00001), "1e-05");
    EXPECT_EQ(Double(0.1 + 0.2), "0.3");
    EXPECT_EQ(Double(-0.0), "-0");
    EXPECT_EQ(Double(HUGE_VAL), "inf");
}

TEST(FormatDouble, MatchesTheCLibraryLayoutEverywhere) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    char expected[64];
    for (int i = 0; i < 40000; ++i) {
        double value;
        if (i % 2) {
            uint64_t bits = (static_cast<uint64_t>(random()) << 32) | random();
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value)) continue;
        } else {
            // Around the switch between fixed and exponent layouts.
            value = std::round(mantissa(random) * 1e6) / 1e6 *
                    std::pow(10.0, static_cast<int>(random() % 40) - 20);
        }
        std::snprintf(expected, sizeof expected, "%.13g", value);
        ASSERT_EQ(Double(value), expected) << std::hexfloat << value;
    }
}

TEST(FormatFloat, RoundsToSixDigitsHalfAwayFromZero) {
    EXPECT_EQ(Float(0.1f), "0.1");
    EXPECT_EQ(Float(1.0f / 3.0f), "0.333333");
    EXPECT_EQ(Float(2.5f), "2.5");
    EXPECT_EQ(Float(-0.0f), "-0");
    EXPECT_EQ(Float(100000.0f), "100000");
    EXPECT_EQ(Float(1000000.0f), "1e+06");
    // Exact ties at the seventh digit go up, where "%.6g" would go to even.
    EXPECT_EQ(Float(1234565.0f), "1.23457e+06");
    EXPECT_EQ(Float(-1234565.0f), "-1.23457e+06");
    EXPECT_EQ(Float(999999.5f), "1e+06");
    EXPECT_EQ(Float(16777216.0f), "1.67772e+07");
    EXPECT_EQ(Float(1e-45f), "1.4013e-45");
}

TEST(FormatFloat, MatchesTheCLibraryAwayFromTies) {
    std::mt19937 random(11);
    char expected[64];
    char exact[96];
    for (int i = 0; i < 40000; ++i) {
        uint32_t bits = random();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        // Skip exact ties, where the two roundings differ on purpose.
        std::snprintf(exact, sizeof exact, "%.60e", static_cast<double>(value));
        const char* digits = exact + (exact[0] == '-' ? 1 : 0);
        std::string tail(digits + 7, digits + 62);  // the digits after the sixth
        if (tail == "5" + std::string(54, '0')) continue;
        std::snprintf(expected, sizeof expected, "%.6g", static_cast<double>(value));
        ASSERT_EQ(Float(value), expected) << std::hexfloat << value;
    }
}

}  // namespace
