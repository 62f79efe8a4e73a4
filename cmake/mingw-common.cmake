set(CMAKE_C_COMPILER   ${CPK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CPK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${CPK_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${CPK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test binaries run under Wine through this wrapper; it is written into the
# build tree at configure time (see tools/wine-run.sh.in).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# No MinGW runtime DLL may be needed beside the exe or the device library.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
