// The desk's side of the test input: its own input queue.
#include "platform/desk/user32/user32.h"
#include "tests/support/user_input.h"

namespace userinput {

void PressKey(BYTE vk, bool shift, bool ctrl) { desk::InputKeyPress(vk, shift, ctrl); }

void TypeText(const std::string& gbk) { desk::InputText(gbk); }

void Mouse(UINT message, POINT screen) { desk::InputMouse(message, screen); }

void Click(POINT screen) { desk::InputClick(screen); }

}  // namespace userinput
