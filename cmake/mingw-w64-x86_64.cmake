# Cross-building the 64-bit Windows program with Debian's MinGW-w64 (the
# POSIX-threads flavour, whose libstdc++ has std::thread and friends).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVANEL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVANEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVANEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVANEL_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW-w64 tree only; programs (such as
# bash for the tests) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${KORVANEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained program: no libstdc++, libgcc or winpthread DLL beside it;
# release programs without their symbols.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
