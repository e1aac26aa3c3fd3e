// The platform boundary: runtime code calls the Win32 API by its real names
// through this header only. On Windows it is <windows.h> plus <commctrl.h>
// (the up-down control) and <mmsystem.h> (background music), with every
// call that carries a text routed through the UTF-16 layer of
// platform/win32_wide.h; elsewhere the desk (platform/desk) implements the
// subset the runtime uses.
#pragma once

#ifdef _WIN32
#include "platform/win32_wide.h"
#else
#include "platform/desk/win32_types.h"
#include "platform/desk/win32_kernel.h"
#include "platform/desk/win32_files.h"
#include "platform/desk/win32_user.h"
#include "platform/desk/win32_gdi.h"
#include "platform/desk/win32_nls.h"
#include "platform/desk/win32_sound.h"
#endif
