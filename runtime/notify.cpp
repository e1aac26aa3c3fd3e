// The runtime notification function: the core runtime's requests, and the
// hand-over of window and event requests to the form runtime.
#include "runtime/notify.h"

#include <cmath>

#include "runtime/memory.h"
#include "runtime/open_files.h"
#include "runtime/process_events.h"
#include "runtime/program_end.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/value.h"

namespace {
FormRequestHandler g_formRequests = nullptr;

// Truncation toward zero keeping the low 32 bits of the 64-bit result; values
// outside the 64-bit range give the processor's integer-indefinite value.
int32_t TruncatedLow32(double d) {
    if (!(d > -9223372036854775808.0 && d < 9223372036854775808.0)) {
        return 0;  // low word of 0x8000000000000000
    }
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(d))));
}

int32_t ValueAsInt(const ArgValue& v) {
    switch (v.type) {
        case DT_BYTE: return static_cast<uint8_t>(v.low);
        case DT_SHORT: return static_cast<int16_t>(v.low);
        case DT_INT: return static_cast<int32_t>(v.low);
        case DT_LONG: return static_cast<int32_t>(v.low);
        case DT_FLOAT: return TruncatedLow32(ValueFloat(v));
        case DT_DOUBLE: return TruncatedLow32(ValueDouble(v));
        default: ReportRuntimeError("欲转换数据类型不是数值");
    }
}
}  // namespace

void SetFormRequestHandler(FormRequestHandler handler) { g_formRequests = handler; }

int32_t RuntimeNotify(int32_t request, uint32_t first, uint32_t second) {
    switch (request) {
        case kRequestValueAsInt:
            return ValueAsInt(*FromWord<const ArgValue>(first));
        case kRequestSuppressEvents:
            ProcessPendingEvents();
            ++g_runtime.suppressEvents;
            return 0;
        case kRequestAllowEvents:
            ProcessPendingEvents();
            if (g_runtime.suppressEvents > 0) --g_runtime.suppressEvents;
            return 0;
        case kRequestOpenFileKind:
            return OpenFileKind(first);
        case kRequestOpenFileAdd:
            AddOpenFile(FromWord<FileObject>(first), static_cast<uint8_t>(second));
            return 0;
        case kRequestOpenFileRemove:
            return RemoveOpenFile(FromWord<FileObject>(first)) ? 1 : 0;
        case kRequestCloseAllFiles:
            CloseAllOpenFiles();
            return 0;
        case kRequestProcessEvents:
            ProcessPendingEvents();
            return 0;
        case kRequestReleaseArray:
            ReleaseArray(first, FromWord<void>(second));
            return 0;
        case kRequestAllocate:
            return static_cast<int32_t>(ToWord(second == 0 ? Allocate(first) : TryAllocate(first)));
        case kRequestRelease:
            Release(FromWord<const void>(first));
            return 0;
        case kRequestReallocate:
            return static_cast<int32_t>(ToWord(Reallocate(FromWord<void>(first), second)));
        case kRequestRuntimeError:
            ReportRuntimeError(FromWord<const char>(first), 0);
        case kRequestEndProgram:
            EndProgram(static_cast<int32_t>(first));
        default:
            break;
    }
    if (g_formRequests != nullptr) {
        bool handled = false;
        int32_t answer = g_formRequests(request, first, second, &handled);
        if (handled) return answer;
    }
    return 0;
}
