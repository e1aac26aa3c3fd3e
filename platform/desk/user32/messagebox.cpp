// MessageBoxA: the front end answers; every box is logged with its answer.
#include <string>

#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/text.h"
#include "platform/desk/user32/user32.h"

namespace desk {

std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO: return {IDYES, IDNO};
        case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
        default: return {IDOK};
    }
}

const char* AnswerName(int answer) {
    static const char* const kNames[] = {"", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    return (answer >= 1 && answer <= 7) ? kNames[answer] : "";
}

int AnswerFromName(const std::string& name) {
    for (int answer = 1; answer <= 7; ++answer) {
        if (name == AnswerName(answer)) return answer;
    }
    return 0;
}

}  // namespace desk

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    std::vector<int> buttons = desk::MessageBoxButtons(type);
    size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    int fallback = buttons[defaultIndex < buttons.size() ? defaultIndex : 0];
    // Win32 titles a box without a caption "Error".
    std::string title = caption != nullptr ? caption : "Error";
    std::string body = text != nullptr ? text : "";
    int answer = desk::CurrentFrontEnd().AnswerMessageBox(body, title, type, fallback);
    desk::LogLine("{\"event\":\"messagebox\",\"title\":" + desk::JsonText(title) +
                  ",\"text\":" + desk::JsonText(body) + ",\"flags\":" + std::to_string(type) +
                  ",\"answer\":\"" + desk::AnswerName(answer) + "\"}");
    return answer;
}
