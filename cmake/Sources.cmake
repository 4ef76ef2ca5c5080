# Source lists. Every subsystem folder holds its platform-free core next to its Win32 edge
# (files ending in _win32.cpp); tests mirror the folders and follow the same suffix rule.
set(TOCKWEN_DIRS base render announce settings_ui app)

set(TOCKWEN_CORE_SOURCES "")
set(TOCKWEN_WIN32_SOURCES "")
foreach(dir IN LISTS TOCKWEN_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    foreach(f IN LISTS found)
        if(f MATCHES "_win32\\.cpp$")
            list(APPEND TOCKWEN_WIN32_SOURCES ${f})
        else()
            list(APPEND TOCKWEN_CORE_SOURCES ${f})
        endif()
    endforeach()
endforeach()
# the program's entry point stays out of the library that the Windows tests link
list(FILTER TOCKWEN_WIN32_SOURCES EXCLUDE REGEX "/app/Main_win32\\.cpp$")

file(GLOB_RECURSE TOCKWEN_ALL_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*_test.cpp)
set(TOCKWEN_NATIVE_TESTS ${TOCKWEN_ALL_TESTS})
list(FILTER TOCKWEN_NATIVE_TESTS EXCLUDE REGEX "_win32_test\\.cpp$")
set(TOCKWEN_WIN32_TESTS ${TOCKWEN_ALL_TESTS})
list(FILTER TOCKWEN_WIN32_TESTS INCLUDE REGEX "_win32_test\\.cpp$")
# end-to-end tests drive the real Tockwen.exe from a process of their own
set(TOCKWEN_E2E_TESTS ${TOCKWEN_WIN32_TESTS})
list(FILTER TOCKWEN_E2E_TESTS INCLUDE REGEX "/tests/e2e/")
list(FILTER TOCKWEN_WIN32_TESTS EXCLUDE REGEX "/tests/e2e/")

file(GLOB_RECURSE TOCKWEN_FUZZERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*_fuzz.cpp)
file(GLOB_RECURSE TOCKWEN_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*_bench.cpp)

# shared helpers of the Windows tests (driving Tockwen.exe, reading the tray, counting handles)
file(GLOB TOCKWEN_TEST_SUPPORT_WIN32 CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*_win32.cpp)
