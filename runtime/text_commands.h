// The core library's text and conversion commands: *character from code*,
// *to number*, *to text*, *split text* and *blank byte set*. Every text,
// byte set and array they return is a new heap block owned by the caller.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// 1 code (DT_BYTE) -> the one-byte text of its lowest byte; code 0 gives null.
void CmdCharFromCode(ArgValue* result, int32_t count, ArgValue* args);
// 1 value of any type -> DT_DOUBLE.
void CmdToNumber(ArgValue* result, int32_t count, ArgValue* args);
// 1 value of any type -> text.
void CmdToText(ArgValue* result, int32_t count, ArgValue* args);
// 1 text; 2 separator (default ","); 3 maximum count (default unlimited)
// -> a one-dimensional text array, never null.
void CmdSplitText(ArgValue* result, int32_t count, ArgValue* args);
// 1 length -> a byte set of that many zero bytes; null for 0 or less.
void CmdBlankByteSet(ArgValue* result, int32_t count, ArgValue* args);
