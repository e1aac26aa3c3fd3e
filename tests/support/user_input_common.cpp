// Test input helpers that need nothing but the public API.
#include "tests/support/user_input.h"

namespace userinput {

POINT CentreOf(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool CloseBoxPoint(HWND hwnd, POINT* screen) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    // The caption's buttons sit at its right end: scan its middle row from
    // the right edge inwards.
    int frame = GetSystemMetrics(SM_CYFRAME);
    int y = r.top + frame + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = r.right - 1; x > r.right - 100 && x > r.left; --x) {
        LRESULT part = SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (part == HTCLOSE) {
            // The middle of the box, not its edge.
            int left = x;
            while (left > r.left &&
                   SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y)) == HTCLOSE)
                --left;
            *screen = POINT{(left + x) / 2, y};
            return true;
        }
    }
    return false;
}

}  // namespace userinput
