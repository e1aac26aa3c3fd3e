// The scripted user (DESK_SCRIPT): one action a line, run one at a time
// whenever the program waits for input.
#pragma once

#include <string>

namespace desk {

struct ScriptAction {
    int line;          // line number in the script, for error reports
    std::string verb;  // "type", "click", ...
    std::string rest;  // everything after the verb and one space
};

// Ends the run: a script that cannot be carried out is a failed test run
// (exit code 3), never a silently different one.
[[noreturn]] void ScriptError(const ScriptAction& action, const std::string& message);

}  // namespace desk
