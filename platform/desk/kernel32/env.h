// The desk's settings from the environment. Paths are resolved against the
// folder the process started in, before the program changes its folder.
#pragma once

#include <string>

namespace desk {

// The variable's value as an absolute path, or "" when it is unset or empty.
const std::string& EnvPath(const char* name);

}  // namespace desk
