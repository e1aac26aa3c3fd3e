// kernel32's file functions on POSIX files. The file layer comes with the
// file commands; until then no handle is ever opened.
#include "platform/win32.h"

BOOL CloseHandle(HANDLE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
