# Runs korvane-host once on a fresh copy of a flight directory and checks
# what it did.
#
#   TOOL            the program
#   EMULATOR        what runs it (wine for the Windows build), or empty
#   WINEPREFIX      the emulator's prefix, made once for all tests
#   EXAMPLE         a flight directory, copied to OUT/flight first
#   OUT             a scratch folder of this test
#   ARGS            further arguments, separated by "|"; with EXAMPLE the
#                   copy's path comes last, after --trace and --timeline
#   RC              expected exit status (default 0)
#   STDOUT_REGEX    a regular expression the standard output must match
#   STDERR_REGEX    a regular expression standard error must match
#   SCREENSHOTS     how many files OUT/flight/screenshots must hold
#   SCREENSHOTS_IN  the folder, relative to OUT, that must hold them instead
#                   (--screenshots); the flight's folder then holds none
#   PICTURES        how many PNG files OUT/pictures (--pictures pictures) must hold
#   PICTURE_SIZE    WIDTHxHEIGHT every picture and screenshot must be, as
#                   its PNG header says
#   TRACE_REGEX     a regular expression the trace (with EXAMPLE) must match
#   CHECK           host_output_check, run on the trace, timeline and output

if(NOT DEFINED RC)
    set(RC 0)
endif()
if(DEFINED WINEPREFIX)
    set(ENV{WINEPREFIX} "${WINEPREFIX}")
endif()
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
set(args)
if(NOT ARGS STREQUAL "")
    string(REPLACE "|" ";" args "${ARGS}")
endif()
if(DEFINED EXAMPLE)
    file(COPY "${EXAMPLE}/" DESTINATION "${OUT}/flight")
    file(REMOVE_RECURSE "${OUT}/flight/screenshots")
    list(APPEND args --trace "${OUT}/trace.jsonl" --timeline "${OUT}/timeline.json" "${OUT}/flight")
endif()

execute_process(COMMAND ${EMULATOR} "${TOOL}" ${args}
                WORKING_DIRECTORY "${OUT}"
                OUTPUT_FILE "${OUT}/stdout"
                ERROR_FILE "${OUT}/stderr"
                RESULT_VARIABLE status)
file(READ "${OUT}/stdout" stdout)
file(READ "${OUT}/stderr" stderr)

set(failures)
if(NOT status STREQUAL "${RC}")
    list(APPEND failures "exit status ${status}, expected ${RC}")
endif()
if(DEFINED STDOUT_REGEX AND NOT stdout MATCHES "${STDOUT_REGEX}")
    list(APPEND failures "standard output does not match ${STDOUT_REGEX}")
endif()
if(DEFINED STDERR_REGEX AND NOT stderr MATCHES "${STDERR_REGEX}")
    list(APPEND failures "standard error does not match ${STDERR_REGEX}")
endif()
if(NOT DEFINED SCREENSHOTS_IN)
    set(SCREENSHOTS_IN flight/screenshots)
endif()
if(DEFINED SCREENSHOTS)
    file(GLOB shots "${OUT}/${SCREENSHOTS_IN}/*")
    list(LENGTH shots count)
    if(NOT count EQUAL SCREENSHOTS)
        list(APPEND failures "${count} screenshot files in ${SCREENSHOTS_IN}, expected ${SCREENSHOTS}")
    endif()
    if(NOT SCREENSHOTS_IN STREQUAL "flight/screenshots")
        if(EXISTS "${OUT}/flight/screenshots")
            list(APPEND failures "the flight's folder has a screenshots folder too")
        endif()
    endif()
endif()
if(DEFINED PICTURES)
    file(GLOB pictures "${OUT}/pictures/*.png")
    list(LENGTH pictures count)
    if(NOT count EQUAL PICTURES)
        list(APPEND failures "${count} pictures, expected ${PICTURES}")
    endif()
endif()
if(DEFINED PICTURE_SIZE)
    # A PNG starts with its signature and the IHDR chunk: width and height
    # as 32-bit big-endian words at bytes 16 and 20.
    file(GLOB drawn "${OUT}/pictures/*" "${OUT}/${SCREENSHOTS_IN}/*")
    foreach(file IN LISTS drawn)
        file(READ "${file}" head LIMIT 24 HEX)
        string(SUBSTRING "${head}" 0 16 signature)
        string(SUBSTRING "${head}" 32 8 width_hex)
        string(SUBSTRING "${head}" 40 8 height_hex)
        math(EXPR width "0x${width_hex}")
        math(EXPR height "0x${height_hex}")
        if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT "${width}x${height}" STREQUAL PICTURE_SIZE)
            list(APPEND failures "${file}: not a ${PICTURE_SIZE} PNG (${signature}, ${width}x${height})")
        endif()
    endforeach()
endif()
if(DEFINED TRACE_REGEX)
    file(READ "${OUT}/trace.jsonl" trace)
    if(NOT trace MATCHES "${TRACE_REGEX}")
        list(APPEND failures "the trace does not match ${TRACE_REGEX}")
    endif()
endif()
if(DEFINED CHECK)
    execute_process(COMMAND ${EMULATOR} "${CHECK}" "${OUT}/trace.jsonl" "${OUT}/timeline.json" "${OUT}/stdout"
                    OUTPUT_VARIABLE check_out ERROR_VARIABLE check_err RESULT_VARIABLE check_status)
    message(STATUS "${check_out}")
    if(NOT check_status EQUAL 0)
        list(APPEND failures "the output check failed: ${check_err}")
    endif()
endif()

if(failures)
    list(JOIN failures "\n  " message)
    message(FATAL_ERROR "korvane-host ${args}:\n  ${message}\n--- standard output ---\n${stdout}\n--- standard error ---\n${stderr}")
endif()
