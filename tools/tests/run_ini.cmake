# Runs korvane-ini once and checks what it did.
#
#   TOOL           the program
#   ARGS           its arguments, separated by "|" (a list would be split by add_test)
#   WORKDIR        where it runs; the data files are named relative to it
#   OUT            a scratch file prefix for what it writes
#   RC             expected exit status (default 0)
#   STDOUT         a file the standard output must equal byte for byte
#   STDOUT_REGEX   a regular expression the standard output must match
#   STDERR_REGEX   a regular expression standard error must match
#   STDERR_EMPTY   when set, standard error must be empty
#   JSON_CHECK     a checker run on the standard output (with JSON_CHECK_ARGS
#                  before the file); what it prints must equal JSON_EXPECT
#                  byte for byte

if(NOT DEFINED RC)
    set(RC 0)
endif()
set(args)
if(NOT ARGS STREQUAL "")
    string(REPLACE "|" ";" args "${ARGS}")
endif()

execute_process(COMMAND "${TOOL}" ${args}
                WORKING_DIRECTORY "${WORKDIR}"
                OUTPUT_FILE "${OUT}.stdout"
                ERROR_FILE "${OUT}.stderr"
                RESULT_VARIABLE status)
file(READ "${OUT}.stdout" stdout)
file(READ "${OUT}.stderr" stderr)

set(failures)
if(NOT status STREQUAL "${RC}")
    list(APPEND failures "exit status ${status}, expected ${RC}")
endif()

function(compare_bytes actual_file expected_file what)
    file(READ "${actual_file}" actual HEX)
    file(READ "${expected_file}" expected HEX)
    if(NOT actual STREQUAL expected)
        set(failures ${failures} "${what} differs from ${expected_file}" PARENT_SCOPE)
    endif()
endfunction()

if(DEFINED STDOUT)
    compare_bytes("${OUT}.stdout" "${STDOUT}" "standard output")
endif()
if(DEFINED STDOUT_REGEX AND NOT stdout MATCHES "${STDOUT_REGEX}")
    list(APPEND failures "standard output does not match ${STDOUT_REGEX}")
endif()
if(DEFINED STDERR_REGEX AND NOT stderr MATCHES "${STDERR_REGEX}")
    list(APPEND failures "standard error does not match ${STDERR_REGEX}")
endif()
if(STDERR_EMPTY AND NOT stderr STREQUAL "")
    list(APPEND failures "standard error is not empty")
endif()
if(DEFINED JSON_CHECK)
    execute_process(COMMAND "${JSON_CHECK}" ${JSON_CHECK_ARGS} "${OUT}.stdout"
                    OUTPUT_FILE "${OUT}.listing"
                    RESULT_VARIABLE check_status)
    if(NOT check_status EQUAL 0)
        list(APPEND failures "the JSON checker failed (${check_status})")
    else()
        compare_bytes("${OUT}.listing" "${JSON_EXPECT}" "the listing from the JSON")
    endif()
endif()

if(failures)
    list(JOIN failures "\n  " message)
    message(FATAL_ERROR "korvane-ini ${args}:\n  ${message}\n--- standard output ---\n${stdout}\n--- standard error ---\n${stderr}")
endif()
