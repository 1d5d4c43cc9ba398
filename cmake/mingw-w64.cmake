# Cross-compiles the Qt-free core and its tests for 64-bit Windows with Debian's MinGW-w64
# (package g++-mingw-w64-x86-64). The tests then run under Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TIRA_MINGW_PREFIX x86_64-w64-mingw32)
# the POSIX thread model: std::mutex and std::thread are there in GCC 12
set(CMAKE_C_COMPILER ${TIRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TIRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TIRA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TIRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# one self-contained .exe: no MinGW runtime DLLs to find under Wine or on Windows
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
find_program(TIRA_WINE NAMES wine wine64)
if(TIRA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TIRA_WINE})
endif()
