# Cross build: Tockwen.exe, the Win32 unit tests and the end-to-end tests, run by ctest under Wine.
set(WIN32_DEFS UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
# IEEE double arithmetic, as in the native build: the default x87 maths keeps 80-bit
# intermediates and rounds some anti-aliased pixels differently. Everything built here (core,
# program, tests, GoogleTest) uses it, so the program needs a CPU with SSE2.
add_compile_options(-msse2 -mfpmath=sse)
# a single self-contained exe: no MinGW runtime DLL may be needed beside it
set(STATIC_LINK -static -static-libgcc -static-libstdc++)

add_library(tockwen_core STATIC ${TOCKWEN_CORE_SOURCES})
target_include_directories(tockwen_core PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(tockwen_core PRIVATE ${TOCKWEN_WARNINGS})

add_library(tockwen_win32 STATIC ${TOCKWEN_WIN32_SOURCES})
target_compile_definitions(tockwen_win32 PUBLIC ${WIN32_DEFS})
target_compile_options(tockwen_win32 PRIVATE ${TOCKWEN_WARNINGS})
# every file of the Win32 edge includes windows.h, much the largest part of its compile
target_precompile_headers(tockwen_win32 PRIVATE <windows.h> <string> <string_view> <vector> <optional> <cstdint>)
target_link_libraries(tockwen_win32 PUBLIC tockwen_core
    user32 gdi32 shell32 winmm comdlg32 comctl32 advapi32 oleaut32 ole32 uuid)

set(TOCKWEN_RC ${PROJECT_SOURCE_DIR}/resources/Tockwen.rc)
# the clips too: a clip made anew must reach the program
file(GLOB_RECURSE TOCKWEN_RC_DEPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
set_source_files_properties(${TOCKWEN_RC} PROPERTIES OBJECT_DEPENDS "${TOCKWEN_RC_DEPS}")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # the same manifest for the amd64 side-by-side assemblies; windres finds it in the build dir
    file(READ ${PROJECT_SOURCE_DIR}/resources/Tockwen.manifest manifest)
    string(REPLACE "processorArchitecture=\"x86\"" "processorArchitecture=\"amd64\"" manifest "${manifest}")
    file(WRITE ${CMAKE_BINARY_DIR}/Tockwen-amd64.manifest "${manifest}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/Tockwen.manifest)
endif()

# the resources, compiled once for the program and the test programs that load them (the
# recordings are compared with its voice clips)
add_library(tockwen_resources OBJECT ${TOCKWEN_RC})
target_link_libraries(tockwen_resources PRIVATE tockwen_win32)
add_executable(Tockwen WIN32 ${PROJECT_SOURCE_DIR}/app/Main_win32.cpp $<TARGET_OBJECTS:tockwen_resources>)
target_link_libraries(Tockwen PRIVATE tockwen_win32)
# no link time stamp in the PE header, so the same sources give the same exe bytes; ASLR and DEP
# stated, not left to the linker's defaults (binutils before 2.36 set neither)
target_link_options(Tockwen PRIVATE ${STATIC_LINK} -municode -Wl,--no-insert-timestamp -Wl,--dynamicbase,--nxcompat
    $<$<CONFIG:Release,MinSizeRel>:-s -Wl,--gc-sections>)
target_compile_options(tockwen_core PRIVATE -ffunction-sections -fdata-sections)
target_compile_options(tockwen_win32 PRIVATE -ffunction-sections -fdata-sections)
target_compile_options(Tockwen PRIVATE ${TOCKWEN_WARNINGS})

if(NOT TOCKWEN_TESTS)
    return()
endif()

enable_testing()

# scripts/measure-cpu.sh's references: a window that wakes as the seen clock does and nothing else, and
# the same with the shell sent a ready-made icon as often as the clock's face changes. No test runs
# them, so they are built only when asked for (cmake --build BUILD --target WakeFloor SendFloor).
foreach(floor WakeFloor SendFloor)
    add_executable(${floor} WIN32 EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/tools/WakeFloor_win32.cpp)
    target_link_libraries(${floor} PRIVATE tockwen_core)
    target_link_options(${floor} PRIVATE ${STATIC_LINK} -municode)
    target_compile_options(${floor} PRIVATE ${TOCKWEN_WARNINGS})
endforeach()
target_compile_definitions(SendFloor PRIVATE TOCKWEN_SEND_ICON)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Test code is compiled for a quick build rather than for speed (the program's own code, which the
# tests link, keeps the release options). Each test program is compiled as one unit, its files
# joined, which spares compiling the same headers and templates once for every file; a file that
# defines a helper of its own under a name another file of its program also uses is compiled
# apart. What they still compile apart precompiles the headers that every file includes, or takes
# the same ones from another program (REUSE_FROM target).
target_compile_options(gtest PRIVATE -O1)
target_compile_options(gtest_main PRIVATE -O1)
set_source_files_properties(
    ${PROJECT_SOURCE_DIR}/tests/announce/Schedule_test.cpp ${PROJECT_SOURCE_DIR}/tests/render/ClockFace_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/TrayShell_win32_test.cpp ${PROJECT_SOURCE_DIR}/tests/render/TrayClock_win32_test.cpp
    PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
function(tockwen_test_program name)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
    # GCC 12 takes some std::string copies, once inlined at -O1, for overflows that are not there
    target_compile_options(${name} PRIVATE -O1 -Wno-stringop-overflow -Wno-stringop-overread)
    if(ARGV1 STREQUAL "REUSE_FROM")
        target_precompile_headers(${name} REUSE_FROM ${ARGV2})
    else()
        target_precompile_headers(${name} PRIVATE <gtest/gtest.h> ${ARGN})
    endif()
    target_link_options(${name} PRIVATE ${STATIC_LINK})
    # the clips and the reviewed images in the source tree, through Wine's Z: drive, which is the
    # whole Unix file system (the same text in every program, so that they can share headers)
    target_compile_definitions(${name} PRIVATE TOCKWEN_TEST_DATA="Z:${PROJECT_SOURCE_DIR}/tests")
endfunction()

# What the Windows test programs share, built once: the driver of the real program.
add_library(tockwen_test_support STATIC ${TOCKWEN_TEST_SUPPORT_WIN32})
target_link_libraries(tockwen_test_support PUBLIC tockwen_win32)
target_include_directories(tockwen_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_compile_options(tockwen_test_support PRIVATE -O1 ${TOCKWEN_WARNINGS})

# Every Windows test runs under Wine in a throwaway world inside this build tree: a prefix, a
# private virtual display and a sound server (tests/support/wine-env.sh). A ctest fixture brings
# each world up and down; the tests of one world run one at a time, different worlds side by side.
set(WINE_ENV ${PROJECT_SOURCE_DIR}/tests/support/wine-env.sh)
function(tockwen_wine_world name dir)
    file(MAKE_DIRECTORY ${dir})
    add_test(NAME wine_env_up_${name} COMMAND ${CMAKE_COMMAND} -E env ${ARGN} ${WINE_ENV} up ${dir})
    add_test(NAME wine_env_down_${name} COMMAND ${WINE_ENV} down ${dir})
    set_tests_properties(wine_env_up_${name} PROPERTIES FIXTURES_SETUP wine_${name} TIMEOUT 180 LABELS wine)
    set_tests_properties(wine_env_down_${name} PROPERTIES FIXTURES_CLEANUP wine_${name} TIMEOUT 60 LABELS wine)
endfunction()
function(tockwen_wine_test name world dir)
    add_test(NAME ${name} COMMAND ${WINE_ENV} run ${dir} ${ARGN})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_${world} RESOURCE_LOCK wine_${world}
                                            TIMEOUT 600 LABELS wine)
endfunction()
tockwen_wine_world(main ${CMAKE_BINARY_DIR})

add_test(NAME tockwen_imports COMMAND ${PROJECT_SOURCE_DIR}/tests/support/check-imports.sh $<TARGET_FILE:Tockwen>)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # the shipped 32-bit code keeps SSE2 arithmetic even where no 32-bit program can be run
    add_test(NAME tockwen_sse_maths COMMAND ${PROJECT_SOURCE_DIR}/tests/support/check-sse-maths.sh
             $<TARGET_FILE:tockwen_core>)
endif()

# The platform-free tests once more, against the core exactly as the shipped program compiles it.
add_executable(core_tests_win ${TOCKWEN_NATIVE_TESTS})
target_link_libraries(core_tests_win PRIVATE tockwen_core GTest::gtest_main)
tockwen_test_program(core_tests_win)
tockwen_wine_test(core_tests_win main ${CMAKE_BINARY_DIR} $<TARGET_FILE:core_tests_win>)

if(TOCKWEN_E2E_TESTS)
    add_executable(e2e_tests ${TOCKWEN_E2E_TESTS} $<TARGET_OBJECTS:tockwen_resources>)
    target_link_libraries(e2e_tests PRIVATE tockwen_test_support GTest::gtest_main psapi)
    tockwen_test_program(e2e_tests <windows.h>)
    add_dependencies(e2e_tests Tockwen)
    tockwen_wine_test(e2e_tests main ${CMAKE_BINARY_DIR} $<TARGET_FILE:e2e_tests>
                      --gtest_filter=-TrayClockWholeMinute.*:TrayClockAtDpi.*:TimerAlarm.*)

    add_subdirectory(${PROJECT_SOURCE_DIR}/tests/e2e/whole-minute ${CMAKE_BINARY_DIR}/minute)

    # A world at 144 DPI (150 %), for the tray icon at the size such a shell shows it.
    set(DPI_WORLD ${CMAKE_BINARY_DIR}/dpi144)
    tockwen_wine_world(dpi144 ${DPI_WORLD} TOCKWEN_WINE_DPI=144)
    tockwen_wine_test(e2e_tray_dpi144 dpi144 ${DPI_WORLD} $<TARGET_FILE:e2e_tests> --gtest_filter=TrayClockAtDpi.*)
endif()

add_executable(win_tests ${TOCKWEN_WIN32_TESTS} $<TARGET_OBJECTS:tockwen_resources>)
target_link_libraries(win_tests PRIVATE tockwen_test_support GTest::gtest_main version)
tockwen_test_program(win_tests REUSE_FROM e2e_tests)
add_dependencies(win_tests Tockwen)
tockwen_wine_test(win_tests main ${CMAKE_BINARY_DIR} $<TARGET_FILE:win_tests>)
if(TOCKWEN_E2E_TESTS)
    # The main world's tests start once every other world has booted (the checks that wait on the
    # clock listen only a minute after theirs): a world booting beside a test that listens to the
    # clock's sound broke that sound up.
    set_tests_properties(core_tests_win e2e_tests win_tests PROPERTIES DEPENDS
                         "wine_env_up_minute;wine_env_up_timer;wine_env_up_alarm;wine_env_up_dpi144")
endif()

# Figures for the record (start-up, memory, CPU share, what a tick costs): built and run by
# scripts/measure-figures.sh, not by the test command.
add_executable(figures EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/figures/Figures_win32.cpp)
target_link_libraries(figures PRIVATE tockwen_test_support GTest::gtest_main psapi)
tockwen_test_program(figures REUSE_FROM e2e_tests)
add_dependencies(figures Tockwen)

include(${PROJECT_SOURCE_DIR}/cmake/Installer.cmake)
