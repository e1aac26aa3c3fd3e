// GBK texts as terminal characters, their widths and line breaking.
#include "platform/desk/frontends/terminal/text.h"

#include "platform/desk/gdi32/gdi.h"
#include "platform/desk/kernel32/text.h"

namespace desk {
namespace {

// The first code point of a UTF-8 text (the desk's conversions only make
// well-formed UTF-8).
wchar_t FirstCodePoint(const std::string& utf8) {
    if (utf8.empty()) return L' ';
    unsigned char lead = static_cast<unsigned char>(utf8[0]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    unsigned long code = extra == 0 ? lead : lead & (0x3Fu >> extra);
    for (int i = 1; i <= extra && i < static_cast<int>(utf8.size()); ++i)
        code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
    return static_cast<wchar_t>(code);
}

}  // namespace

std::vector<TermChar> TermChars(const std::string& gbk) {
    std::vector<TermChar> chars;
    for (size_t i = 0; i < gbk.size();) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        size_t length = IsLeadByte(c) && i + 1 < gbk.size() ? 2 : 1;
        wchar_t ch = L' ';
        if (c >= 0x20 && c != 0x7F) ch = FirstCodePoint(GbkToUtf8(gbk.substr(i, length)));
        chars.push_back(TermChar{ch, static_cast<int>(length), i, length});
        i += length;
    }
    return chars;
}

int CellsOf(const std::string& gbk) {
    int cells = 0;
    for (const TermChar& c : TermChars(gbk)) cells += c.cells;
    return cells;
}

std::vector<std::string> WrapText(const std::string& gbk, int width) {
    if (width < 2) width = 2;
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = gbk.find_first_of("\r\n", start);
        std::string line = gbk.substr(start, end == std::string::npos ? end : end - start);
        // Break the line where it overflows, preferring the last blank.
        while (CellsOf(line) > width) {
            size_t cut = 0;
            size_t blank = std::string::npos;
            int used = 0;
            for (const TermChar& c : TermChars(line)) {
                if (used + c.cells > width) break;
                used += c.cells;
                cut = c.offset + c.length;
                if (c.ch == L' ' && used > width / 2) blank = cut;
            }
            if (blank != std::string::npos) cut = blank;
            lines.push_back(line.substr(0, cut));
            line.erase(0, cut);
        }
        lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + (gbk.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

}  // namespace desk
