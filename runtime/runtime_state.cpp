// The single instance of the core runtime's state.
#include "runtime/runtime_state.h"

RuntimeState g_runtime = {};
