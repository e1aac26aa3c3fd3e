// What a test may need to know of the system it runs on: whether it is
// Wine (whose differences from the documented behaviour are marked where a
// test meets them, never skipped), and the ANSI code page texts go through.
#pragma once

namespace sut {

// True when the program runs under Wine; false on the desk and on Windows.
bool UnderWine();

// Marks, in the test's output, an expectation that Wine is known to break,
// with the reason; the test then checks what Wine does instead, so that a
// change in Wine shows as a failure. The bench counts these lines.
void NoteWineDifference(const char* reason);

// The value to expect: the documented one, or under Wine Wine's own,
// noting the reason as above.
template <typename T>
T Documented(T documented, T wine, const char* whyWineDiffers) {
    if (!UnderWine()) return documented;
    NoteWineDifference(whyWineDiffers);
    return wine;
}

// The ANSI code page: always 936 on the desk; the system locale's on Windows.
unsigned AnsiCodePage();

}  // namespace sut
