// What the runtime keeps about each loaded window beside its template: the
// unit table as it was when loading began (put back when the window goes),
// the closing mark, and where the window is in its life.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/win32.h"

struct UnitObject;
struct WindowTemplate;

struct LoadedWindow {
    uint32_t windowId;
    uint32_t serial;                 // tells this load from a later load of the same template
    std::vector<uint8_t> keptUnits;  // the unit table when loading began ...
    uint32_t keptUnitCount;          // ... and its unit count
    bool closing;                    // *close window* asked for it to go
    bool loaded;                     // the loader has finished
    bool shown;                      // it has been shown once (by the loader or a property write)
    bool modal;                      // loaded as a modal window
    std::vector<std::pair<HWND, bool>>
        disabledByModal;  // other windows and whether they were enabled
};

// The record of a loaded (or loading) window, or null.
LoadedWindow* FindLoadedWindow(uint32_t windowId);
// Starts the record of a window whose loading begins: keeps its unit table.
LoadedWindow* AddLoadedWindow(const WindowTemplate& window, bool modal);
void DropLoadedWindow(uint32_t windowId);
// Whether the load that made `serial` is still alive (its window exists).
bool LoadStillAlive(uint32_t windowId, uint32_t serial);

// The live object in a unit's object slot, or null.
UnitObject* LiveUnitObject(WindowTemplate& window, uint32_t index);
// Unit 0's live object while its platform window exists, or null.
UnitObject* LiveWindowObject(WindowTemplate& window);
