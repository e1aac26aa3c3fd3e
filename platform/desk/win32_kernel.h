// kernel32 and ole32 as the desk provides them: process services, the heap,
// threads, time and the object services.
#pragma once

#include "platform/desk/win32_types.h"

#define HEAP_ZERO_MEMORY 0x00000008

HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE heap, DWORD flags, size_t bytes);
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, size_t bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
HMODULE GetModuleHandleA(LPCSTR name);
BOOL SetCurrentDirectoryA(LPCSTR path);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
DWORD GetCurrentThreadId();
DWORD GetTickCount();
[[noreturn]] void ExitProcess(UINT exitCode);
DWORD GetLastError();
void SetLastError(DWORD error);

typedef LONG HRESULT;
#define S_OK 0L
#define S_FALSE 1L
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
