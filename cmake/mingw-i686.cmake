# Cross-compiling the Windows i686 executable with Debian's MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
# The unit tests' own build takes the compilers with POSIX threads, whose
# C++ library has the std::mutex googletest needs; the executable players
# get keeps the default ones.
if(DROPEDIT_WINDOWS_UNIT_TESTS)
  set(DROPEDIT_MINGW_THREADS -posix)
else()
  set(DROPEDIT_MINGW_THREADS "")
endif()
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc${DROPEDIT_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++${DROPEDIT_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
