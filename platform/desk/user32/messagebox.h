// Message box buttons and answer names shared by the front ends.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace desk {

// The buttons a box of that type shows, left to right (IDOK ...).
std::vector<int> MessageBoxButtons(UINT type);
// "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No".
const char* AnswerName(int answer);
// 0 when the name is none of those.
int AnswerFromName(const std::string& name);

}  // namespace desk
