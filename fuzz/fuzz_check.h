// What every fuzz target shares: a failed check is a finding, reported with
// its reason and ended by abort() so that libFuzzer keeps the input; and the
// runtime heap's own count of live blocks as the leak oracle.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/memory.h"

#define FUZZ_CHECK(condition, ...)                                                    \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "fuzz finding: %s (%s:%d): ", #condition, __FILE__, \
                         __LINE__);                                                   \
            std::fprintf(stderr, __VA_ARGS__);                                        \
            std::fprintf(stderr, "\n");                                               \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

// The input as a zero-terminated text (cut at its first zero byte, as a
// text would be).
inline std::string InputText(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size).c_str();
}

// Checks that a piece of work gives back every runtime block it took.
class LiveBlockCheck {
  public:
    LiveBlockCheck() : before_(LiveBlockCount()) {}
    void Expect(uint32_t kept, const char* what) const {
        uint32_t after = LiveBlockCount();
        FUZZ_CHECK(after == before_ + kept, "%s: %u runtime blocks live before, %u after, %u expected to stay",
                   what, before_, after, kept);
    }

  private:
    uint32_t before_;
};
