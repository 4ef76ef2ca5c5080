# Native build: the platform-free core, its unit tests (ASan + UBSan), the fuzzer and the benchmarks.
add_library(tockwen_core STATIC ${TOCKWEN_CORE_SOURCES})
target_include_directories(tockwen_core PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(tockwen_core PRIVATE ${TOCKWEN_WARNINGS})
# no Windows headers exist on this side, so a Win32 type leaking into the core fails right here

if(TOCKWEN_SANITIZE)
    set(SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${SAN_FLAGS})
    add_link_options(${SAN_FLAGS})
    target_compile_options(tockwen_core PRIVATE ${SAN_FLAGS})
endif()

if(NOT TOCKWEN_TESTS)
    return()
endif()

enable_testing()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(core_tests ${TOCKWEN_NATIVE_TESTS})
target_link_libraries(core_tests PRIVATE tockwen_core GTest::gtest_main)
target_compile_options(core_tests PRIVATE ${TOCKWEN_WARNINGS})
# every test file includes GoogleTest, the larger part of each compile
target_precompile_headers(core_tests PRIVATE <gtest/gtest.h>)
target_compile_definitions(core_tests PRIVATE TOCKWEN_TEST_DATA="${PROJECT_SOURCE_DIR}/tests")
# one run of all of them, as on Windows: a process of its own for each of the 175 tests cost a
# sanitized start-up each, some 40 s of processor time in all
add_test(NAME core_tests COMMAND core_tests)

# libFuzzer targets need clang; each runs for a bounded time as a test of its own
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(TOCKWEN_FUZZ_SECONDS 20 CACHE STRING "How long each fuzzer runs in the test suite")
    foreach(src IN LISTS TOCKWEN_FUZZERS)
        get_filename_component(name ${src} NAME_WE)
        add_executable(${name} ${src})
        target_link_libraries(${name} PRIVATE tockwen_core)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${TOCKWEN_WARNINGS})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        add_test(NAME ${name}
                 COMMAND ${name} -max_total_time=${TOCKWEN_FUZZ_SECONDS} -print_final_stats=1
                         -max_len=256 ${CMAKE_BINARY_DIR}/${name}_corpus)
        # the longest native test, run for a fixed time: started first, beside the quick ones
        set_tests_properties(${name} PROPERTIES TIMEOUT 300 COST 1000)
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/${name}_corpus)
    endforeach()
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND AND TOCKWEN_BENCHMARKS AND TOCKWEN_BENCH_SOURCES)
    add_executable(core_bench ${TOCKWEN_BENCH_SOURCES})
    target_link_libraries(core_bench PRIVATE tockwen_core benchmark::benchmark benchmark::benchmark_main)
    # a smoke run only: real figures come from an optimised build without sanitizers
    add_test(NAME core_bench_smoke COMMAND core_bench --benchmark_min_time=0.001)
endif()
