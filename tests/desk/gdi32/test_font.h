// The font description the GDI tests create fonts from: bold, GB2312, the
// size and face a test names.
#pragma once

#include <cstring>

#include "platform/win32.h"

inline LOGFONTA Font(LONG height, LONG width = 0, const char* face = "宋体") {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = GB2312_CHARSET;
    std::strcpy(lf.lfFaceName, face);
    return lf;
}
