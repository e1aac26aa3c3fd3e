// The window's menu bar, made from the menu item records of its unit
// table, and the events its items raise when chosen.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct WindowTemplate;

// Item commands: this base plus the item's place in the unit table.
constexpr UINT kMenuCommandBase = 0x7000;

// A menu bar with one item per menu item record that is not hidden, in
// table order (greyed when disabled, checked when checked); null when the
// window has no visible item.
HMENU BuildWindowMenu(WindowTemplate& window);
// Puts a freshly built menu on the loaded window, after a menu item changed.
void RebuildWindowMenu(WindowTemplate& window);
// WM_COMMAND from the menu: raises event 0 of the chosen item. False when
// the command is not a menu item's.
bool ChooseMenuItem(uint32_t windowId, UINT command);
