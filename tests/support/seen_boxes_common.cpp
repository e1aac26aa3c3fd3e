// What both sides' recorders share: where the boxes go, and their wording.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/seen_boxes.h"
#include "tests/support/seen_boxes_file.h"

namespace seenboxes {

std::string RecordPath(const std::string& name) {
    return ::testing::TempDir() + "seen_boxes_" + name + ".txt";
}

std::string Describe(const Box& box) {
    char flags[16];
    std::snprintf(flags, sizeof flags, "0x%X", box.flags);
    return "box \"" + box.title + "\" \"" + box.text + "\" flags " + flags + " answered " +
           std::to_string(box.answer);
}

}  // namespace seenboxes
