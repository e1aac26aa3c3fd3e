// Menus and accelerator tables. A menu is a list of items; a window's menu
// bar takes SM_CYMENU from its client area; the system menu is made on
// first request and tells the window manager whether the close box is
// there. Accelerators turn key presses into WM_COMMAND as Win32 does.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/desk/user32/window.h"

namespace desk {
namespace {

struct MenuItem {
    UINT flags;        // MF_* state and kind
    UINT_PTR id;       // command, or the submenu of an MF_POPUP item
    std::string text;  // GBK
};

struct Menu {
    bool popup;
    std::vector<MenuItem> items;
};

std::map<uintptr_t, std::unique_ptr<Menu>>& Menus() {
    static std::map<uintptr_t, std::unique_ptr<Menu>> menus;
    return menus;
}

std::map<HWND, HMENU>& SystemMenus() {
    static std::map<HWND, HMENU> menus;
    return menus;
}

uintptr_t g_nextMenu = 0x50000;

Menu* MenuOf(HMENU menu) {
    auto it = Menus().find(reinterpret_cast<uintptr_t>(menu));
    return it == Menus().end() ? nullptr : it->second.get();
}

HMENU NewMenu(bool popup) {
    uintptr_t handle = g_nextMenu;
    g_nextMenu += 4;
    Menus()[handle] = std::unique_ptr<Menu>(new Menu{popup, {}});
    return reinterpret_cast<HMENU>(handle);
}

// The item by command (searching submenus) or by position.
MenuItem* FindItem(HMENU handle, UINT item, UINT flags, Menu** owner, size_t* index) {
    Menu* menu = MenuOf(handle);
    if (menu == nullptr) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= menu->items.size()) return nullptr;
        *owner = menu;
        *index = item;
        return &menu->items[item];
    }
    for (size_t i = 0; i < menu->items.size(); ++i) {
        MenuItem& entry = menu->items[i];
        if (entry.flags & MF_POPUP) {
            if (MenuItem* found =
                    FindItem(reinterpret_cast<HMENU>(entry.id), item, flags, owner, index))
                return found;
        } else if (!(entry.flags & MF_SEPARATOR) && entry.id == item) {
            *owner = menu;
            *index = i;
            return &entry;
        }
    }
    return nullptr;
}

struct Accelerators {
    std::vector<ACCEL> entries;
};

std::map<uintptr_t, std::unique_ptr<Accelerators>>& Tables() {
    static std::map<uintptr_t, std::unique_ptr<Accelerators>> tables;
    return tables;
}

}  // namespace

bool CloseCommandEnabled(HWND hwnd) {
    auto it = SystemMenus().find(hwnd);
    if (it == SystemMenus().end()) return true;  // untouched: the standard menu
    Menu* owner;
    size_t index;
    MenuItem* close = FindItem(it->second, SC_CLOSE, MF_BYCOMMAND, &owner, &index);
    return close != nullptr && !(close->flags & (MF_GRAYED | MF_DISABLED));
}

}  // namespace desk

HMENU CreateMenu() {
    return desk::NewMenu(false);
}

HMENU CreatePopupMenu() {
    return desk::NewMenu(true);
}

BOOL DestroyMenu(HMENU menu) {
    desk::Menu* m = desk::MenuOf(menu);
    if (m == nullptr) return FALSE;
    std::vector<desk::MenuItem> items = m->items;
    desk::Menus().erase(reinterpret_cast<uintptr_t>(menu));
    for (const desk::MenuItem& item : items) {
        if (item.flags & MF_POPUP) DestroyMenu(reinterpret_cast<HMENU>(item.id));
    }
    return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    desk::Menu* m = desk::MenuOf(menu);
    if (m == nullptr) return FALSE;
    m->items.push_back(
        desk::MenuItem{flags, id, (text != nullptr && !(flags & MF_SEPARATOR)) ? text : ""});
    return TRUE;
}

