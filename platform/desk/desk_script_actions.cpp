// The scripted user's window actions. Only `close` exists so far; the
// control actions come with the desk's controls.
#include "platform/desk/desk_script_actions.h"

#include "platform/desk/desk_frontend.h"

namespace desk {

bool RunInputAction(const ScriptAction& action) {
    if (action.verb == "close") {
        CloseOneVisibleWindow();
        return true;
    }
    return false;
}

}  // namespace desk
