# Cross-compiles Tockwen for 32-bit Windows: the shipped program.
set(TOCKWEN_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
