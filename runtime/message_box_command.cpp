// The message box command: the message written as *to text* writes it, the
// box modal to the program's task unless the caller asked for system-modal.
#include "runtime/message_box_command.h"

#include "platform/win32.h"
#include "runtime/memory.h"
#include "runtime/value_text.h"

namespace {

constexpr UINT kSystemModal = 0x1000;
constexpr UINT kTaskModal = 0x2000;

// Numbers, texts, logicals and dates are shown; byte sets, arrays,
// subroutine addresses and units show an empty box.
bool IsShownType(uint32_t tag) {
    if (IsArrayType(tag)) return false;
    return TypeSize(tag) != 0 || tag == DT_TEXT || tag == DT_BOOL || tag == DT_DATE_TIME;
}

}  // namespace

int32_t MessageBoxResult(int answer) {
    // IDCANCEL (2) to IDNO (7) become 1 to 6; IDOK and anything else 0.
    return (answer >= IDCANCEL && answer <= IDNO) ? answer - 1 : 0;
}

void CmdMessageBox(ArgValue* result, int32_t, ArgValue* args) {
    char* message = IsShownType(args[0].type) ? ValueToText(args[0]) : nullptr;
    UINT flags = args[1].type != DT_NONE ? static_cast<UINT>(args[1].low) : 0;
    if (!(flags & kSystemModal)) flags |= kTaskModal;
    const char* title = "信息：";
    if (args[2].type != DT_NONE) {
        // An empty title stays empty; null is only its other spelling.
        title = ValueText(args[2]) != nullptr ? ValueText(args[2]) : "";
    }
    int answer = MessageBoxA(nullptr, message != nullptr ? message : "", title, flags);
    Release(message);
    result->low = static_cast<Word>(MessageBoxResult(answer));
}
