// The core library's file commands: whole files by name (delete, size,
// write) and numbered open files with a read/write position. Failures are
// results (false, -1, 0, an empty byte set); none shows a message.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// How the open-file command opens: the numbers a program passes.
enum OpenMode : int32_t {
    kOpenRead = 1,            // existing files only
    kOpenWrite = 2,           // existing files only
    kOpenReadWrite = 3,       // existing files only
    kOpenRewrite = 4,         // created when missing, emptied when present
    kOpenWriteKeep = 5,       // created when missing, kept when present
    kOpenReadWriteKeep = 6,   // created when missing, kept when present
};

// What other openers may still do with a file this program has open.
enum ShareMode : int32_t {
    kShareAll = 1,
    kShareWriteOnly = 2,
    kShareReadOnly = 3,
    kShareNone = 4,
};

// Where a move of the read/write position counts from.
enum MoveOrigin : int32_t {
    kFromStart = 1,
    kFromEnd = 2,
    kFromCurrent = 3,
};

// 1 name -> logical.
void CmdDeleteFile(ArgValue* result, int32_t count, ArgValue* args);
// 1 name (a search pattern) -> low 32 bits of the size; -1 when nothing matches.
void CmdFileSize(ArgValue* result, int32_t count, ArgValue* args);
// 1 name; 2.. byte sets -> logical: the file was rewritten with them and closed.
void CmdWriteFile(ArgValue* result, int32_t count, ArgValue* args);
// 1 name; 2 OpenMode (default kOpenReadWrite); 3 ShareMode (default kShareAll)
// -> file number or 0.
void CmdOpenFile(ArgValue* result, int32_t count, ArgValue* args);
// Closes every open file.
void CmdCloseAllFiles(ArgValue* result, int32_t count, ArgValue* args);
// 1 file number; 2 MoveOrigin (default kFromStart); 3 offset -> logical.
void CmdMovePosition(ArgValue* result, int32_t count, ArgValue* args);
// 1 file number -> logical.
void CmdMoveToEnd(ArgValue* result, int32_t count, ArgValue* args);
// 1 file number; 2 length -> the bytes read (fewer near the end), null for none.
void CmdReadByteSet(ArgValue* result, int32_t count, ArgValue* args);
// 1 file number; 2.. byte sets -> logical; on failure the position goes back.
void CmdWriteByteSet(ArgValue* result, int32_t count, ArgValue* args);
// 1 file number -> logical: everything written to the file has reached the
// disk. Nothing else forces that: closing a file only hands its data to the
// system's cache.
void CmdFlushFile(ArgValue* result, int32_t count, ArgValue* args);
// 1 folder name -> logical: the folder's entries (files created, removed or
// renamed in it) have reached the disk. A file's own flush does not cover
// its removal, nor the other files' names beside it.
void CmdFlushFolder(ArgValue* result, int32_t count, ArgValue* args);
// No arguments -> integer: the system's error code (GetLastError) of the
// last file command that failed, 0 when the last file command succeeded.
// A failed result alone cannot tell a file held by another program from one
// the user may not write; a caller that words its message by that asks here
// right after the failing command.
void CmdLastFileError(ArgValue* result, int32_t count, ArgValue* args);
