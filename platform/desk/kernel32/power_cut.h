// The desk's power cut, asked for by one environment variable,
//
//   DESK_POWER_CUT=N:OUTCOME[:SEED]   or   DESK_POWER_CUT=count
//
// Every file operation of the process counts, the desk's and SQLite's alike
// (through the shim over SQLite's default VFS): a write, a flush of a file
// or of a folder, a creation, a removal, a truncation. Right after the N-th
// (from 1), the desk rewrites the files as a power cut could leave them and
// kills the process as CrashNow does. What the cut leaves is OUTCOME, one of
//
//   lose-all          every write since its file's last flush, and every
//                     creation and removal since its folder's last flush,
//                     is undone
//   keep-all          nothing is undone: a plain crash
//   keep-some-writes  each file keeps its first k unflushed writes (k drawn
//                     from SEED, 0 to all); creations and removals all stay
//   keep-some-names   each unflushed creation or removal stays or is undone
//                     as SEED draws it, in any order; writes all stay
//   keep-some         both draws at once
//
// A file's first flush after the desk created it flushes its folder too (as
// FlushFileBuffers does here), and so does SQLite's first sync of a journal
// it created and a removal it asks to sync. With `count` nothing is cut: each
// operation is written to the transcript as {"event":"file-op","n":N,
// "op":KIND,"file":NAME}, so that a test learns where it can cut.
//
// Renames are not counted: neither the desk nor the programs it runs move
// files.
#pragma once

#include <cstdint>
#include <string>

namespace desk {

bool PowerCutStaged();

// Each is called with the file's host path; the Will* ones just before the
// change, the others once it is done. Nothing happens unless a cut is staged.
void CutWillWrite(const std::string& path, int64_t offset, uint64_t length);
void CutWillTruncate(const std::string& path, int64_t size);
void CutWillDelete(const std::string& path);
// A write, truncation or removal announced above is done: it counts.
void CutOperationDone(const char* kind, const std::string& path);
void CutCreated(const std::string& path);
void CutFlushed(const std::string& path);
void CutFolderFlushed(const std::string& folder);

}  // namespace desk
