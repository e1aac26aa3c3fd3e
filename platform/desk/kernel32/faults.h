// Faults the desk stages on request, so that tests can see what a program
// leaves behind when it dies part way through its file work, or when a write
// silently never reaches the file. Asked for by one environment variable,
//
//   DESK_FAULT=KIND:NAME:COUNT
//
// where NAME is matched as the end of the file name as the program spelled it
// when it opened or deleted the file, and KIND is one of
//
//   crash-write   the process is killed once COUNT bytes in all have been
//                 written to files so named; the write that crosses COUNT is
//                 cut there, so the file holds exactly COUNT of them
//   crash-flush   killed right after the COUNT-th flush of such a file
//   crash-delete  killed right after the COUNT-th deletion of such a file
//   lose-write    the COUNT-th write to such a file reports success but
//                 writes nothing
//   hide-program-file
//                 the source of the program file's path named NAME ("proc"
//                 for /proc/self/exe, "execfn" for the executed path, "all")
//                 knows nothing, as in a root without /proc; COUNT is unused
//
// Without the variable (or with one the desk cannot read) nothing happens.
// SQLite's files count too, under the full path SQLite gives them (its
// journal as "...-journal"): a shim over its default VFS reports to these
// same counts while a fault is staged.
#pragma once

#include <cstdint>
#include <string>

namespace desk {

struct WritePlan {
    uint32_t pass;  // bytes to hand to the file
    bool lost;      // report the whole write as done, but write nothing
    bool crash;     // kill the process once `pass` bytes are written
};

WritePlan PlanWrite(const std::string& name, uint32_t length);
void AfterFlush(const std::string& name);
void AfterDelete(const std::string& name);
// True when the fault hides this source of the program file's path.
bool HidesProgramFileSource(const std::string& source);
// Ends the process as a crash would: no exit path, no transcript line.
[[noreturn]] void CrashNow();

}  // namespace desk
