// Fonts and text drawing through the W functions: a font's face name is
// converted both ways, texts are drawn and measured in UTF-16.
#define DROPEDIT_WIDE_LAYER
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/wide/wide_text.h"
#include "platform/win32_wide.h"

namespace wide {
namespace {

// The face name fits LF_FACESIZE units with its zero either way: a GBK
// name of at most 31 bytes has at most 31 units.
void FontToWide(const LOGFONTA& from, LOGFONTW* to) {
    std::memcpy(to, &from, offsetof(LOGFONTA, lfFaceName));
    CopyWide(from.lfFaceName, strnlen(from.lfFaceName, LF_FACESIZE), to->lfFaceName, LF_FACESIZE);
}

void FontToAnsi(const LOGFONTW& from, LOGFONTA* to) {
    std::memcpy(to, &from, offsetof(LOGFONTW, lfFaceName));
    std::memset(to->lfFaceName, 0, sizeof to->lfFaceName);
    CopyNarrow(from.lfFaceName, wcsnlen(from.lfFaceName, LF_FACESIZE), to->lfFaceName, LF_FACESIZE);
}

std::wstring WideOf(LPCSTR text, int length) {
    if (text == nullptr) return std::wstring();
    return length < 0 ? Widen(text) : Widen(text, static_cast<size_t>(length));
}

}  // namespace

static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName),
              "the two font records differ only in the face name");

HFONT CreateFontIndirectA(const LOGFONTA* font) {
    if (font == nullptr) return CreateFontIndirectW(nullptr);
    LOGFONTW w;
    FontToWide(*font, &w);
    return CreateFontIndirectW(&w);
}

int GetObjectA(HANDLE object, int size, LPVOID buffer) {
    if (GetObjectType(object) != OBJ_FONT) return GetObjectW(object, size, buffer);
    LOGFONTW w;
    if (GetObjectW(object, sizeof w, &w) == 0) return 0;
    if (buffer == nullptr) return sizeof(LOGFONTA);
    LOGFONTA ansi;
    FontToAnsi(w, &ansi);
    int copied = size < static_cast<int>(sizeof ansi) ? size : static_cast<int>(sizeof ansi);
    if (copied <= 0) return 0;
    std::memcpy(buffer, &ansi, static_cast<size_t>(copied));
    return copied;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    std::wstring w = WideOf(text, length < 0 ? 0 : length);
    return GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), size);
}

int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
    // DT_MODIFYSTRING would write an ellipsis back into the caller's text;
    // the runtime draws its own copies and never asks for it.
    std::wstring w = WideOf(text, length);
    return DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), rect, format & ~DT_MODIFYSTRING);
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    std::wstring w = WideOf(text, length < 0 ? 0 : length);
    return TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

}  // namespace wide
