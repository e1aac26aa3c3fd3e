// kernel32's code-page conversions as the desk provides them: code page 936
// (GBK, the desk's ANSI code page) and UTF-8 to and from UTF-16, with the
// Win32 length, flag and error rules.
#pragma once

#include "platform/desk/win32_types.h"

// UTF-16 code units, two bytes as on Windows (wchar_t is four bytes here).
typedef uint16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef BOOL* LPBOOL;

#define CP_ACP 0
#define CP_UTF8 65001

#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L

// A length of -1 means "up to and including the terminating zero". A zero
// output size asks for the length needed. Failures answer 0 and set the
// last error. CP_ACP is code page 936.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR target,
                        int targetLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR target,
                        int targetLength, LPCSTR defaultChar, LPBOOL usedDefaultChar);
