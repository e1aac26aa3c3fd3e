// The scripted user's actions on the program's windows (type, clear, click,
// focus, key, close, dump).
#pragma once

#include <string>

#include "platform/desk/frontends/script/script.h"
#include "platform/win32.h"

namespace desk {

// Carries out the action; false when the verb is not one of these. A
// control that does not exist is a script error.
bool RunInputAction(const ScriptAction& action);

// The log's dump line: every top-level window of the program, hidden ones
// included (the runtime's hidden window too), oldest first, each with its
// child windows at every depth in Z order (top first).
std::string DumpJson();

}  // namespace desk
