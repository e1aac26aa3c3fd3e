// Where the running program's file is on the host. A root without /proc (a
// container, a chroot a player made) must still give the program its folder:
// the program reads the game relative to it.
#pragma once

#include <string>

namespace desk {

// The program file's absolute host path, or "" when no source can tell it.
// Tried in turn: the link /proc/self/exe, then the path the kernel executed
// (the auxiliary vector's AT_EXECFN) made absolute against the folder the
// process started in.
std::string ProgramFileHostPath();

// An executed path made absolute against `startFolder`, with "." and ".."
// segments and doubled slashes folded away; "" when `execPath` is empty, or
// relative while `startFolder` is not absolute.
std::string AbsoluteExecPath(const std::string& execPath, const std::string& startFolder);

}  // namespace desk
