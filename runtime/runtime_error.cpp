// The runtime error report: suppress events for good, give the unhandled
// error hook its chance, show the box, and end without the end routine.
#include "runtime/runtime_error.h"

#include <string>

#include "platform/win32.h"
#include "runtime/runtime_state.h"

namespace {
const char* const kMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
}  // namespace

const char* RuntimeErrorMessage(int32_t number) {
    if (number < 1 || number > 11) return nullptr;
    return kMessages[number - 1];
}

void SetUnhandledErrorHook(UnhandledErrorHook hook) { g_runtime.errorHook = hook; }

void ReportRuntimeError(const char* message, int32_t number) {
    ++g_runtime.suppressEvents;
    bool handled = false;
    if (g_runtime.errorHook != nullptr && !g_runtime.errorHookRunning) {
        g_runtime.errorHookRunning = true;
        handled = g_runtime.errorHook(number, message) != 0;
        g_runtime.errorHookRunning = false;
    }
    if (!handled) {
        std::string text = "运行时出错!\r\n\r\n";
        if (number != 0) text += "错误代码：" + std::to_string(number) + "\r\n\r\n";
        if (message != nullptr && message[0] != '\0') {
            text += "错误信息：";
            text += message;
            text += "\r\n";
        }
        MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONSTOP | MB_OK);
    }
    ForgetEndRoutine();
    EndProgram(-1);
}

void ReportErrorByCode(int32_t number) { ReportRuntimeError(RuntimeErrorMessage(number), number); }
