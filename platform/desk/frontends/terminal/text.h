// Program texts on the terminal. A GBK character becomes one terminal
// character that takes as many cells as the character is wide in the desk's
// font model: a single-byte character one cell, a double-byte one two.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace desk {

struct TermChar {
    wchar_t ch;     // what the terminal shows (Unicode)
    int cells;      // cells it takes: 2 for a double-byte character, else 1
    size_t offset;  // byte offset of the character in the GBK text
    size_t length;  // its bytes in the GBK text
};

// The characters of a GBK text. Control characters show as a blank; a byte
// that is not GBK shows as U+00XX, as the log writes it.
std::vector<TermChar> TermChars(const std::string& gbk);
// Cells a GBK text takes.
int CellsOf(const std::string& gbk);

// The lines of a text: split at CR LF, LF or CR, and each line broken so
// that it takes at most `width` cells (never inside a character; at a blank
// when the line has one in its second half).
std::vector<std::string> WrapText(const std::string& gbk, int width);

}  // namespace desk
