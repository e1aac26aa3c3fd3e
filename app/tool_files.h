// The file work of the write-back, over the core runtime's file commands:
// the files the tool keeps in its folder are written whole and flushed to the
// disk before anything relies on them, and read back whole.
//
// Files opened here stay open until CloseAllFiles: the runtime closes open
// files only all at once, so callers read first, close, and then write.
#pragma once

#include <cstdint>
#include <initializer_list>

// A new byte set block holding a copy of the bytes.
void* NewByteSet(const void* bytes, uint32_t length);
// A new byte set holding a text's bytes, without its terminator.
void* TextByteSet(const char* text);
bool SameBytes(const void* byteSetA, const void* byteSetB);

int32_t FileSizeOf(const char* name);  // -1 when missing
bool DeleteNamedFile(const char* name);
// Makes the creations and removals in the tool's folder durable; false when
// the folder cannot be flushed.
bool FlushToolFolder();
void CloseAllFiles();

// Opens for reading and writing with every other opener denied; 0 on failure.
int32_t OpenExclusive(const char* name);
// Creates or empties `name`, writes the byte sets in order and flushes them
// to the disk. False when any step fails; the file may then hold part.
bool WriteFlushed(const char* name, std::initializer_list<const void*> byteSets);
// Whether the last WriteFlushed that failed was denied access by the system;
// kept, because callers clean up with more file commands before they report.
bool LastWriteDenied();
// The whole file as a new byte set when it is `length` bytes long (any length
// up to `length` when `upTo`); null when missing, of another length or
// unreadable.
void* ReadWholeFile(const char* name, int32_t length, bool upTo = false);

// The slot of an open game file: `length` bytes from `offset`, or null when
// fewer arrive.
void* ReadSlotAt(int32_t file, int64_t offset, int64_t length);
// Writes the slot at `offset` and flushes the game file; false on any failure.
bool WriteSlotAt(int32_t file, int64_t offset, const void* slot);
