// The scripted user's actions on the program's windows (type, clear, click,
// focus, key, close, dump).
#pragma once

#include "platform/desk/desk_script.h"

namespace desk {

// Carries out the action; false when the verb is not one of these. A
// control that does not exist is a script error.
bool RunInputAction(const ScriptAction& action);

}  // namespace desk
