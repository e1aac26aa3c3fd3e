// The runtime's number reader and *to text* on arbitrary text. The reader
// must take what the C library's strtod takes of plain decimal text (with d
// and D as exponent letters too) and round it the same; the writers must
// give the layouts they promise, texts that read back to their value, and
// no block left behind.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "runtime/number_text.h"
#include "runtime/value_text.h"

namespace {

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The reader against strtod on exactly what it consumed.
void CheckRead(const char* text) {
    const char* end = nullptr;
    double value = ReadNumber(text, &end);
    size_t taken = static_cast<size_t>(end - text);
    FUZZ_CHECK(end >= text && taken <= std::strlen(text), "end outside the text");
    if (taken == 0) {
        FUZZ_CHECK(SameDouble(value, 0.0), "nothing read but %.17g", value);
        return;
    }
    std::string prefix(text, taken);
    for (char& c : prefix) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    char* hostEnd = nullptr;
    double host = std::strtod(prefix.c_str(), &hostEnd);
    FUZZ_CHECK(static_cast<size_t>(hostEnd - prefix.c_str()) == taken, "strtod reads %d of \"%s\"",
               static_cast<int>(hostEnd - prefix.c_str()), prefix.c_str());
    FUZZ_CHECK(SameDouble(value, host), "\"%s\" reads as %a, strtod gives %a", prefix.c_str(), value, host);
}

// "%.13g" as glibc writes it for finite values, and a text that reads back
// to a value writing the same text again.
void CheckDoubleText(double value) {
    char text[kNumberTextSize + 8];
    std::memset(text, 'x', sizeof text);
    size_t length = FormatDouble(value, text);
    FUZZ_CHECK(length < kNumberTextSize && std::strlen(text) == length, "length %u for %a",
               static_cast<unsigned>(length), value);
    if (!std::isfinite(value)) return;
    char host[64];
    std::snprintf(host, sizeof host, "%.13g", value);
    FUZZ_CHECK(std::strcmp(text, host) == 0, "%a written \"%s\", printf gives \"%s\"", value, text, host);
    const char* end = nullptr;
    double back = ReadNumber(text, &end);
    FUZZ_CHECK(*end == '\0', "\"%s\" is not read whole", text);
    char again[kNumberTextSize];
    FormatDouble(back, again);
    FUZZ_CHECK(std::strcmp(text, again) == 0, "\"%s\" reads back and writes \"%s\"", text, again);
}

// Six significant digits, within half a unit of the sixth of the value.
void CheckFloatText(float value) {
    char text[kNumberTextSize + 8];
    size_t length = FormatFloat(value, text);
    FUZZ_CHECK(length < kNumberTextSize && std::strlen(text) == length, "length %u for float %a",
               static_cast<unsigned>(length), static_cast<double>(value));
    if (!std::isfinite(value) || value == 0) return;
    const char* end = nullptr;
    double back = ReadNumber(text, &end);
    FUZZ_CHECK(*end == '\0', "\"%s\" is not read whole", text);
    double exact = static_cast<double>(value);
    // The unit of the sixth digit, of the rounded text where rounding
    // carried into a new first digit (9.999996 is written 10). The decimal
    // exponent comes from printf's digits, not from log10: the x87
    // functions have given NaN now and then under qemu-user.
    double magnitude = std::fmax(std::fabs(exact), std::fabs(back));
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.0e", magnitude);
    int exponent = std::atoi(std::strchr(digits, 'e') + 1);
    std::string unitText = "1e" + std::to_string(exponent - 5);
    double unit = ReadNumber(unitText.c_str());
    FUZZ_CHECK(std::fabs(back - exact) <= 0.5 * unit * (1 + 1e-9), "float %a written \"%s\" (read back %a, unit %a)",
               exact, text, back, unit);
}

// *to text* for every kind of value the bytes can make; each result is
// released again.
void CheckToText(const uint8_t* data, size_t size, const char* text) {
    LiveBlockCheck blocks;
    uint8_t raw[8] = {};
    std::memcpy(raw, data, size < 8 ? size : 8);
    Word low, high;
    std::memcpy(&low, raw, 4);
    std::memcpy(&high, raw + 4, 4);
    const uint32_t tags[] = {DT_BYTE, DT_SHORT, DT_INT, DT_LONG, DT_FLOAT, DT_DOUBLE, DT_BOOL, DT_DATE_TIME};
    for (uint32_t tag : tags) {
        char* shown = ValueToText(ArgValue{low, high, tag});
        FUZZ_CHECK(shown == nullptr || std::strlen(shown) < 64, "tag %08x: long text", tag);
        if (tag == DT_DOUBLE) {
            char direct[kNumberTextSize];
            FormatDouble(ValueDouble(ArgValue{low, high, tag}), direct);
            FUZZ_CHECK(shown != nullptr && std::strcmp(shown, direct) == 0, "*to text* of a double");
        }
        Release(shown);
    }

    char* copy = ValueToText(MakeText(text));
    FUZZ_CHECK(text[0] == '\0' ? copy == nullptr : copy != nullptr && std::strcmp(copy, text) == 0,
               "*to text* of a text is not its copy");
    Release(copy);

    void* bytes = MakeByteSetBlock(data, static_cast<uint32_t>(size));
    char* ofBytes = ValueToText(MakeByteSet(bytes));
    FUZZ_CHECK(std::strlen(ofBytes != nullptr ? ofBytes : "") == std::strlen(text), "byte set text");
    Release(ofBytes);
    Release(bytes);

    // A numeric array of the input's whole 32-bit words.
    uint32_t words = static_cast<uint32_t>(size / 4);
    auto* array = static_cast<int32_t*>(Allocate(8 + 4 * words));
    array[0] = 1;
    array[1] = static_cast<int32_t>(words);
    std::memcpy(array + 2, data, 4 * words);
    char* ofArray = ValueToText(ArgValue{ToWord(array), 0, DT_INT | DT_ARRAY});
    FUZZ_CHECK(std::strlen(ofArray != nullptr ? ofArray : "") <= 4 * words, "array text");
    Release(ofArray);
    Release(array);
    blocks.Expect(0, "*to text*");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = InputText(data, size);
    CheckRead(text.c_str());
    CheckRead(FoldFullWidth(text.c_str()).c_str());
    double value = TextToNumber(text.c_str());
    CheckDoubleText(value);
    CheckFloatText(static_cast<float>(value));
    if (size >= 8) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckDoubleText(raw);
        float rawFloat;
        std::memcpy(&rawFloat, data, sizeof rawFloat);
        CheckFloatText(rawFloat);
    }
    CheckToText(data, size, text.c_str());
    return 0;
}
