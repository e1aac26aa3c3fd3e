// Thunks for the runtime's window procedures: a fixed set of W procedures,
// each bound to one GBK procedure on first use. The runtime has a handful of
// procedures (window, label, edit box, button, hidden window), so a small
// set never runs out; the binding never changes once made, so a class or
// window holding a thunk always reaches the same procedure.
#define DROPEDIT_WIDE_LAYER
#include "platform/wide/wide_procs.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

#include "platform/wide/wide_messages.h"

namespace wide {
namespace {

constexpr size_t kThunkCount = 32;

WNDPROC g_gbkProcs[kThunkCount];   // the procedure each thunk stands for
std::vector<WNDPROC> g_wideProcs;  // W procedures handed to the runtime

template <size_t N>
LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallGbkProc(g_gbkProcs[N], hwnd, message, wParam, lParam);
}

template <size_t... N>
constexpr std::array<WNDPROC, sizeof...(N)> MakeThunks(std::index_sequence<N...>) {
    return {{&Thunk<N>...}};
}

const std::array<WNDPROC, kThunkCount> kThunks =
    MakeThunks(std::make_index_sequence<kThunkCount>());

bool IsWideProc(WNDPROC proc) {
    for (WNDPROC known : g_wideProcs) {
        if (known == proc) return true;
    }
    return false;
}

}  // namespace

WNDPROC ThunkFor(WNDPROC gbkProc) {
    for (size_t i = 0; i < kThunkCount; ++i) {
        if (g_gbkProcs[i] == gbkProc) return kThunks[i];
        if (g_gbkProcs[i] == nullptr) {
            g_gbkProcs[i] = gbkProc;
            return kThunks[i];
        }
    }
    return nullptr;
}

WNDPROC GbkProcOf(WNDPROC proc) {
    for (size_t i = 0; i < kThunkCount && g_gbkProcs[i] != nullptr; ++i) {
        if (kThunks[i] == proc) return g_gbkProcs[i];
    }
    return nullptr;
}

bool IsGbkProc(WNDPROC proc) {
    if (proc == nullptr) return false;
    for (size_t i = 0; i < kThunkCount && g_gbkProcs[i] != nullptr; ++i) {
        if (g_gbkProcs[i] == proc) return true;
    }
    return false;
}

WNDPROC ProcForRuntime(WNDPROC held) {
    if (held == nullptr) return nullptr;
    if (WNDPROC gbkProc = GbkProcOf(held)) return gbkProc;
    if (!IsWideProc(held)) g_wideProcs.push_back(held);
    return held;
}

WNDPROC ProcForWindow(WNDPROC given) {
    if (given == nullptr || GbkProcOf(given) != nullptr || IsWideProc(given)) return given;
    return ThunkFor(given);
}

}  // namespace wide
