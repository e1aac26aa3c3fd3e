// Unit cursors. A set longer than 10 bytes whose code is not -1 is tried
// as a cursor file image first; code -1 puts the image after the code word.
#include "forms/unit_cursor.h"

#include <algorithm>
#include <vector>

#include "forms/application.h"
#include "forms/icon_image.h"
#include "forms/mouse_cursor.h"

namespace {

std::vector<HCURSOR>& OwnedCursors() {
    static std::vector<HCURSOR> owned;
    return owned;
}

HCURSOR Owned(HCURSOR cursor) {
    if (cursor != nullptr) OwnedCursors().push_back(cursor);
    return cursor;
}

}  // namespace

HCURSOR LoadUnitCursor(const uint8_t* set, uint32_t length) {
    if (set == nullptr || length == 0) return nullptr;
    int32_t code = CursorSetCode(set, length);
    if (code == kCursorFileImage)
        return length > 4 ? Owned(CursorFromFileImage(set + 4, length - 4)) : nullptr;
    if (length > 10) {
        if (HCURSOR image = CursorFromFileImage(set, length)) return Owned(image);
    }
    int32_t number = CursorNumber(code);
    if (number == 0) return nullptr;
    if (number == 14) {
        // The hand comes from the program's own resources; without them the
        // platform's hand serves.
        HCURSOR hand = LoadCursorA(g_app.instance, MAKEINTRESOURCEA(kHandCursorResource));
        if (hand != nullptr) return hand;
    }
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorPlatformId(number)));
}

void ReleaseUnitCursor(HCURSOR cursor) {
    std::vector<HCURSOR>& owned = OwnedCursors();
    auto it = std::find(owned.begin(), owned.end(), cursor);
    if (it == owned.end()) return;
    owned.erase(it);
    DestroyCursor(cursor);
}
