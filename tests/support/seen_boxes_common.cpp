// What both sides' recorders share: where the boxes go, and their wording.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "tests/support/seen_boxes.h"
#include "tests/support/seen_boxes_file.h"

namespace seenboxes {

namespace {

// Tells this run's files from those of another run of the same tests (two
// builds' tests at once): drawn by the first process and inherited through
// the environment by the death tests' children it starts.
const std::string& RunToken() {
    static const std::string token = [] {
        constexpr char kVariable[] = "SEEN_BOXES_RUN";
        if (const char* inherited = std::getenv(kVariable)) return std::string(inherited);
        std::string drawn = std::to_string(std::random_device()());
#ifdef _WIN32
        _putenv_s(kVariable, drawn.c_str());
#else
        setenv(kVariable, drawn.c_str(), 1);
#endif
        return drawn;
    }();
    return token;
}

}  // namespace

std::string RecordPath(const std::string& name) {
    return ::testing::TempDir() + "seen_boxes_" + RunToken() + "_" + name + ".txt";
}

std::string Describe(const Box& box) {
    char flags[16];
    std::snprintf(flags, sizeof flags, "0x%X", box.flags);
    return "box \"" + box.title + "\" \"" + box.text + "\" flags " + flags + " answered " +
           std::to_string(box.answer);
}

}  // namespace seenboxes
