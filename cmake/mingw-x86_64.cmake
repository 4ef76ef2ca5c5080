# Cross-compiles Tockwen for 64-bit Windows: the Wine tests where no 32-bit program runs.
set(TOCKWEN_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
