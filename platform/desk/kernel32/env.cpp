// Environment paths captured at process start.
#include "platform/desk/kernel32/env.h"

#include <unistd.h>

#include <cstdlib>
#include <map>

namespace desk {
namespace {

std::string Resolve(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] == '\0') return "";
    if (value[0] == '/') return value;
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) return value;
    return std::string(cwd) + "/" + value;
}

std::map<std::string, std::string>& Paths() {
    static std::map<std::string, std::string> paths;
    return paths;
}

// Runs before main: the program changes its folder first thing.
const bool kCaptured = [] {
    for (const char* name : {"DESK_LOG", "DESK_SCRIPT"}) Paths()[name] = Resolve(name);
    return true;
}();

}  // namespace

const std::string& EnvPath(const char* name) {
    auto it = Paths().find(name);
    if (it == Paths().end()) it = Paths().emplace(name, Resolve(name)).first;
    return it->second;
}

}  // namespace desk
