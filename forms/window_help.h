// F1 help of a loaded window: with its F1 option on, F1 opens the window's
// help file (the stored name, or else the program's file name with "hlp" for
// its extension) when that file exists, at the stored help topic or at its
// contents for topic 0. The help viewer is asked to close with the window.
#pragma once

#include <string>

#include "forms/window_unit.h"

// The help file F1 opens for a window; empty when its F1 option is off.
std::string WindowHelpFile(const WindowProps& props);

// F1 in a window. False when the window's F1 option is off, so the key
// goes on to the focused control.
bool OpenWindowHelp(WindowObject* window);

// Closes the help opened for a window, if any; called when it is destroyed.
void CloseWindowHelp(WindowObject* window);
