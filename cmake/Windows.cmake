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
target_link_libraries(tockwen_win32 PUBLIC tockwen_core
    user32 gdi32 shell32 winmm comdlg32 comctl32 advapi32 oleaut32 ole32 uuid)

set(TOCKWEN_RC ${PROJECT_SOURCE_DIR}/resources/Tockwen.rc)
file(GLOB TOCKWEN_RC_DEPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
set_source_files_properties(${TOCKWEN_RC} PROPERTIES OBJECT_DEPENDS "${TOCKWEN_RC_DEPS}")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # the same manifest for the amd64 side-by-side assemblies; windres finds it in the build dir
    file(READ ${PROJECT_SOURCE_DIR}/resources/Tockwen.manifest manifest)
    string(REPLACE "processorArchitecture=\"x86\"" "processorArchitecture=\"amd64\"" manifest "${manifest}")
    file(WRITE ${CMAKE_BINARY_DIR}/Tockwen-amd64.manifest "${manifest}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/Tockwen.manifest)
endif()

add_executable(Tockwen WIN32 ${PROJECT_SOURCE_DIR}/app/Main_win32.cpp ${TOCKWEN_RC})
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

# scripts/measure-cpu.sh's references: the clock's two timers and nothing else, and the same with
# the shell sent a ready-made icon as often as the clock's face changes
foreach(floor WakeFloor SendFloor)
    add_executable(${floor} WIN32 ${PROJECT_SOURCE_DIR}/tests/tools/WakeFloor_win32.cpp)
    target_link_libraries(${floor} PRIVATE tockwen_core)
    target_link_options(${floor} PRIVATE ${STATIC_LINK} -municode)
    target_compile_options(${floor} PRIVATE ${TOCKWEN_WARNINGS})
endforeach()
target_compile_definitions(SendFloor PRIVATE TOCKWEN_SEND_ICON)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every Windows test runs under Wine in a throwaway prefix inside this build tree, on a private
# virtual display; a ctest fixture brings the prefix, the display and the sound server up and down.
set(WINE_ENV ${PROJECT_SOURCE_DIR}/tests/support/wine-env.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_ENV} run ${CMAKE_BINARY_DIR})
add_test(NAME wine_env_up COMMAND ${WINE_ENV} up ${CMAKE_BINARY_DIR})
add_test(NAME wine_env_down COMMAND ${WINE_ENV} down ${CMAKE_BINARY_DIR})
set_tests_properties(wine_env_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 180 LABELS wine)
set_tests_properties(wine_env_down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS wine)

function(tockwen_wine_test name)
    add_test(NAME ${name} COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
    # one prefix, one desktop, one tray: the Wine tests run one at a time
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT 900 LABELS wine)
endfunction()

add_test(NAME tockwen_imports COMMAND ${PROJECT_SOURCE_DIR}/tests/support/check-imports.sh $<TARGET_FILE:Tockwen>)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # the shipped 32-bit code keeps SSE2 arithmetic even where no 32-bit program can be run
    add_test(NAME tockwen_sse_maths COMMAND ${PROJECT_SOURCE_DIR}/tests/support/check-sse-maths.sh
             $<TARGET_FILE:tockwen_core>)
endif()

# The platform-free tests once more, against the core exactly as the shipped program compiles it.
add_executable(core_tests_win ${TOCKWEN_NATIVE_TESTS})
target_link_libraries(core_tests_win PRIVATE tockwen_core GTest::gtest_main)
# test data through Wine's Z: drive, which is the whole Unix file system
target_compile_definitions(core_tests_win PRIVATE TOCKWEN_TEST_DATA="Z:${PROJECT_SOURCE_DIR}/tests")
target_link_options(core_tests_win PRIVATE ${STATIC_LINK})
tockwen_wine_test(core_tests_win)

add_executable(win_tests ${TOCKWEN_WIN32_TESTS} ${TOCKWEN_TEST_SUPPORT_WIN32} ${TOCKWEN_RC})
target_link_libraries(win_tests PRIVATE tockwen_win32 GTest::gtest_main)
target_include_directories(win_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
# reviewed images are read from the source tree, which Wine reaches through its Z: drive
target_compile_definitions(win_tests PRIVATE TOCKWEN_TEST_DATA="${PROJECT_SOURCE_DIR}/tests")
target_link_options(win_tests PRIVATE ${STATIC_LINK})
target_link_libraries(win_tests PRIVATE version)
add_dependencies(win_tests Tockwen)
tockwen_wine_test(win_tests)

if(TOCKWEN_E2E_TESTS)
    add_executable(e2e_tests ${TOCKWEN_E2E_TESTS} ${TOCKWEN_TEST_SUPPORT_WIN32})
    target_link_libraries(e2e_tests PRIVATE tockwen_win32 GTest::gtest_main)
    target_include_directories(e2e_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_options(e2e_tests PRIVATE ${STATIC_LINK})
    target_link_libraries(e2e_tests PRIVATE psapi)
    target_compile_definitions(e2e_tests PRIVATE TOCKWEN_TEST_DATA="Z:${PROJECT_SOURCE_DIR}/tests")
    add_dependencies(e2e_tests Tockwen)
    tockwen_wine_test(e2e_tests)

    # A second world at 144 DPI (150 %), apart from the first, for the tray icon at the size such a
    # shell shows it; only the test that needs it runs there (the world takes ~20 s to boot).
    set(DPI_WORLD ${CMAKE_BINARY_DIR}/dpi144)
    file(MAKE_DIRECTORY ${DPI_WORLD})
    add_test(NAME wine_env_up_dpi144 COMMAND ${CMAKE_COMMAND} -E env TOCKWEN_WINE_DPI=144 ${WINE_ENV} up ${DPI_WORLD})
    add_test(NAME wine_env_down_dpi144 COMMAND ${WINE_ENV} down ${DPI_WORLD})
    add_test(NAME e2e_tray_dpi144 COMMAND ${WINE_ENV} run ${DPI_WORLD} $<TARGET_FILE:e2e_tests>
                                          --gtest_filter=TrayClockAtDpi.*)
    set_tests_properties(wine_env_up_dpi144 PROPERTIES FIXTURES_SETUP wine_dpi144 TIMEOUT 180 LABELS wine)
    set_tests_properties(wine_env_down_dpi144 PROPERTIES FIXTURES_CLEANUP wine_dpi144 TIMEOUT 60 LABELS wine)
    set_tests_properties(e2e_tray_dpi144 PROPERTIES FIXTURES_REQUIRED wine_dpi144 RESOURCE_LOCK wine_dpi144
                                                    TIMEOUT 120 LABELS wine)
endif()

include(${PROJECT_SOURCE_DIR}/cmake/Installer.cmake)
