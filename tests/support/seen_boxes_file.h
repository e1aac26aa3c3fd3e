// The recorders' shared file naming (tests/support only).
#pragma once

#include <string>

namespace seenboxes {

// The file a recorder of that name writes its boxes to: the same in a death
// test's parent and child.
std::string RecordPath(const std::string& name);

}  // namespace seenboxes
