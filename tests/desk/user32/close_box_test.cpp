// desk-only: the desk's own caption; on the bench Wine (no window manager) takes no clicks on a caption and keeps a disabled close box
// The close box of the desk's caption: a click on it asks the window to
// close, and a system menu without the close command has none.
#include "tests/desk/msg_recorder.h"
#include "tests/support/user_input.h"

using namespace desktest;

namespace {

class CloseBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { DestroyAll(); }
    void TearDown() override { DestroyAll(); }
};

TEST_F(CloseBoxTest, TheCloseBoxSendsTheCloseCommand) {
    HWND w = MakeTopLevel();
    Pump();
    POINT box;
    ASSERT_TRUE(userinput::CloseBoxPoint(w, &box));
    EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)), HTCLOSE);
    ClearLog();
    userinput::Click(box);
    Pump();
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(Sent(w, WM_NCLBUTTONDOWN).size(), 1u);
    ASSERT_EQ(Sent(w, WM_SYSCOMMAND).size(), 1u);
    EXPECT_EQ(Sent(w, WM_SYSCOMMAND)[0].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(Sent(w, WM_CLOSE).size(), 1u);
}

TEST_F(CloseBoxTest, TakingCloseOutOfTheSystemMenuRemovesTheCloseBox) {
    HWND w = MakeTopLevel();
    POINT box;
    EXPECT_TRUE(userinput::CloseBoxPoint(w, &box));
    HMENU system = GetSystemMenu(w, FALSE);
    EXPECT_EQ(GetSystemMenu(w, FALSE), system);
    EXPECT_TRUE(DeleteMenu(system, SC_CLOSE, MF_BYCOMMAND));
    EXPECT_FALSE(userinput::CloseBoxPoint(w, &box));
    GetSystemMenu(w, TRUE);  // back to the standard menu
    EXPECT_TRUE(userinput::CloseBoxPoint(w, &box));
}

}  // namespace
