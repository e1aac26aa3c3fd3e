// The runtime's table of open files, in the order they were opened. File
// commands register what they open; the end sequence closes what is left.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// A file opened by *open file*. Its file number is derived from its address
// (FileNumberOf), so the number is the file's identity while it is open.
struct FileObject {
    HANDLE handle;  // the Win32 file handle
    char* name;     // the name it was opened under (runtime heap)
};

constexpr uint8_t kDiskFile = 1;

// The number program code knows the file by: half its address, so that it is
// positive for every 32-bit address (sanitizer heaps live above 2 GiB) and
// never 0.
uint32_t FileNumberOf(const FileObject* file);
// The open file with that number, or null when no file in the table has it.
FileObject* OpenFileByNumber(uint32_t fileNumber);

// The kind of the file with that number, or -1 when it is not open.
int32_t OpenFileKind(uint32_t fileNumber);
// Appends the file unless it is already in the table.
void AddOpenFile(FileObject* file, uint8_t kind);
// Removes it; true when it was there.
bool RemoveOpenFile(FileObject* file);
// Closes and releases every file in the table, then empties it.
void CloseAllOpenFiles();
// Closes the handle and releases the object (not in the table any more).
void ReleaseFileObject(FileObject* file);
