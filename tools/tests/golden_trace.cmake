# Flies one flight with korvane-host and compares its trace with the
# flight's golden trace (korvane-host diff), or records it as the new
# golden trace when the environment variable KORVANE_RECORD_GOLDEN is 1
# (scripts/update-golden.sh).
#
# The flight is flown from a fresh copy in /tmp/korvane-golden-XXXXXX/NAME,
# whose last six letters are drawn at random: every machine and build flies
# it from a folder name of the same length, so the module's copies of
# paths under it have the same sizes everywhere. Every trace recorded names
# that folder with the letters as XXXXXX, so a Linux build's trace matches
# the golden trace to the letter; a Windows build's spells the folder its
# own way and compares with --ignore-flight-folder (DIFF_OPTIONS).
#
#   TOOL          korvane-host of this build
#   EMULATOR      what runs TOOL (wine for the Windows builds), or empty
#   WINEPREFIX    the emulator's prefix
#   FLIGHT        the flight directory
#   SCENARIO      a scenario file (default: the flight's scenario.ini)
#   MOVE          "FROM|TO": the scenario is the flight's scenario.ini with
#                 the line FROM replaced by TO
#   GOLDEN        the golden trace
#   DIFF_OPTIONS  further options of korvane-host diff, separated by "|"
#   EXPECT        a regular expression: the traces must differ, and the
#                 comparison's output must match it
#   OUT           a scratch folder of this test

if(DEFINED WINEPREFIX)
    set(ENV{WINEPREFIX} "${WINEPREFIX}")
endif()
set(recording FALSE)
if("$ENV{KORVANE_RECORD_GOLDEN}" STREQUAL "1")
    set(recording TRUE)
endif()
if(recording AND DEFINED THROUGH_REPLACE)
    message("skipped: the flight through replace is compared with the trace the plain flight records")
    return()
endif()
if(recording AND DEFINED EXPECT)
    message("skipped: a comparison expected to differ records nothing")
    return()
endif()
if(recording AND EMULATOR)
    # Golden traces are the Linux build's; the others compare with them.
    message("skipped: golden traces are recorded by the Linux build only (scripts/update-golden.sh)")
    return()
endif()
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")

set(args --quiet --trace "${OUT}/trace.jsonl")
if(DEFINED THROUGH_REPLACE)
    list(APPEND args --through-replace)
endif()
if(DEFINED SCENARIO)
    list(APPEND args --scenario "${SCENARIO}")
elseif(DEFINED MOVE)
    string(REPLACE "|" ";" move "${MOVE}")
    list(GET move 0 from)
    list(GET move 1 to)
    file(READ "${FLIGHT}/scenario.ini" scenario)
    string(FIND "${scenario}" "\n${from}\n" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${FLIGHT}/scenario.ini has no line ${from}")
    endif()
    string(REPLACE "\n${from}\n" "\n${to}\n" scenario "${scenario}")
    file(WRITE "${OUT}/scenario.ini" "${scenario}")
    list(APPEND args --scenario "${OUT}/scenario.ini")
endif()

# A folder of its own, so that parallel runs never share one.
set(letters abcdefghijklmnopqrstuvwxyz0123456789)
foreach(attempt RANGE 9)
    string(RANDOM LENGTH 6 ALPHABET ${letters} drawn)
    set(folder "/tmp/korvane-golden-${drawn}")
    if(NOT EXISTS "${folder}")
        break()
    endif()
endforeach()
get_filename_component(name "${FLIGHT}" NAME)
file(COPY "${FLIGHT}/" DESTINATION "${folder}/${name}")
file(REMOVE_RECURSE "${folder}/${name}/screenshots")
execute_process(COMMAND ${EMULATOR} "${TOOL}" ${args} "${folder}/${name}"
                WORKING_DIRECTORY "${OUT}"
                OUTPUT_VARIABLE summary ERROR_VARIABLE errors RESULT_VARIABLE status)
file(REMOVE_RECURSE "${folder}")
string(REPLACE "\r" "" summary "${summary}")
message(STATUS "korvane-host: ${summary}${errors}")
# A flight that fails to load still leaves a trace to compare.
if(NOT (status EQUAL 0 OR status EQUAL 1) OR NOT EXISTS "${OUT}/trace.jsonl")
    message(FATAL_ERROR "korvane-host ${args} ${folder}/${name} failed (${status}):\n${summary}${errors}")
endif()
# One spelling of the folder in every trace recorded, whatever was drawn.
file(READ "${OUT}/trace.jsonl" trace)
string(REPLACE "korvane-golden-${drawn}" "korvane-golden-XXXXXX" trace "${trace}")
file(WRITE "${OUT}/trace.jsonl" "${trace}")

if(recording)
    file(COPY_FILE "${OUT}/trace.jsonl" "${GOLDEN}")
    message(STATUS "recorded ${GOLDEN}")
    return()
endif()

set(options)
if(DEFINED DIFF_OPTIONS AND NOT DIFF_OPTIONS STREQUAL "")
    string(REPLACE "|" ";" more "${DIFF_OPTIONS}")
    list(APPEND options ${more})
endif()
execute_process(COMMAND ${EMULATOR} "${TOOL}" diff ${options} "${GOLDEN}" "${OUT}/trace.jsonl"
                OUTPUT_VARIABLE comparison ERROR_VARIABLE errors RESULT_VARIABLE status)
string(REPLACE "\r" "" comparison "${comparison}")
list(JOIN options " " shown)
if(NOT shown STREQUAL "")
    string(PREPEND shown " ")
endif()
message("korvane-host diff${shown} (A: ${GOLDEN}, B: ${OUT}/trace.jsonl):\n${comparison}${errors}")
if(DEFINED EXPECT)
    if(NOT status EQUAL 1 OR NOT comparison MATCHES "${EXPECT}")
        message(FATAL_ERROR "expected the traces to differ (exit status 1, not ${status}) as ${EXPECT} says")
    endif()
elseif(status EQUAL 1)
    message(FATAL_ERROR "the trace of ${name} differs from its golden trace (A) as shown above. If the module "
                        "was meant to change its calls, record the golden traces again with "
                        "scripts/update-golden.sh and commit them with the change.")
elseif(NOT status EQUAL 0)
    message(FATAL_ERROR "korvane-host diff failed (${status})")
endif()
# Flown through replace, the trace is the golden one to the byte where the
# golden traces were recorded (the Linux builds).
if(DEFINED THROUGH_REPLACE AND NOT EMULATOR)
    file(READ "${GOLDEN}" golden_text)
    if(NOT trace STREQUAL golden_text)
        message(FATAL_ERROR "the trace flown through replace is not the golden trace byte for byte")
    endif()
endif()
