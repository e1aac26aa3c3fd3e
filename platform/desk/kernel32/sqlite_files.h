// SQLite's own file work, seen by the desk. SQLite reaches its files through
// its default VFS, not through kernel32, so the faults of DESK_FAULT would
// never see the cache's database and journal being written. A shim VFS over
// the default one hands every write, sync and deletion to the same fault
// counting as the desk's files, and is made the default while a fault is
// staged; without one SQLite runs untouched.
#pragma once

namespace desk {

// Registers the shim as SQLite's default VFS; once per process.
void InstallSqliteShim();

}  // namespace desk
