// Window loading. The window units come with the live-window layer; until
// then no template can be loaded and no window is alive.
#include "forms/window_loader.h"

int32_t LoadWindow(WindowTemplate*, int32_t, int32_t, HWND) { return 0; }

bool AnyWindowLoaded() { return false; }

bool RaiseIdleEvents(uint32_t) { return false; }
