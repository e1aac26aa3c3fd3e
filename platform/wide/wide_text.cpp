// Text helpers of the UTF-16 layer.
#define DROPEDIT_WIDE_LAYER
#include "platform/wide/wide_text.h"

#include <cstdint>
#include <cstring>

#include "platform/gbk_codec.h"

namespace wide {
namespace {

const uint16_t* Units(const wchar_t* text) {
    return reinterpret_cast<const uint16_t*>(text);
}

}  // namespace

std::wstring Widen(const char* gbk) {
    return gbk == nullptr ? std::wstring() : Widen(gbk, std::strlen(gbk));
}

std::wstring Widen(const char* gbk, size_t length) {
    std::wstring text(length, L'\0');  // never more units than bytes
    size_t units = gbk::ToUtf16(gbk, length, reinterpret_cast<uint16_t*>(&text[0]), length);
    text.resize(units);
    return text;
}

std::string Narrow(const wchar_t* units, size_t count) {
    std::string text(2 * count, '\0');  // never more than two bytes a unit
    size_t written = 0;
    gbk::FromUtf16(Units(units), count, &text[0], text.size(), &written);
    text.resize(written);
    return text;
}

size_t NarrowLength(const wchar_t* units, size_t count) {
    return gbk::EncodedLength(Units(units), count);
}

size_t CopyNarrow(const wchar_t* units, size_t count, char* buffer, size_t size) {
    if (size == 0) return 0;
    size_t written = 0;
    gbk::FromUtf16(Units(units), count, buffer, size - 1, &written);
    buffer[written] = '\0';
    return written;
}

size_t CopyWide(const char* gbk, size_t length, wchar_t* buffer, size_t size) {
    if (size == 0) return 0;
    size_t units = gbk::ToUtf16(gbk, length, reinterpret_cast<uint16_t*>(buffer), size - 1);
    if (units > size - 1) units = size - 1;
    buffer[units] = L'\0';
    return units;
}

WideName::WideName(LPCSTR name) : isNumber_(IS_INTRESOURCE(name)), number_(name) {
    if (!isNumber_) text_ = Widen(name);
}

LPCWSTR WideName::get() const {
    // A null name is number 0 and stays null.
    return isNumber_ ? reinterpret_cast<LPCWSTR>(number_) : text_.c_str();
}

std::wstring WindowTextW(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

}  // namespace wide
