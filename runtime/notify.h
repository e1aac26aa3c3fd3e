// The runtime notification function: support libraries and core commands
// reach the runtime through it with numbered requests.
#pragma once

#include <cstdint>

// (request code, first, second) -> 32-bit answer; 0 unless a request says else.
using NotifyFunction = int32_t (*)(int32_t request, uint32_t first, uint32_t second);

// A support library's notification entry, called by the runtime with code 1
// (first = the runtime notification function) and code 6 (program end).
using LibraryNotifyEntry = int32_t (*)(int32_t code, uint32_t first, uint32_t second);

// Request codes the core runtime answers.
enum RuntimeRequest : int32_t {
    kRequestValueAsInt = 2001,
    kRequestSuppressEvents = 2009,
    kRequestAllowEvents = 2010,
    kRequestOpenFileKind = 2011,
    kRequestOpenFileAdd = 2012,
    kRequestOpenFileRemove = 2013,
    kRequestCloseAllFiles = 2014,
    kRequestProcessEvents = 2018,
    kRequestReleaseArray = 2023,
    kRequestAllocate = 2024,
    kRequestRelease = 2025,
    kRequestReallocate = 2026,
    kRequestRuntimeError = 2027,
    kRequestEndProgram = 2028,
};

// Library notification codes.
constexpr int32_t kLibraryStart = 1;
constexpr int32_t kLibraryEnd = 6;

int32_t RuntimeNotify(int32_t request, uint32_t first, uint32_t second);

// The form runtime answers the requests that concern windows, units and events
// (1000 to 1014, 2000, 2002 to 2008, ...). It installs its handler at start;
// `handled` is set when it knew the request.
using FormRequestHandler = int32_t (*)(int32_t request, uint32_t first, uint32_t second, bool* handled);
void SetFormRequestHandler(FormRequestHandler handler);
