#include "forms/window_rescale.h"

#include "forms/loaded_window.h"
#include "forms/private_messages.h"
#include "forms/window_table.h"
#include "forms/window_template.h"

namespace {

int Rescaled(int pixels, int from, int to) {
    return MulDiv(pixels, to, from);
}

// A control's rectangle in its parent's client co-ordinates.
RECT PlaceInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void RescaleWindow(UnitObject* window, int dpi, const RECT& suggested) {
    int from = window->dpi;
    window->dpi = dpi;
    SetWindowPos(window->hwnd, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    WindowTemplate* table = FindWindowTemplate(window->windowId);
    if (table == nullptr || from == dpi) return;
    for (uint32_t i = 1; i < table->unitCount; ++i) {
        UnitObject* control = LiveUnitObject(*table, i);
        if (control == nullptr || control->dpi != from) continue;
        // From the control's own rectangle, so that a program's moves since
        // loading are kept.
        RECT rect = PlaceInParent(control->hwnd);
        int left = Rescaled(rect.left, from, dpi);
        int top = Rescaled(rect.top, from, dpi);
        SetWindowPos(control->hwnd, nullptr, left, top,
                     Rescaled(rect.right, from, dpi) - left, Rescaled(rect.bottom, from, dpi) - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        control->dpi = dpi;
        SendMessageA(control->hwnd, kMsgScaleChanged, 0, 0);
    }
}
