// Laying windows out on the character grid, and finding what lies under a
// cell. Everything is computed afresh from the window records at each
// drawing, so the grid never holds state of its own.
#include "platform/desk/frontends/terminal/layout.h"

namespace desk {
namespace {

// Division rounding toward minus infinity: a control just left of the
// client area lies in the column left of it, not in column 0.
int FloorDiv(int value, int divisor) {
    int q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

int CeilDiv(int value, int divisor) {
    return -FloorDiv(-value, divisor);
}

WindowBox BoxOf(const Window& w) {
    WindowBox box = {};
    box.hwnd = w.handle;
    RECT client = ClientArea(w);
    box.clientOrigin = ClientOrigin(w);
    box.client.cols = CeilDiv(client.right - client.left, kPixelsPerColumn);
    box.client.rows = CeilDiv(client.bottom - client.top, kPixelsPerRow);
    box.frame.cols = box.client.cols + 2;
    box.frame.rows = box.client.rows + 2;
    POINT closePoint;
    box.closeBox = CloseBoxPoint(w, &closePoint);
    return box;
}

void Place(WindowBox* box, int col, int row) {
    box->frame.col = col;
    box->frame.row = row;
    box->client.col = col + 1;
    box->client.row = row + 1;
}

const Window* DeepestChildAt(const WindowBox& box, const Window& parent, int col, int row) {
    for (HWND child : parent.children) {  // top of the Z order first
        const Window* c = Find(child);
        if (c == nullptr || !(c->style & WS_VISIBLE)) continue;
        if (!ControlCells(box, *c).Contains(col, row)) continue;
        const Window* deeper = DeepestChildAt(box, *c, col, row);
        return deeper != nullptr ? deeper : c;
    }
    return nullptr;
}

}  // namespace

ScreenLayout LayOutScreen(int cols, int rows) {
    ScreenLayout layout = {{}, -1, 0, 0};
    std::vector<HWND> tops = TopLevelWindows();  // top first
    HWND anchor = GetActiveWindow();
    if (anchor == nullptr || !IsWindowVisible(anchor)) anchor = nullptr;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        const Window* w = Find(*it);
        if (w == nullptr || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE)) continue;
        layout.windows.push_back(BoxOf(*w));
    }
    if (layout.windows.empty()) return layout;
    layout.anchor = static_cast<int>(layout.windows.size()) - 1;  // the topmost
    for (size_t i = 0; i < layout.windows.size(); ++i) {
        if (layout.windows[i].hwnd == anchor) layout.anchor = static_cast<int>(i);
    }
    WindowBox& centre = layout.windows[static_cast<size_t>(layout.anchor)];
    layout.needCols = centre.frame.cols;
    layout.needRows = centre.frame.rows;
    int col = cols > centre.frame.cols ? (cols - centre.frame.cols) / 2 : 0;
    int row = rows > centre.frame.rows ? (rows - centre.frame.rows) / 2 : 0;
    RECT anchorRect = ScreenRect(*Find(centre.hwnd));
    for (WindowBox& box : layout.windows) {
        RECT r = ScreenRect(*Find(box.hwnd));
        Place(&box, col + FloorDiv(r.left - anchorRect.left, kPixelsPerColumn),
              row + FloorDiv(r.top - anchorRect.top, kPixelsPerRow));
    }
    return layout;
}

bool AnchorFits(const ScreenLayout& layout, int cols, int rows) {
    return layout.needCols <= cols && layout.needRows <= rows;
}

CellBox ControlCells(const WindowBox& box, const Window& control) {
    RECT r = ScreenRect(control);
    int left = FloorDiv(r.left - box.clientOrigin.x, kPixelsPerColumn);
    int right = FloorDiv(r.right - box.clientOrigin.x, kPixelsPerColumn);
    int top = FloorDiv(r.top - box.clientOrigin.y, kPixelsPerRow);
    int bottom = CeilDiv(r.bottom - box.clientOrigin.y, kPixelsPerRow);
    // Even the narrowest control keeps one cell, so that it can be seen.
    if (right <= left) right = left + 1;
    if (bottom <= top) bottom = top + 1;
    return CellBox{box.client.col + left, box.client.row + top, right - left, bottom - top};
}

int TextRow(const WindowBox& box, const Window& control) {
    RECT r = ScreenRect(control);
    int middle = (r.top + r.bottom) / 2 - box.clientOrigin.y;
    return box.client.row + FloorDiv(middle, kPixelsPerRow);
}

POINT PixelOfCell(const WindowBox& box, int col, int row) {
    return POINT{
        box.clientOrigin.x + (col - box.client.col) * kPixelsPerColumn + kPixelsPerColumn / 2,
        box.clientOrigin.y + (row - box.client.row) * kPixelsPerRow + kPixelsPerRow / 2};
}

CellHit HitCell(const ScreenLayout& layout, int col, int row) {
    for (auto it = layout.windows.rbegin(); it != layout.windows.rend(); ++it) {
        const WindowBox& box = *it;
        if (!box.frame.Contains(col, row)) continue;
        if (box.client.Contains(col, row)) {
            const Window* w = Find(box.hwnd);
            const Window* child = w != nullptr ? DeepestChildAt(box, *w, col, row) : nullptr;
            return CellHit{CellHit::kClient, &box, child != nullptr ? child->handle : nullptr};
        }
        // The close box is drawn as "[X]" just inside the top right corner.
        int right = box.frame.col + box.frame.cols - 1;
        if (box.closeBox && row == box.frame.row && col >= right - 3 && col < right)
            return CellHit{CellHit::kCloseBox, &box, nullptr};
        return CellHit{CellHit::kFrame, &box, nullptr};
    }
    return CellHit{CellHit::kNothing, nullptr, nullptr};
}

}  // namespace desk
