// WinHelpA on the desk: there is no help viewer, so a request is written to
// the transcript (the file as the program named it, the command and its
// data) and answered as done.
#include <string>

#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/text.h"
#include "platform/win32.h"

BOOL WinHelpA(HWND, LPCSTR helpFile, UINT command, ULONG_PTR data) {
    if (helpFile == nullptr) return FALSE;
    desk::LogLine("{\"event\":\"help\",\"file\":" + desk::JsonText(helpFile) + ",\"command\":" +
                  std::to_string(command) + ",\"data\":" + std::to_string(data) + "}");
    return TRUE;
}
