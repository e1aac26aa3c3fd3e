// The 32-bit word model every stored layout of the runtime is written in:
// addresses are 32-bit words, so records, arrays and relocated handlers keep
// their literal sizes. Only ILP32 targets are built.
#pragma once

#include <cstdint>

static_assert(sizeof(void*) == 4, "the runtime's layouts need 32-bit addresses");

// A 32-bit word that may hold a number or an address.
using Word = uint32_t;

inline Word ToWord(const void* address) { return static_cast<Word>(reinterpret_cast<uintptr_t>(address)); }

template <typename T>
inline T* FromWord(Word word) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(word));
}
