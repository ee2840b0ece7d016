# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZB_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZB_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# No mingw runtime DLL has to travel beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run through Wine; the runner picks the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine-run)
