// The drop editor's routines run live for fuzz targets: the form runtime
// started once over the program's own main window (with no routine bound to
// its events, so nothing checks a game file), the editor state made, and the
// working folder a scratch folder of its own. Each run of a routine ends in
// one of the program's ends, and this harness says which.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RoutineRun {
    bool runtimeError = false;        // ended by the runtime error box ...
    int32_t errorNumber = 0;          // ... with this number (0: a message only)
    std::string errorMessage;         // ... and message
    std::vector<std::string> boxes;   // the message boxes shown, as transcript lines
    uint32_t blocksReclaimed = 0;     // runtime blocks the runtime error left live
};

// Starts the runtime on first use; the scratch folder is the working folder.
void StartLiveProgram();

// Empties the start-up snapshot and the kettle amount kept with it (their
// texts released) and the three boxes.
void ResetEditor();

// Runs a routine. A runtime error is caught where the runtime would show its
// box and end the process; as the process end would, what the run left
// behind is reclaimed: every runtime block it took and kept, the open
// database and the open files. Any other end of the process is a finding.
RoutineRun RunRoutine(void (*routine)());

// A message box of the run with that text (GBK), from the transcript.
bool ShowedBox(const RoutineRun& run, const char* gbkText);
// The texts start-up keeps: the non-null ones in the three snapshot arrays
// and the kettle amount.
uint32_t SnapshotTextCount();
