// Files and folders by UTF-16 name, so that a game under a folder whose name
// has Chinese characters is found whatever the system code page. Names the
// system gives back (found files, the program's path, the current folder)
// are converted to GBK; a character GBK lacks becomes '?', as
// WideCharToMultiByte(936) would make it.
#define DROPEDIT_WIDE_LAYER
#include <cwchar>
#include <string>
#include <vector>

#include "platform/wide/wide_text.h"
#include "platform/win32_wide.h"

namespace wide {
namespace {

// Longest path the W functions give back (the \\?\ form's limit).
constexpr DWORD kLongestPath = 32768;

void FoundToAnsi(const WIN32_FIND_DATAW& from, WIN32_FIND_DATAA* to) {
    to->dwFileAttributes = from.dwFileAttributes;
    to->ftCreationTime = from.ftCreationTime;
    to->ftLastAccessTime = from.ftLastAccessTime;
    to->ftLastWriteTime = from.ftLastWriteTime;
    to->nFileSizeHigh = from.nFileSizeHigh;
    to->nFileSizeLow = from.nFileSizeLow;
    to->dwReserved0 = from.dwReserved0;
    to->dwReserved1 = from.dwReserved1;
    CopyNarrow(from.cFileName, wcsnlen(from.cFileName, MAX_PATH), to->cFileName,
               sizeof to->cFileName);
    CopyNarrow(from.cAlternateFileName, wcsnlen(from.cAlternateFileName, 14),
               to->cAlternateFileName, sizeof to->cAlternateFileName);
}

// A path given back into a caller's buffer of `size` bytes, the Win32 way:
// the length without the zero when it fits, else the size needed with it.
DWORD PathToCaller(const std::wstring& path, LPSTR buffer, DWORD size) {
    size_t length = NarrowLength(path.data(), path.size());
    if (buffer == nullptr || length + 1 > size) return static_cast<DWORD>(length + 1);
    CopyNarrow(path.data(), path.size(), buffer, size);
    return static_cast<DWORD>(length);
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile) {
    std::wstring wideName = Widen(name);
    return CreateFileW(name != nullptr ? wideName.c_str() : nullptr, access, share, security,
                       disposition, flags, templateFile);
}

BOOL DeleteFileA(LPCSTR name) {
    std::wstring wideName = Widen(name);
    return DeleteFileW(name != nullptr ? wideName.c_str() : nullptr);
}

DWORD GetFileAttributesA(LPCSTR name) {
    std::wstring wideName = Widen(name);
    return GetFileAttributesW(name != nullptr ? wideName.c_str() : nullptr);
}

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    std::wstring widePattern = Widen(pattern);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern != nullptr ? widePattern.c_str() : nullptr, &found);
    if (search != INVALID_HANDLE_VALUE) FoundToAnsi(found, data);
    return search;
}

BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data) {
    WIN32_FIND_DATAW found;
    if (!FindNextFileW(find, &found)) return FALSE;
    FoundToAnsi(found, data);
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    std::vector<wchar_t> path(kLongestPath, L'\0');
    DWORD units = GetModuleFileNameW(module, path.data(), kLongestPath);
    if (units == 0) return 0;
    if (buffer == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    size_t length = NarrowLength(path.data(), units);
    size_t copied = CopyNarrow(path.data(), units, buffer, size);
    // Cut short, the name fills the buffer and the size comes back, as from
    // GetModuleFileNameA itself.
    if (length + 1 > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return static_cast<DWORD>(copied);
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
    std::wstring widePath = Widen(path);
    return SetCurrentDirectoryW(path != nullptr ? widePath.c_str() : nullptr);
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return 0;
    std::vector<wchar_t> path(needed, L'\0');
    DWORD units = GetCurrentDirectoryW(needed, path.data());
    if (units == 0 || units >= needed) return 0;
    return PathToCaller(std::wstring(path.data(), units), buffer, size);
}

}  // namespace wide
