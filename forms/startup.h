// Program start-up: initialising the runtime for the program image, and
// loading the start window.
#pragma once

#include <cstdint>

// Runtime helper 6: heap, header words, object services, working folder,
// hidden window, constant range, DLL lists, support libraries, templates.
void InitializeProgram();
// Runtime service 11: loads the start window or ends with "载入启动窗口失败".
void LoadStartWindow(uint32_t windowId);
// Runtime service 10: returns when the program has no window left.
void RunMessageLoop();
