# What `cmake --install` lays out for host writers, relative to any prefix:
#
#   include/korvane/          the interfaces a host needs (<korvane/NAME.h>)
#   include/korvane/standin/  the stand-in host's headers and the module
#                             headers they include ("sim/host/sim_host.h")
#   bin/ and lib/             the module, korvane-host, korvane-ini, the
#                             stand-in host's static libraries
#   lib/cmake/Korvane/        the package: Korvane::interfaces,
#                             Korvane::module, Korvane::standin,
#                             Korvane::korvane-host
#   share/korvane/examples/   the example flights (examples/ on Windows)
include(CMakePackageConfigHelpers)

set(KORVANE_PACKAGE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Korvane")
if(WIN32)
    set(KORVANE_EXAMPLES_DESTINATION examples)
else()
    set(KORVANE_EXAMPLES_DESTINATION "${CMAKE_INSTALL_DATADIR}/korvane/examples")
endif()

file(GLOB interface_headers "${PROJECT_SOURCE_DIR}/include/korvane/*.h")
install(FILES ${interface_headers} DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/korvane")

set_target_properties(korvane_interfaces PROPERTIES EXPORT_NAME interfaces)
set_target_properties(Korvane PROPERTIES EXPORT_NAME module)
set(exported_targets korvane_interfaces Korvane)

if(KORVANE_BUILD_STANDIN)
    set(standin_headers_dir "${CMAKE_INSTALL_INCLUDEDIR}/korvane/standin")
    # What a host writer includes: the host and replace, the scenario, the
    # call log and its observers, the module library and its driver. With
    # them goes every stand-in header they include, and nothing else.
    set(standin_public_headers
        sim/host/sim_host.h sim/host/module_driver.h sim/host/module_library.h
        sim/scenario/scenario.h sim/scenario/scenario_file.h
        sim/calls/call_log.h)
    set(pending ${standin_public_headers})
    set(standin_headers)
    while(pending)
        list(POP_FRONT pending header)
        if(header IN_LIST standin_headers)
            continue()
        endif()
        list(APPEND standin_headers "${header}")
        file(STRINGS "${PROJECT_SOURCE_DIR}/${header}" includes REGEX "^#include \"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
            if(NOT included MATCHES "^sim/")
                message(FATAL_ERROR "${header} is installed but includes \"${included}\", "
                                    "a header of the module's that the SDK does not carry")
            endif()
            list(APPEND pending "${included}")
        endforeach()
    endwhile()
    foreach(header IN LISTS standin_headers)
        get_filename_component(folder "${header}" DIRECTORY)
        install(FILES "${PROJECT_SOURCE_DIR}/${header}" DESTINATION "${standin_headers_dir}/${folder}")
    endforeach()
    set_target_properties(korvane_core PROPERTIES EXPORT_NAME core)
    set_target_properties(korvane_sim PROPERTIES EXPORT_NAME standin)
    set_target_properties(korvane-host PROPERTIES EXPORT_NAME korvane-host)
    list(APPEND exported_targets korvane_core korvane_sim korvane-host)
    if(TARGET korvane-ini)
        install(TARGETS korvane-ini RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
    endif()
endif()

install(TARGETS ${exported_targets} EXPORT KorvaneTargets
        RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}"
        LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}")
install(EXPORT KorvaneTargets NAMESPACE Korvane:: DESTINATION "${KORVANE_PACKAGE_DIR}")

set(KORVANE_WITH_STANDIN ${KORVANE_BUILD_STANDIN})
configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/KorvaneConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/KorvaneConfig.cmake" INSTALL_DESTINATION "${KORVANE_PACKAGE_DIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/KorvaneConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/KorvaneConfig.cmake" "${PROJECT_BINARY_DIR}/KorvaneConfigVersion.cmake"
        DESTINATION "${KORVANE_PACKAGE_DIR}")

include("${CMAKE_CURRENT_LIST_DIR}/KorvaneExamples.cmake")
foreach(file IN LISTS KORVANE_EXAMPLE_FILES)
    get_filename_component(folder "${file}" DIRECTORY)
    install(FILES "${PROJECT_SOURCE_DIR}/examples/${file}" DESTINATION "${KORVANE_EXAMPLES_DESTINATION}/${folder}")
endforeach()
