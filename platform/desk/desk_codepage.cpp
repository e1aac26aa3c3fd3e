// MultiByteToWideChar and WideCharToMultiByte for code page 936 and UTF-8,
// done with iconv. The code page is always named, never taken from the host
// locale: program texts are GBK whatever the machine is set to.
#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

constexpr UINT kCodePageGbk = 936;
constexpr uint16_t kReplacement = 0xFFFD;

// iconv's "CP936" is GBK as Windows defines code page 936 (0x80 is the euro
// sign); a C library without that name still has plain GBK.
const char* IconvName(UINT codePage) {
    return codePage == CP_UTF8 ? "UTF-8" : "CP936";
}

// One descriptor per direction and code page, opened on first use and kept:
// the database library converts every field of a query, so opening one per
// call would dominate. The desk is single-threaded.
iconv_t Descriptor(UINT codePage, bool toWide) {
    static iconv_t cache[2][2] = {{reinterpret_cast<iconv_t>(-1), reinterpret_cast<iconv_t>(-1)},
                                  {reinterpret_cast<iconv_t>(-1), reinterpret_cast<iconv_t>(-1)}};
    iconv_t& cd = cache[codePage == CP_UTF8 ? 1 : 0][toWide ? 1 : 0];
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        const char* name = IconvName(codePage);
        cd = toWide ? iconv_open("UTF-16LE", name) : iconv_open(name, "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1) && codePage != CP_UTF8) {
            cd = toWide ? iconv_open("UTF-16LE", "GBK") : iconv_open("GBK", "UTF-16LE");
        }
    }
    return cd;
}

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
// the whole conversion. Otherwise each offending byte becomes U+FFFD (Windows
// uses a code-page-dependent substitute there; nothing here relies on it).
bool Decode(UINT codePage, const char* source, size_t length, bool strict,
            std::vector<uint16_t>* wide) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(source);
    wide->clear();
    if (IsAscii(bytes, length)) {
        wide->assign(bytes, bytes + length);
        return true;
    }
    iconv_t cd = Descriptor(codePage, true);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    // No multibyte sequence yields more units than it has bytes, and a
    // substitute replaces exactly one byte, so this never runs out of room.
    wide->resize(length);
    char* in = const_cast<char*>(source);
    size_t inLeft = length;
    char* out = reinterpret_cast<char*>(wide->data());
    size_t outLeft = length * sizeof(uint16_t);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
        if (strict || (errno != EILSEQ && errno != EINVAL)) return false;
        uint16_t substitute = kReplacement;
        std::memcpy(out, &substitute, sizeof substitute);
        out += sizeof substitute;
        outLeft -= sizeof substitute;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    wide->resize(wide->size() - outLeft / sizeof(uint16_t));
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
    iconv_t cd = Descriptor(codePage, false);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::vector<char> buffer(units * 3 + 16);
    char* in = reinterpret_cast<char*>(const_cast<uint16_t*>(wide));
    size_t inLeft = units * sizeof(uint16_t);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
        text->append(buffer.data(), static_cast<size_t>(out - buffer.data()));
        if (done != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        if (errno != EILSEQ && errno != EINVAL) return false;
        if (substitute == nullptr) return false;
        // Skip the one character iconv stopped at: a surrogate pair counts once.
        const uint16_t* at = reinterpret_cast<const uint16_t*>(in);
        size_t skip = 1;
        if (inLeft >= 4 && IsHighSurrogate(at[0]) && IsLowSurrogate(at[1])) skip = 2;
        in += skip * sizeof(uint16_t);
        inLeft -= skip * sizeof(uint16_t);
        text->append(substitute);
        *replaced = true;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
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
        // iconv never maps a character to a look-alike, so "no best fit" is
        // what the desk always does.
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
