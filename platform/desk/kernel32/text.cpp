// GBK and UTF-8 conversions, naming the code page explicitly so that the
// host locale never matters.
#include "platform/desk/kernel32/text.h"

#include <cstdio>

#include "platform/gbk_codec.h"
#include "platform/utf8_codec.h"

namespace desk {

std::string GbkToUtf8(const std::string& gbk, bool* invalid) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(gbk.data());
    std::string out;
    if (invalid != nullptr) *invalid = false;
    for (size_t i = 0; i < gbk.size();) {
        uint16_t unit;
        size_t used = gbk::DecodeChar(bytes + i, gbk.size() - i, &unit);
        if (used > 0) {
            utf8::Append(unit, &out);
            i += used;
            continue;
        }
        // Not a GBK character: keep the byte visible as U+00XX.
        utf8::Append(bytes[i], &out);
        if (invalid != nullptr) *invalid = true;
        ++i;
    }
    return out;
}

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t codePoint;
        size_t used = utf8::Decode(bytes + i, utf8.size() - i, &codePoint);
        // Code page 936 holds nothing beyond the first plane.
        if (used == 0 || codePoint > 0xFFFF) return false;
        uint8_t pair[2];
        size_t width = gbk::EncodeChar(static_cast<uint16_t>(codePoint), pair);
        if (width == 0) return false;
        out.append(reinterpret_cast<const char*>(pair), width);
        i += used;
    }
    *gbk = out;
    return true;
}

std::string HostPath(const char* windowsPath) {
    std::string utf8 = GbkToUtf8(windowsPath == nullptr ? "" : windowsPath);
    // After conversion a 0x5C byte can only be a real backslash, never the
    // trail byte of a double-byte character.
    for (char& c : utf8) {
        if (c == '\\') c = '/';
    }
    return utf8;
}

std::string ProgramPath(const std::string& hostPath) {
    std::string gbk;
    if (!Utf8ToGbk(hostPath, &gbk)) gbk = hostPath;
    // Replace separators in the GBK form character by character, so that a
    // trail byte 0x2F is never touched (GBK trail bytes start at 0x40).
    for (size_t i = 0; i < gbk.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c >= 0x81 && i + 1 < gbk.size()) {
            ++i;
        } else if (c == '/') {
            gbk[i] = '\\';
        }
    }
    return gbk;
}

std::string JsonText(const std::string& gbk) {
    std::string out = "\"";
    for (size_t i = 0; i < gbk.size();) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            switch (c) {
                case '"': out += "\\\""; break;
                case '\\': out += "\\\\"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                case '\t': out += "\\t"; break;
                default:
                    if (c < 0x20) {
                        char escape[8];
                        std::snprintf(escape, sizeof escape, "\\u%04x", c);
                        out += escape;
                    } else {
                        out.push_back(static_cast<char>(c));
                    }
            }
            ++i;
            continue;
        }
        // One character at a time, whatever its length: a single-byte
        // character (0x80, 0xFF) must not swallow or spoil its neighbour.
        uint16_t unit;
        size_t used = gbk::DecodeChar(reinterpret_cast<const uint8_t*>(gbk.data()) + i,
                                      gbk.size() - i, &unit);
        if (used > 0) {
            utf8::Append(unit, &out);
            i += used;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u00%02X", c);
            out += escape;
            ++i;
        }
    }
    return out + "\"";
}

}  // namespace desk
