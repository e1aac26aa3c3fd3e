// gdi32 as the desk provides it: fonts, stock objects, brushes and text
// measuring over the desk's simple font model.
#pragma once

#include "platform/desk/win32_types.h"
