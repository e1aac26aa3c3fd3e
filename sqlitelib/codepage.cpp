// GBK <-> UTF-8 character by character, both sides through the platform's
// own codecs: no system converter is asked, so the texts taken and refused
// are the same on every platform and whatever code pages a system has.
#include "sqlitelib/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/gbk_codec.h"
#include "platform/utf8_codec.h"

namespace sqlitelib {
namespace {

char* NewEmptyText() {
    char* text = static_cast<char*>(std::malloc(1));
    if (text != nullptr) text[0] = '\0';
    return text;
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
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
    size_t length = std::strlen(text);
    // Every GBK character is one unit of the first plane, at most three
    // UTF-8 bytes, and takes at least one byte: three bytes a byte is room
    // enough without measuring first.
    uint8_t* utf8 = static_cast<uint8_t*>(std::malloc(3 * length + 1));
    if (utf8 == nullptr) return nullptr;
    size_t out = 0;
    for (size_t i = 0; i < length;) {
        uint16_t unit;
        size_t used = gbk::DecodeChar(bytes + i, length - i, &unit);
        size_t width = used > 0 ? utf8::Encode(unit, utf8 + out) : 0;
        if (width == 0) {
            std::free(utf8);
            return nullptr;
        }
        i += used;
        out += width;
    }
    utf8[out] = 0;
    return reinterpret_cast<char*>(utf8);
}

char* FromUtf8(const char* utf8) {
    if (utf8 == nullptr || utf8[0] == '\0') return NewEmptyText();
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(utf8);
    size_t length = std::strlen(utf8);
    // A GBK character is never longer than the UTF-8 sequence it comes from.
    uint8_t* text = static_cast<uint8_t*>(std::malloc(length + 1));
    if (text == nullptr) return nullptr;
    size_t out = 0;
    for (size_t i = 0; i < length;) {
        uint32_t codePoint = 0;
        size_t used = utf8::Decode(bytes + i, length - i, &codePoint);
        // No look-alikes: a character GBK lacks fails the text, and GBK has
        // nothing beyond the first plane.
        size_t width = used > 0 && codePoint <= 0xFFFF
                           ? gbk::EncodeChar(static_cast<uint16_t>(codePoint), text + out)
                           : 0;
        if (width == 0) {
            std::free(text);
            return nullptr;
        }
        i += used;
        out += width;
    }
    text[out] = 0;
    return reinterpret_cast<char*>(text);
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