// DeleteMenu also destroys a submenu; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
    desk::Menu* owner;
    size_t index;
    desk::MenuItem* found = desk::FindItem(menu, item, flags, &owner, &index);
    if (found == nullptr) return FALSE;
    if (found->flags & MF_POPUP) DestroyMenu(reinterpret_cast<HMENU>(found->id));
    owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(index));
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) {
    desk::Menu* owner;
    size_t index;
    if (desk::FindItem(menu, item, flags, &owner, &index) == nullptr) return FALSE;
    owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(index));
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    desk::Menu* owner;
    size_t index;
    desk::MenuItem* found = desk::FindItem(menu, item, check & MF_BYPOSITION, &owner, &index);
    if (found == nullptr) return static_cast<DWORD>(-1);
    DWORD previous = found->flags & MF_CHECKED;
    found->flags = (found->flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    desk::Menu* owner;
    size_t index;
    desk::MenuItem* found = desk::FindItem(menu, item, enable & MF_BYPOSITION, &owner, &index);
    if (found == nullptr) return -1;
    BOOL previous = static_cast<BOOL>(found->flags & (MF_GRAYED | MF_DISABLED));
    found->flags = (found->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) |
                   (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

int GetMenuItemCount(HMENU menu) {
    desk::Menu* m = desk::MenuOf(menu);
    return m != nullptr ? static_cast<int>(m->items.size()) : -1;
}

HMENU GetMenu(HWND hwnd) {
    desk::Window* w = desk::Find(hwnd);
    return (w != nullptr && !(w->style & WS_CHILD)) ? w->menu : nullptr;
}

// The menu bar changes the frame: the client area shrinks or grows.
BOOL SetMenu(HWND hwnd, HMENU menu) {
    desk::Window* w = desk::Find(hwnd);
    if (w == nullptr || (w->style & WS_CHILD) || (menu != nullptr && desk::MenuOf(menu) == nullptr))
        return FALSE;
    w->menu = menu;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
    return desk::Find(hwnd) != nullptr;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    if (desk::Find(hwnd) == nullptr) return nullptr;
    auto& menus = desk::SystemMenus();
    auto it = menus.find(hwnd);
    if (revert) {
        if (it != menus.end()) {
            DestroyMenu(it->second);
            menus.erase(it);
        }
        return nullptr;
    }
    if (it != menus.end()) return it->second;
    HMENU menu = CreatePopupMenu();
    static const UINT kCommands[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE};
    for (UINT command : kCommands) AppendMenuA(menu, MF_STRING, command, "");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "");
    menus[hwnd] = menu;
    return menu;
}

HACCEL CreateAcceleratorTableA(ACCEL* entries, int count) {
    if (entries == nullptr || count <= 0) return nullptr;
    static uintptr_t next = 0x60000;
    uintptr_t handle = next;
    next += 4;
    desk::Tables()[handle] = std::unique_ptr<desk::Accelerators>(
        new desk::Accelerators{std::vector<ACCEL>(entries, entries + count)});
    return reinterpret_cast<HACCEL>(handle);
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    return desk::Tables().erase(reinterpret_cast<uintptr_t>(table)) != 0 ? TRUE : FALSE;
}

// A virtual-key entry matches a key going down with exactly its Shift, Ctrl
// and Alt; a character entry matches WM_CHAR. The command arrives as
// WM_COMMAND with 1 in the high word of wParam.
int TranslateAcceleratorA(HWND hwnd, HACCEL table, LPMSG msg) {
    auto it = desk::Tables().find(reinterpret_cast<uintptr_t>(table));
    if (it == desk::Tables().end() || msg == nullptr || hwnd == nullptr) return 0;
    bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    BYTE modifiers = static_cast<BYTE>((GetKeyState(VK_SHIFT) < 0 ? FSHIFT : 0) |
                                       (GetKeyState(VK_CONTROL) < 0 ? FCONTROL : 0) |
                                       (GetKeyState(VK_MENU) < 0 ? FALT : 0));
    for (const ACCEL& entry : it->second->entries) {
        bool match = (entry.fVirt & FVIRTKEY)
                         ? keyDown && msg->wParam == entry.key &&
                               (entry.fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers
                         : msg->message == WM_CHAR && msg->wParam == entry.key;
        if (match) {
            SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}
