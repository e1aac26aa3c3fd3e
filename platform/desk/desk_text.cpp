// GBK and UTF-8 conversions through iconv, naming the code page explicitly
// so that the host locale never matters.
#include "platform/desk/desk_text.h"

#include <iconv.h>

#include <cstdio>

namespace desk {
namespace {

// Converts one GBK character (1 or 2 bytes) with iconv; false if invalid.
bool ConvertOne(iconv_t cd, const char* in, size_t inLength, std::string* out) {
    char buffer[8];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = buffer;
    size_t inLeft = inLength;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
        return false;
    }
    out->append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
}

void AppendCodePoint(std::string* out, unsigned code) {
    if (code < 0x80) {
        out->push_back(static_cast<char>(code));
    } else {
        out->push_back(static_cast<char>(0xC0 | (code >> 6)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

std::string GbkToUtf8(const std::string& gbk, bool* invalid) {
    static iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string out;
    if (invalid != nullptr) *invalid = false;
    for (size_t i = 0; i < gbk.size();) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (i + 1 < gbk.size() && ConvertOne(cd, gbk.data() + i, 2, &out)) {
            i += 2;
            continue;
        }
        // Not a GBK character: keep the byte visible as U+00XX.
        AppendCodePoint(&out, c);
        if (invalid != nullptr) *invalid = true;
        ++i;
    }
    return out;
}

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) {
    static iconv_t cd = iconv_open("GBK", "UTF-8");
    gbk->clear();
    if (utf8.empty()) return true;
    std::string out(utf8.size() * 2 + 4, '\0');
    char* inPtr = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* outPtr = &out[0];
    size_t outLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
    out.resize(out.size() - outLeft);
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
        bool invalid = false;
        std::string one = GbkToUtf8(gbk.substr(i, 2), &invalid);
        if (!invalid && i + 1 < gbk.size()) {
            out += one;
            i += 2;
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
