// The stored runtime notification function and the memory requests.
#include "sqlitelib/runtime_link.h"

#include <cstring>

#include "runtime/abi.h"

namespace sqlitelib {
namespace {
// Absent until the runtime starts the library; a request without it is not
// made and answers 0.
NotifyFunction g_notify = nullptr;

int32_t Request(int32_t code, uint32_t first, uint32_t second) {
    return g_notify != nullptr ? g_notify(code, first, second) : 0;
}
}  // namespace

void SetRuntimeNotify(NotifyFunction notify) {
    g_notify = notify;
}

void* RuntimeAllocate(uint32_t size) {
    return FromWord<void>(static_cast<Word>(Request(kRequestAllocate, size, 0)));
}

void RuntimeRelease(const void* block) {
    Request(kRequestRelease, ToWord(block), 0);
}

char* CopyToRuntime(const char* bytes, size_t length) {
    if (bytes == nullptr || length == 0) return nullptr;
    char* copy = static_cast<char*>(RuntimeAllocate(static_cast<uint32_t>(length + 1)));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, bytes, length);
    copy[length] = '\0';
    return copy;
}

}  // namespace sqlitelib
