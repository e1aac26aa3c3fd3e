// The keys a loaded window handles before its controls see them: Tab and
// Shift+Tab move the focus, Enter clicks the default button (or moves the
// focus), Escape asks the window to close, F1 opens its help.
#pragma once

#include "platform/win32.h"

// The message loop's pre-translation hook: true when the key was handled
// and the message must not be dispatched.
bool PreTranslateWindowKeys(MSG* msg);
