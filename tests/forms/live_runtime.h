// A live form runtime for tests: the runtime installed, a program image
// whose template segment the test supplies, InitializeProgram run, and
// windows driven through the desk in this process. Event routines are
// recorded: Recorder<U, E> appends (U, E) to the event log when it runs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "forms/application.h"
#include "forms/event_handler.h"
#include "forms/form_runtime.h"
#include "forms/program_header.h"
#include "forms/startup.h"
#include "forms/window_loader.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "platform/win32.h"
#include "runtime/core_library.h"
#include "runtime/memory.h"
#include "runtime/process_events.h"
#include "runtime/runtime_state.h"
#include "tests/support/user_input.h"

// (unit tag, event index) in the order the routines ran.
using EventLog = std::vector<std::pair<int, int>>;
inline EventLog& Events() {
    static EventLog log;
    return log;
}

template <int Unit, int Event>
bool Recorder(const uint32_t*, int32_t, uint32_t*) {
    Events().emplace_back(Unit, Event);
    return false;
}

// A program header over a template segment with the core library alone and
// code base 0. It is one static header: a test process runs one program.
inline const ProgramHeader* CoreOnlyHeader(const std::vector<uint8_t>& segment) {
    static const LibraryRecord* libraries[1];
    libraries[0] = CoreLibraryRecord();
    static ProgramHeader header;
    header = ProgramHeader{3,
                           0,
                           0x10095,
                           0,
                           nullptr,
                           0,
                           segment.data(),
                           static_cast<Word>(segment.size()),
                           1,
                           libraries,
                           0,
                           nullptr,
                           nullptr};
    return &header;
}

// Starts the runtime with a template segment; stops it (every window gone,
// the queue drained) at the end of the test.
class LiveRuntime : public ::testing::Test {
  protected:
    void StartWith(const std::vector<uint8_t>& segment) {
        InstallFormRuntime();
        // The program's module, as its entry point hands it over: the
        // runtime's window classes are registered for it and found by it.
        g_app.instance = GetModuleHandleA(nullptr);
        static ProgramImage image;
        image = ProgramImage{CoreOnlyHeader(segment), nullptr};
        g_app.image = &image;
        g_app.loopStarted = false;
        g_app.quitTaken = false;
        g_app.declinedIdle.clear();
        g_runtime.suppressEvents = 0;
        ReleaseWindowTable();
        // A test may start twice; the library words of the first start go.
        Release(g_runtime.libraryData);
        g_runtime.libraryData = nullptr;
        InitializeProgram();
        Events().clear();
    }

    void TearDown() override {
        g_app.loopStarted = false;
        DestroyAllWindows();
        ReleaseWindowTable();
        Drain();
        Events().clear();
    }

    // Lets the program handle everything waiting, user input included.
    static void Pump() { ProcessPendingEvents(); }

    // Empties the queue, the quit message included.
    static void Drain() {
        MSG msg;
        for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (msg.message != WM_QUIT) DispatchOneMessage(&msg);
        }
    }

    static bool QuitPosted() {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) && msg.message == WM_QUIT;
    }

    // The user presses a key (with Shift) while the program waits.
    static void Press(BYTE vk, bool shift = false) {
        userinput::PressKey(vk, shift);
        Pump();
    }

    static void Type(const std::string& gbk) {
        userinput::TypeText(gbk);
        Pump();
    }

    static HWND ControlById(HWND window, int id) { return GetDlgItem(window, id); }

    static std::string TextOf(HWND hwnd) {
        char buffer[256] = {};
        GetWindowTextA(hwnd, buffer, sizeof buffer);
        return buffer;
    }
};
