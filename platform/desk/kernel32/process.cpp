// kernel32's process services, the heap and ole32's object services on POSIX.
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/desk/kernel32/exit.h"
#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/program_file.h"
#include "platform/desk/kernel32/text.h"
#include "platform/win32.h"

namespace {
thread_local DWORD t_lastError = 0;

// Win32's process heap refuses requests this large on a 32-bit process; the
// desk refuses them too rather than asking the host for 2 GiB.
constexpr size_t kLargestBlock = 0x7FFDEFF8;

std::vector<void (*)()>& ExitHooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}

int g_processHeapToken = 0;
}  // namespace

namespace desk {

void AddExitHook(void (*hook)()) { ExitHooks().push_back(hook); }

void ExitWithCode(unsigned code) {
    for (auto it = ExitHooks().rbegin(); it != ExitHooks().rend(); ++it) (*it)();
    LogLine("{\"event\":\"exit\",\"code\":" + std::to_string(code) + "}");
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(static_cast<int>(code & 0xFF));
}

}  // namespace desk

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD error) { t_lastError = error; }

HANDLE GetProcessHeap() { return &g_processHeapToken; }

LPVOID HeapAlloc(HANDLE, DWORD flags, size_t bytes) {
    if (bytes > kLargestBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* block = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
    if (block == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

LPVOID HeapReAlloc(HANDLE, DWORD, LPVOID block, size_t bytes) {
    if (bytes > kLargestBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* resized = std::realloc(block, bytes ? bytes : 1);
    if (resized == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return resized;
}

BOOL HeapFree(HANDLE, DWORD, LPVOID block) {
    std::free(block);
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size) {
    std::string host = desk::ProgramFileHostPath();
    if (host.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    if (size == 0) return 0;
    std::string path = desk::ProgramPath(host);
    // As on Windows: a path that does not fit is cut and terminated.
    DWORD copied = static_cast<DWORD>(path.size() < size ? path.size() : size - 1);
    std::memcpy(buffer, path.data(), copied);
    buffer[copied] = '\0';
    return copied;
}

HMODULE GetModuleHandleA(LPCSTR) {
    static int token;
    return reinterpret_cast<HMODULE>(&token);
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
    std::string host = desk::HostPath(path);
    if (host.empty() || chdir(host.c_str()) != 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    char host[4096];
    if (getcwd(host, sizeof host) == nullptr) return 0;
    std::string path = desk::ProgramPath(host);
    if (path.size() + 1 > size) return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

DWORD GetCurrentThreadId() { return static_cast<DWORD>(syscall(SYS_gettid)); }

DWORD GetTickCount() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<DWORD>(static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

void ExitProcess(UINT exitCode) { desk::ExitWithCode(exitCode); }

HRESULT CoInitialize(LPVOID) { return S_OK; }
void CoUninitialize() {}
