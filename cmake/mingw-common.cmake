# Cross-compiling for Windows with a MinGW-w64 posix-thread toolchain; the toolchain files set
# TOCKWEN_MINGW_ARCH (i686 for the shipped program, x86_64 for testing where no 32-bit program runs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TOCKWEN_MINGW_ARCH})

# the posix variants: the win32 thread model lacks std::mutex, which GoogleTest needs
set(CMAKE_C_COMPILER ${TOCKWEN_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOCKWEN_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${TOCKWEN_MINGW_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOCKWEN_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
