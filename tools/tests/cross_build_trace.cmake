# Flies one flight directory with the Linux korvane-host and with this
# build's korvane-host under its emulator, each on a fresh copy, and
# compares the two traces with korvane-host diff. Allowed to differ: how
# the flight's folder is spelled (the copies' places, a drive letter,
# backslashes) and memAlloc's sizes (records are smaller on 32 bits).
# Everything else must be equal: order, arguments, results, reals bit for
# bit. On a difference the comparer names the first record that differs
# and its frame.
#
#   NATIVE_HOST   the Linux korvane-host (libKorvane.so beside it)
#   TOOL          this build's korvane-host
#   EMULATOR      what runs TOOL (wine)
#   WINEPREFIX    the emulator's prefix
#   EXAMPLE       the flight directory
#   OUT           a scratch folder of this test

if(NOT EXISTS "${NATIVE_HOST}")
    # CTest reports this as a skip, with the reason (SKIP_REGULAR_EXPRESSION).
    message("skipped: no Linux korvane-host at ${NATIVE_HOST} to compare with; build the preset default "
            "first (scripts/test-all.sh does)")
    return()
endif()
set(ENV{WINEPREFIX} "${WINEPREFIX}")
file(REMOVE_RECURSE "${OUT}")

function(fly name)
    file(COPY "${EXAMPLE}/" DESTINATION "${OUT}/${name}/flight")
    file(REMOVE_RECURSE "${OUT}/${name}/flight/screenshots")
    execute_process(COMMAND ${ARGN} --quiet --trace "${OUT}/${name}.jsonl" "${OUT}/${name}/flight"
                    WORKING_DIRECTORY "${OUT}/${name}"
                    OUTPUT_VARIABLE summary ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${name} flight failed (${status}):\n${summary}${errors}")
    endif()
    string(REPLACE "\r" "" summary "${summary}")
    message(STATUS "${name}: ${summary}")
    set(${name}_summary "${summary}" PARENT_SCOPE)
endfunction()

fly(linux "${NATIVE_HOST}")
fly(windows ${EMULATOR} "${TOOL}")
execute_process(COMMAND "${NATIVE_HOST}" diff --ignore-paths --ignore-sizes "${OUT}/linux.jsonl" "${OUT}/windows.jsonl"
                OUTPUT_VARIABLE comparison ERROR_VARIABLE errors RESULT_VARIABLE status)
message(STATUS "korvane-host diff: ${comparison}${errors}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the traces of ${EXAMPLE} differ between the builds (A: Linux, B: this build)")
endif()
if(NOT linux_summary STREQUAL windows_summary)
    message(FATAL_ERROR "equal traces, but the summaries differ:\n${linux_summary}${windows_summary}")
endif()
