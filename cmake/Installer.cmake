# The installer of this build, for the end-to-end tests: made from the shipped installer's script
# and files (scripts/release-parts.sh, as scripts/package.sh makes it), for this build's
# architecture, so that a 64-bit build is tested as an installed program where no 32-bit program
# runs. Without makensis there is none, and the installer's tests skip.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS OR NOT TARGET e2e_tests)
    return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(installer_arch amd64)
else()
    set(installer_arch x86)
endif()
set(parts ${PROJECT_SOURCE_DIR}/scripts/release-parts.sh)
set(stage ${CMAKE_BINARY_DIR}/installer-stage)
set(setup ${CMAKE_BINARY_DIR}/Tockwen-setup.exe)
add_custom_command(OUTPUT ${setup}
    COMMAND bash ${parts} stage $<TARGET_FILE:Tockwen> ${stage}
    COMMAND bash ${parts} installer ${stage} ${setup} ${installer_arch}
    DEPENDS Tockwen ${parts} ${PROJECT_SOURCE_DIR}/installer/Tockwen.nsi ${PROJECT_SOURCE_DIR}/docs/README-windows.txt
            ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/resources/Tockwen.rc ${PROJECT_SOURCE_DIR}/resources/AAA.ico
            ${PROJECT_SOURCE_DIR}/app/Version.h
    VERBATIM)
add_custom_target(tockwen_test_installer DEPENDS ${setup})
add_dependencies(e2e_tests tockwen_test_installer)
