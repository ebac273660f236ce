# Cross-compiles for 64-bit Windows with MinGW-w64 (the POSIX-threads flavour of the compiler).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GENERA_MINGW_PREFISSO x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GENERA_MINGW_PREFISSO}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GENERA_MINGW_PREFISSO}-g++-posix)
set(CMAKE_RC_COMPILER ${GENERA_MINGW_PREFISSO}-windres)

# Libraries and headers come from the MinGW-w64 tree only; programs run on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${GENERA_MINGW_PREFISSO})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
