// desk-only: reads what the desk's edit control painted from its own paint record
// What the EDIT control paints: the brush and text colour its parent gives
// through WM_CTLCOLOREDIT, and the password character in place of the text.
#include "platform/desk/user32/window.h"
#include "tests/desk/msg_recorder.h"

using namespace desktest;

namespace {

class EditPaintTest : public ::testing::Test {
  protected:
    void SetUp() override { DestroyAll(); }
    void TearDown() override { DestroyAll(); }
};

TEST_F(EditPaintTest, PaintingUsesTheBrushAndColoursTheParentGives) {
    struct Local {
        static HBRUSH Brush() {
            static HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
            return brush;
        }
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_CTLCOLOREDIT) {
                SetTextColor(reinterpret_cast<HDC>(wParam), RGB(200, 0, 0));
                return reinterpret_cast<LRESULT>(Brush());
            }
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Local::Proc;
    wc.lpszClassName = "DeskTestColours";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "DeskTestColours", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "abc", WS_CHILD | WS_VISIBLE | ES_PASSWORD, 5, 5, 80, 20,
                                owner, nullptr, nullptr, nullptr);
    Pump();
    const desk::PaintRecord& paint = desk::Find(edit)->paint;
    EXPECT_GE(paint.count, 1);
    EXPECT_EQ(paint.background, Local::Brush());
    EXPECT_EQ(paint.textColor, RGB(200, 0, 0));
    EXPECT_EQ(paint.text, "***");  // the password character is shown, not the text
    EXPECT_EQ(TextOf(edit), "abc");
    EXPECT_EQ(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0), '*');
    SendMessageA(edit, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD, 0);
    Pump();
    EXPECT_EQ(desk::Find(edit)->paint.text, "abc");
}

}  // namespace
