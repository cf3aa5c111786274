# Cross-compiles the Windows executable on Linux with MinGW-w64 (the POSIX
# threads flavour of the compiler, x86-64).
#
#   cmake --preset windows && cmake --build --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DIADIM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DIADIM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DIADIM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DIADIM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DIADIM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable and nothing beside it: the C and C++ runtimes and the
# threads library are linked in, so only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
