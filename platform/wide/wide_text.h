// The layer's text helpers over the two GBK routines: whole texts both ways,
// copies into callers' fixed buffers the Win32 way (whole characters,
// zero-terminated), and names that may be a number instead of a text.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace wide {

static_assert(sizeof(wchar_t) == 2, "Windows' UTF-16 units");

std::wstring Widen(const char* gbk);  // null is the empty text
std::wstring Widen(const char* gbk, size_t length);
std::string Narrow(const wchar_t* units, size_t count);
inline std::string Narrow(const std::wstring& text) {
    return Narrow(text.data(), text.size());
}

// GBK bytes of `count` units.
size_t NarrowLength(const wchar_t* units, size_t count);

// Copies the GBK form of `count` units into `buffer` of `size` bytes: as
// many whole characters as leave room for the zero, then the zero. Answers
// the bytes copied before the zero (0 when size is 0, nothing written).
size_t CopyNarrow(const wchar_t* units, size_t count, char* buffer, size_t size);
// The same the other way, `size` in units.
size_t CopyWide(const char* gbk, size_t length, wchar_t* buffer, size_t size);

// A class, property or resource name: a text, or a number in the pointer
// (MAKEINTRESOURCE, MAKEINTATOM), which passes unchanged.
class WideName {
  public:
    explicit WideName(LPCSTR name);
    LPCWSTR get() const;

  private:
    bool isNumber_;
    LPCSTR number_;
    std::wstring text_;
};

// The text of a window as its procedures give it (WM_GETTEXT), in UTF-16.
std::wstring WindowTextW(HWND hwnd);

}  // namespace wide
