# Cross toolchain for 32-bit Windows. The -posix compilers are required:
# the win32 thread model lacks std::mutex, which GoogleTest uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CPK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
