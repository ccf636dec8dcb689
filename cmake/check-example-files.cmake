# The example files the install takes (KorvaneExamples.cmake) are the files
# git tracks in the example flights: one added to an example and not to the
# list would be missing from every package, one left in the list after it
# was removed would fail the install.
#
#   SOURCE   the project's folder
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/KorvaneExamples.cmake")
find_program(GIT git)
if(NOT GIT OR NOT EXISTS "${SOURCE}/.git")
    # CTest reports this as a skip, with the reason (SKIP_REGULAR_EXPRESSION).
    message("skipped: ${SOURCE} is not a git checkout, so there are no tracked files to compare the list with")
    return()
endif()
execute_process(COMMAND "${GIT}" -C "${SOURCE}/examples" ls-files training network
                OUTPUT_VARIABLE tracked RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "git ls-files failed in ${SOURCE}/examples")
endif()
string(REPLACE "\n" ";" tracked "${tracked}")
list(FILTER tracked EXCLUDE REGEX "(^|/)\\.gitignore$|^$")
set(listed ${KORVANE_EXAMPLE_FILES})
list(SORT tracked)
list(SORT listed)
set(missing ${tracked})
list(REMOVE_ITEM missing ${listed})
set(extra ${listed})
list(REMOVE_ITEM extra ${tracked})
if(missing OR extra)
    list(JOIN missing "\n  " missing)
    list(JOIN extra "\n  " extra)
    message(FATAL_ERROR "cmake/KorvaneExamples.cmake differs from the tracked example files:\n"
                        "tracked, not listed:\n  ${missing}\nlisted, not tracked:\n  ${extra}")
endif()
list(LENGTH listed count)
message("the ${count} example files the install takes are the tracked ones")
