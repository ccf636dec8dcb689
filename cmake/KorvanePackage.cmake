# The packages of an install (cpack in a build folder): a Debian package of
# the Linux build, a zip of the Windows builds.
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Korvane flight-mode module, the interfaces a host needs, korvane-host, korvane-ini and the stand-in host")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Korvane developers <korvane@localhost>")
# Packages carry no debug information (nor the build folders it names).
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
    set(CPACK_SYSTEM_NAME "win${bits}")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION devel)
    # The libraries the programs and the module need, as dpkg finds them;
    # the stand-in host's headers need the JSON library's.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "nlohmann-json3-dev")
endif()
include(CPack)
