# The font the stand-in host draws the texts of its pictures with, built
# into the program so that every build (the Windows ones included, which
# have no font folder to look in) draws the same texts. Debian's
# fonts-dejavu-core provides it; a build configured without it still works
# and its pictures say they show no texts.
find_file(KORVANE_PICTURE_FONT DejaVuSans.ttf
          PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT KORVANE_PICTURE_FONT)
    message(WARNING "DejaVuSans.ttf not found (package fonts-dejavu-core): pictures will show no texts")
    set(KORVANE_PICTURE_FONT "")
endif()

# Each target gets a file of its own, so that targets in other folders (the
# fuzzers' copy of the stand-in) can have the font as well.
function(korvane_add_picture_font target)
    set(source "${CMAKE_BINARY_DIR}/generated/${target}_picture_font.cpp")
    add_custom_command(
        OUTPUT "${source}"
        COMMAND "${CMAKE_COMMAND}" "-DFONT=${KORVANE_PICTURE_FONT}" "-DOUTPUT=${source}"
                -P "${PROJECT_SOURCE_DIR}/cmake/embed-font.cmake"
        DEPENDS "${PROJECT_SOURCE_DIR}/cmake/embed-font.cmake" ${KORVANE_PICTURE_FONT}
        COMMENT "Building the picture font into the stand-in host"
        VERBATIM)
    target_sources(${target} PRIVATE "${source}")
endfunction()
