// holdfile: opens a file for reading and writing with no sharing, as a
// running game holds its data file, creates a flag file to say it holds it,
// and keeps it open until a release file appears (or two minutes pass).
//   holdfile FILE FLAG RELEASE
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: holdfile FILE FLAG RELEASE\n");
        return 2;
    }
    HANDLE held = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "holdfile: cannot open the file (error %lu)\n", GetLastError());
        return 1;
    }
    HANDLE flag = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (flag != INVALID_HANDLE_VALUE) CloseHandle(flag);
    for (int i = 0; i < 1200 && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
    CloseHandle(held);
    return 0;
}
