// The terminal front end. Until it exists the desk treats a terminal like
// no user at all.
#include "platform/desk/desk_frontend.h"

namespace desk {

FrontEnd* MakeTerminalFrontEnd() { return nullptr; }

}  // namespace desk
