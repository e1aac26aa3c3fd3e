// Restoring the terminal at every way out of the process. A signal handler
// may run at any moment: it restores, puts the handler that was there
// before back, and lets that one end the process.
#include "platform/desk/frontends/terminal/restore.h"

#include <signal.h>

#include <cstdlib>

#include "platform/desk/frontends/terminal/terminal.h"
#include "platform/desk/kernel32/exit.h"

namespace desk {
namespace {

TerminalFrontEnd* g_toRestore = nullptr;

void RestoreNow() {
    if (g_toRestore != nullptr) g_toRestore->Restore();
}

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction g_previous[sizeof kSignals / sizeof kSignals[0]];

// Realigned on entry: the i386 ABI wants a 16-byte aligned stack at every
// call, but a signal frame is not always built that way: qemu-user enters an
// i386 handler with the stack a word off. On such a stack AddressSanitizer's
// frames do not match their shadow, so its checks in code called from here
// misfire, and an aligned SSE spill would fault.
__attribute__((force_align_arg_pointer)) void OnSignal(int sig, siginfo_t* info, void*) {
    RestoreNow();
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
        if (kSignals[i] == sig) sigaction(sig, &g_previous[i], nullptr);
    }
    // A fault returns to the faulting instruction, which faults again under
    // the previous handler (a sanitizer's report, or the core dump); any
    // other signal is raised anew.
    bool fault = sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL;
    if (!fault || info == nullptr || info->si_code <= 0) raise(sig);
}

}  // namespace

void SetTerminalToRestore(TerminalFrontEnd* frontEnd) {
    g_toRestore = frontEnd;
}

void InstallTerminalRestore() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    AddExitHook(&RestoreNow);
    std::atexit(&RestoreNow);
    struct sigaction action = {};
    action.sa_sigaction = &OnSignal;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
        // A signal the process was told to ignore stays ignored.
        sigaction(kSignals[i], nullptr, &g_previous[i]);
        if (g_previous[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
    }
}

}  // namespace desk
