// Test input helpers that need nothing but the public API.
#include "tests/support/user_input.h"

namespace userinput {

POINT CentreOf(HWND hwnd) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    POINT centre = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(hwnd, &centre);
    return centre;
}

}  // namespace userinput
