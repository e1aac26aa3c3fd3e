// GBK <-> UTF-8 through UTF-16. The GBK side goes through the platform's
// code page 936 services; the UTF-8 side is done here, unit by unit, so that
// the texts taken and refused are the same on every platform.
#include "sqlitelib/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/win32.h"

namespace sqlitelib {
namespace {

constexpr UINT kProgramCodePage = 936;

char* NewEmptyText() {
    char* text = static_cast<char*>(std::malloc(1));
    if (text != nullptr) text[0] = '\0';
    return text;
}

bool IsContinuation(uint8_t byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

// Decodes one- to three-byte sequences into UTF-16 units (a zero unit ends
// the text). `wide` holds at least strlen(utf8) + 1 units.
bool DecodeUtf8(const uint8_t* utf8, WCHAR* wide) {
    size_t n = 0;
    for (size_t i = 0; utf8[i] != 0;) {
        uint8_t lead = utf8[i];
        if (lead < 0x80) {
            wide[n++] = lead;
            i += 1;
        } else if ((lead & 0xE0) == 0xC0) {
            // A zero byte is no continuation, so a cut-off text stops here.
            if (!IsContinuation(utf8[i + 1])) return false;
            wide[n++] = static_cast<WCHAR>(((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
            i += 2;
        } else if ((lead & 0xF0) == 0xE0) {
            if (!IsContinuation(utf8[i + 1]) || !IsContinuation(utf8[i + 2])) return false;
            wide[n++] = static_cast<WCHAR>(((lead & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) |
                                           (utf8[i + 2] & 0x3F));
            i += 3;
        } else {
            return false;
        }
    }
    wide[n] = 0;
    return true;
}

// Encodes UTF-16 units up to the first zero one by one (GBK has no character
// outside the basic plane, so no pairs arrive here). `utf8` holds 3 bytes a
// unit and the terminator.
void EncodeUtf8(const WCHAR* wide, char* utf8) {
    uint8_t* out = reinterpret_cast<uint8_t*>(utf8);
    for (; *wide != 0; ++wide) {
        uint32_t unit = *wide;
        if (unit < 0x80) {
            *out++ = static_cast<uint8_t>(unit);
        } else if (unit < 0x800) {
            *out++ = static_cast<uint8_t>(0xC0 | (unit >> 6));
            *out++ = static_cast<uint8_t>(0x80 | (unit & 0x3F));
        } else {
            *out++ = static_cast<uint8_t>(0xE0 | (unit >> 12));
            *out++ = static_cast<uint8_t>(0x80 | ((unit >> 6) & 0x3F));
            *out++ = static_cast<uint8_t>(0x80 | (unit & 0x3F));
        }
    }
    *out = 0;
}

}  // namespace

bool IsAsciiText(const char* text) {
    if (text == nullptr) return true;
    for (const uint8_t* p = reinterpret_cast<const uint8_t*>(text); *p != 0; ++p) {
        if (*p >= 0x80) return false;
    }
    return true;
}

char* ToUtf8(const char* text) {
    if (text == nullptr || text[0] == '\0') return NewEmptyText();
    // A GBK character is one or two bytes and always one UTF-16 unit, so the
    // byte count plus the terminator is room enough without measuring first.
    size_t units = std::strlen(text) + 1;
    WCHAR* wide = static_cast<WCHAR*>(std::malloc(units * sizeof(WCHAR)));
    if (wide == nullptr) return nullptr;
    if (MultiByteToWideChar(kProgramCodePage, MB_ERR_INVALID_CHARS, text, -1, wide,
                            static_cast<int>(units)) == 0) {
        std::free(wide);
        return nullptr;
    }
    char* utf8 = static_cast<char*>(std::malloc(3 * units + 3));
    if (utf8 != nullptr) EncodeUtf8(wide, utf8);
    std::free(wide);
    return utf8;
}

char* FromUtf8(const char* utf8) {
    if (utf8 == nullptr || utf8[0] == '\0') return NewEmptyText();
    size_t length = std::strlen(utf8);
    WCHAR* wide = static_cast<WCHAR*>(std::malloc((length + 1) * sizeof(WCHAR)));
    if (wide == nullptr) return nullptr;
    if (!DecodeUtf8(reinterpret_cast<const uint8_t*>(utf8), wide)) {
        std::free(wide);
        return nullptr;
    }
    // Every unit becomes at most two GBK bytes. "No best fit": a character
    // GBK lacks must fail, not turn into a look-alike.
    size_t units = 0;
    while (wide[units] != 0) ++units;
    size_t size = 2 * units + 1;
    char* text = static_cast<char*>(std::malloc(size));
    BOOL usedDefault = FALSE;
    if (text == nullptr ||
        WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, text,
                            static_cast<int>(size), nullptr, &usedDefault) == 0 ||
        usedDefault) {
        std::free(text);
        text = nullptr;
    }
    std::free(wide);
    return text;
}

EngineText::EngineText(const char* text) : text_(nullptr), converted_(nullptr) {
    if (IsAsciiText(text)) {
        text_ = text != nullptr ? text : "";
    } else {
        converted_ = ToUtf8(text);
        text_ = converted_;
    }
}

EngineText::~EngineText() {
    std::free(converted_);
}

}  // namespace sqlitelib
