// The program header: thirteen words of the program image that tell the
// runtime where the program's constant data, window templates and support
// libraries are. Program images define one and hand it to RunProgram.
#pragma once

#include <cstdint>

#include "runtime/abi.h"
#include "runtime/library_record.h"

struct ProgramHeader {
    Word kind;                        // 0: program kind (3 here)
    Word word1;                       // 1: stored only
    Word word2;                       // 2: stored plus 1, not interpreted
    Word codeBase;                    // 3: added to every handler offset
    const void* constants;            // 4: the program's constant data
    Word constantsLength;             // 5
    const uint8_t* templates;         // 6: the template segment
    Word templatesLength;             // 7: 0 means no windows
    Word libraryCount;                // 8
    const LibraryRecord* const* libraries;  // 9: core library first
    Word dllCommandCount;             // 10
    const char* const* dllFileNames;  // 11
    const char* const* dllFunctionNames;  // 12
};
static_assert(sizeof(ProgramHeader) == 13 * 4, "thirteen words");

// A program image: its header and its entry routine.
struct ProgramImage {
    const ProgramHeader* header;
    int32_t (*entry)();  // ProgramMain; returns after the message loop with 0
};
