# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads variant); the programs
# it builds run here under Wine, which CTest uses as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORNIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VORNIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORNIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VORNIX_MINGW_PREFIX}-windres)
set(CMAKE_AR ${VORNIX_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VORNIX_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${VORNIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program links the C and C++ runtimes and winpthread statically, so it needs only the
# DLLs that Windows itself ships.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Wine runs the cross-built programs for CTest (and for GoogleTest's test discovery), in a Wine
# prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
  ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
