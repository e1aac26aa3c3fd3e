// The window's menu bar from its menu item records, the events its items
// raise, its rebuilding after property writes, and a window whose close
// command is not allowed.
#include "forms/window_menu.h"

#include "forms/property_access.h"
#include "live_fixture.h"
#include "runtime/memory.h"

namespace {

constexpr uint32_t kOpenItem = 0x26010021;
constexpr uint32_t kHiddenItem = 0x26010022;

MenuItemSource Item(uint32_t id, const char* caption, Word flags, Word handler) {
    MenuItemSource item;
    item.id = id;
    item.caption = caption;
    item.menuFlags = flags;
    item.handlerOffset = handler;
    return item;
}

std::vector<uint8_t> WindowWithMenu(int closeAllowed) {
    LiveWindowSource live;
    WindowProps props;
    props.caption = "带菜单";
    props.closeAllowed = closeAllowed;
    live.window.propertyBlock = WriteWindowProps(props);
    WindowSource source;
    source.windowId = kLiveWindowId;
    AddUnit(&source, live.window);
    AddMenuItem(&source, Item(kOpenItem, "打开", kMenuChecked, HandlerAddress(Recorder<1, 0>)));
    AddMenuItem(&source, Item(kHiddenItem, "隐藏的", kMenuHidden, HandlerAddress(Recorder<2, 0>)));
    AddUnit(&source, live.label);
    return WriteTemplateSegment({source});
}

class WindowMenuTest : public LiveWindowTest {
  protected:
    void LoadMenuWindow(int closeAllowed = 1) {
        StartWith(WindowWithMenu(closeAllowed));
        template_ = FindWindowTemplate(kLiveWindowId);
        ASSERT_EQ(LoadWindow(template_, 0, 0, nullptr), 1);
        hwnd_ = FindMainHwnd();
        Events().clear();
    }
};

}  // namespace

TEST_F(WindowMenuTest, VisibleItemsMakeTheMenuBarAndChoosingOneRaisesItsEvent) {
    LoadMenuWindow();
    HMENU menu = GetMenu(hwnd_);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 1) << "the hidden item is left out";
    EXPECT_EQ(CheckMenuItem(menu, kMenuCommandBase + 1, MF_BYCOMMAND | MF_CHECKED),
              static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(GetDlgCtrlID(GetWindow(hwnd_, GW_CHILD)), 100) << "menu items take no control id";

    SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(kMenuCommandBase + 1, 0), 0);
    EXPECT_EQ(Events(), EventLog({{1, 0}}));
}

TEST_F(WindowMenuTest, MenuItemPropertiesChangeTheRecordAndRebuildTheMenu) {
    LoadMenuWindow();
    EXPECT_EQ(ReadProperty(kLiveWindowId, kHiddenItem, 3, -1), 0u);
    EXPECT_EQ(ReadProperty(kLiveWindowId, kOpenItem, 1, -1), 1u);
    WriteProperty(kLiveWindowId, kHiddenItem, 3, -1, 1, 0);
    EXPECT_EQ(ReadProperty(kLiveWindowId, kHiddenItem, 3, -1), 1u);
    EXPECT_EQ(GetMenuItemCount(GetMenu(hwnd_)), 2);

    WriteProperty(kLiveWindowId, kOpenItem, 2, -1, 1, 0);
    EXPECT_EQ(EnableMenuItem(GetMenu(hwnd_), kMenuCommandBase + 1, MF_BYCOMMAND),
              static_cast<BOOL>(MF_GRAYED));
    WriteProperty(kLiveWindowId, kOpenItem, 0, -1, ToWord("打开文件"), 0);
    char* caption =
        FromWord<char>(static_cast<Word>(ReadProperty(kLiveWindowId, kOpenItem, 0, -1)));
    ASSERT_NE(caption, nullptr);
    EXPECT_STREQ(caption, "打开文件");
    Release(caption);
}

TEST_F(WindowMenuTest, WithoutTheCloseCommandTheSystemMenuCannotCloseTheWindow) {
    LoadMenuWindow(0);
    EXPECT_EQ(EnableMenuItem(GetSystemMenu(hwnd_, FALSE), SC_CLOSE, MF_BYCOMMAND), -1)
        << "SC_CLOSE is gone";
    SendMessageA(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(hwnd_));
    Press(VK_ESCAPE);  // Escape still asks the window itself
    EXPECT_FALSE(IsWindow(hwnd_));
}
