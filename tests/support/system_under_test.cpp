// Answers for the desk are fixed; Windows is asked.
#include "tests/support/system_under_test.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/win32.h"

namespace sut {

bool UnderWine() {
#ifdef _WIN32
    // Wine's ntdll exports its version; Windows' does not.
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

void NoteWineDifference(const char* reason) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("[ WINE DIFFERS ] %s.%s: %s\n", test != nullptr ? test->test_suite_name() : "?",
                test != nullptr ? test->name() : "?", reason);
    std::fflush(stdout);
}

unsigned AnsiCodePage() {
#ifdef _WIN32
    return GetACP();
#else
    return 936;
#endif
}

}  // namespace sut
