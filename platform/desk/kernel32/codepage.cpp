// MultiByteToWideChar and WideCharToMultiByte for code page 936 and UTF-8.
// The code page is always named, never taken from the host locale: program
// texts are GBK whatever the machine is set to.
#include <cstring>
#include <string>
#include <vector>

#include "platform/gbk_codec.h"
#include "platform/utf8_codec.h"
#include "platform/win32.h"

namespace {

constexpr UINT kCodePageGbk = 936;
constexpr uint16_t kReplacement = 0xFFFD;

// CP_ACP is the desk's ANSI code page, 936; 0 for a code page the desk lacks.
UINT KnownCodePage(UINT codePage) {
    if (codePage == CP_ACP || codePage == kCodePageGbk) return kCodePageGbk;
    if (codePage == CP_UTF8) return CP_UTF8;
    return 0;
}

bool IsAscii(const uint8_t* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (bytes[i] >= 0x80) return false;
    }
    return true;
}

// Multibyte to UTF-16. Strict: the first invalid or cut-off sequence fails
// the whole conversion. Otherwise code page 936 gives its default character
// (gbk_codec.h says for which bytes) and UTF-8 gives U+FFFD for each
// offending byte, as Windows does.
bool Decode(UINT codePage, const char* source, size_t length, bool strict,
            std::vector<uint16_t>* wide) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(source);
    wide->clear();
    if (IsAscii(bytes, length)) {
        wide->assign(bytes, bytes + length);
        return true;
    }
    if (codePage == kCodePageGbk) {
        // Never more units than bytes: measuring first is not needed.
        wide->resize(length);
        size_t units = strict ? gbk::ToUtf16Strict(source, length, wide->data(), length)
                              : gbk::ToUtf16(source, length, wide->data(), length);
        if (units == gbk::kInvalid) return false;
        wide->resize(units);
        return true;
    }
    for (size_t i = 0; i < length;) {
        uint32_t codePoint;
        size_t used = utf8::Decode(bytes + i, length - i, &codePoint);
        if (used == 0) {
            if (strict) return false;
            wide->push_back(kReplacement);
            ++i;
            continue;
        }
        if (codePoint > 0xFFFF) {
            codePoint -= 0x10000;
            wide->push_back(static_cast<uint16_t>(0xD800 | codePoint >> 10));
            wide->push_back(static_cast<uint16_t>(0xDC00 | (codePoint & 0x3FF)));
        } else {
            wide->push_back(static_cast<uint16_t>(codePoint));
        }
        i += used;
    }
    return true;
}

bool IsHighSurrogate(uint16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(uint16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 to multibyte. A character the code page cannot hold (or a lone
// surrogate) is replaced by `substitute`, or fails the conversion when
// `substitute` is null; `replaced` tells whether a substitute was used.
bool Encode(UINT codePage, const uint16_t* wide, size_t units, const char* substitute,
            std::string* text, bool* replaced) {
    text->clear();
    *replaced = false;
    bool ascii = true;
    for (size_t i = 0; i < units && ascii; ++i) ascii = wide[i] < 0x80;
    if (ascii) {
        text->assign(wide, wide + units);
        return true;
    }
    for (size_t i = 0; i < units;) {
        bool pair = false;
        bool done;
        if (codePage == CP_UTF8) {
            pair = i + 1 < units && IsHighSurrogate(wide[i]) && IsLowSurrogate(wide[i + 1]);
            uint32_t codePoint = wide[i];
            if (pair) codePoint = 0x10000 + ((wide[i] - 0xD800) << 10 | (wide[i + 1] - 0xDC00));
            // A lone surrogate has no UTF-8 form: Append refuses it.
            done = utf8::Append(codePoint, text);
        } else {
            // Code page 936 has nothing beyond the first plane: each half
            // of a pair is a unit without a form and is replaced on its own.
            uint8_t bytes[2];
            size_t width = gbk::EncodeChar(wide[i], bytes);
            text->append(reinterpret_cast<const char*>(bytes), width);
            done = width > 0;
        }
        if (!done) {
            if (substitute == nullptr) return false;
            text->append(substitute);
            *replaced = true;
        }
        i += pair ? 2 : 1;
    }
    return true;
}

// Hands a result to the caller the Win32 way: the needed size when the
// caller's size is 0, else the copy, or ERROR_INSUFFICIENT_BUFFER.
template <typename T>
int Deliver(const T* result, size_t count, T* target, int targetLength) {
    if (targetLength == 0) return static_cast<int>(count);
    if (count > static_cast<size_t>(targetLength)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (count > 0) std::memcpy(target, result, count * sizeof(T));
    return static_cast<int>(count);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR target,
                        int targetLength) {
    UINT known = KnownCodePage(codePage);
    if (known == 0 || source == nullptr || sourceLength == 0 || sourceLength < -1 ||
        targetLength < 0 || (target == nullptr && targetLength != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    size_t length =
        sourceLength == -1 ? std::strlen(source) + 1 : static_cast<size_t>(sourceLength);
    std::vector<uint16_t> wide;
    if (!Decode(known, source, length, (flags & MB_ERR_INVALID_CHARS) != 0, &wide)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return Deliver<WCHAR>(wide.data(), wide.size(), target, targetLength);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR target,
                        int targetLength, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    UINT known = KnownCodePage(codePage);
    if (known == 0 || source == nullptr || sourceLength == 0 || sourceLength < -1 ||
        targetLength < 0 || (target == nullptr && targetLength != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* substitute;
    std::string substituteGbk = "?";
    if (known == CP_UTF8) {
        // UTF-8 can hold every character: there is no default character to
        // ask for, only lone surrogates to refuse or replace.
        if (defaultChar != nullptr || usedDefaultChar != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if ((flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        substitute = (flags & WC_ERR_INVALID_CHARS) != 0 ? nullptr : "\xEF\xBF\xBD";
    } else {
        // The desk never maps a character to a look-alike, so "no best fit"
        // is what it always does.
        if ((flags & ~static_cast<DWORD>(WC_NO_BEST_FIT_CHARS)) != 0) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        // Windows takes one character from the default, a lead byte and
        // its trail byte or a single byte.
        if (defaultChar != nullptr && defaultChar[0] != 0) {
            size_t width =
                static_cast<uint8_t>(defaultChar[0]) >= 0x81 && defaultChar[1] != 0 ? 2 : 1;
            substituteGbk.assign(defaultChar, width);
        }
        substitute = substituteGbk.c_str();
    }
    size_t units = 0;
    if (sourceLength == -1) {
        while (source[units] != 0) ++units;
        ++units;
    } else {
        units = static_cast<size_t>(sourceLength);
    }
    std::string text;
    bool replaced = false;
    if (!Encode(known, source, units, substitute, &text, &replaced)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (usedDefaultChar != nullptr) *usedDefaultChar = replaced ? TRUE : FALSE;
    return Deliver<char>(text.data(), text.size(), target, targetLength);
}
