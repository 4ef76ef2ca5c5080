# The installer of this build, for the end-to-end tests: made from the shipped installer's script
# and files (scripts/release-parts.sh, as scripts/package.sh makes it), for this build's
# architecture, so that a 64-bit build is tested as an installed program where no 32-bit program
# runs. Without makensis there is none, and the installer's tests skip.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS OR NOT TARGET e2e_tests)
    return()
endif()

set(parts ${PROJECT_SOURCE_DIR}/scripts/release-parts.sh)
set(stage ${CMAKE_BINARY_DIR}/installer-stage)
set(inputs ${parts} ${PROJECT_SOURCE_DIR}/installer/Tockwen.nsi ${PROJECT_SOURCE_DIR}/docs/README-windows.txt
    ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/resources/Tockwen.rc ${PROJECT_SOURCE_DIR}/resources/AAA.ico
    ${PROJECT_SOURCE_DIR}/app/Version.h)
set(setups ${CMAKE_BINARY_DIR}/Tockwen-setup.exe)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(commands COMMAND bash ${parts} installer ${stage} ${CMAKE_BINARY_DIR}/Tockwen-setup.exe amd64)
else()
    # and one that removes what 64-bit Windows keeps apart for a 32-bit program, in a 32-bit prefix
    list(APPEND setups ${CMAKE_BINARY_DIR}/Tockwen-setup-wow64.exe)
    set(commands COMMAND bash ${parts} installer ${stage} ${CMAKE_BINARY_DIR}/Tockwen-setup.exe x86
                 COMMAND bash ${parts} installer ${stage} ${CMAKE_BINARY_DIR}/Tockwen-setup-wow64.exe x86 -DAS_WOW64)
endif()
add_custom_command(OUTPUT ${setups}
    COMMAND bash ${parts} stage $<TARGET_FILE:Tockwen> ${stage}
    ${commands}
    DEPENDS Tockwen ${inputs}
    VERBATIM)
add_custom_target(tockwen_test_installer DEPENDS ${setups})
add_dependencies(e2e_tests tockwen_test_installer)
# the tests read the version resources of the installer and of the program
target_link_libraries(e2e_tests PRIVATE version)
