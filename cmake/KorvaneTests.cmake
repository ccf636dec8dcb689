# How this build's tests run, and the one way to add a test that runs one
# of this build's programs: korvane_add_test, with add_test's arguments.
#
# On the build machine and under wine64 every such test runs. The 32-bit
# Windows build first finds out, once per configuration, how this machine
# runs 32-bit programs (KORVANE_WIN32_EXECUTION):
#
#   native    under 32-bit wine, as any program: every test runs
#   emulated  the kernel refuses 32-bit code, but 32-bit wine runs under
#             qemu-i386 user-mode emulation, many times slower: the tests
#             of KORVANE_EMULATED_TESTS run, every other is reported as
#             skipped with the reason
#   none      no 32-bit code can run here: everything is built, the checks
#             that run nothing of this build still run, and every test
#             that would run a 32-bit program is reported as skipped
#
# The environment variable KORVANE_WIN32_EXECUTION, when set, takes the
# place of the probe's answer, so that each mode can be tried on any
# machine (emulated still needs qemu-i386, native a machine that runs
# 32-bit code).

# A test this build cannot run is still listed, and CTest reports it as
# skipped with the reason, rather than leaving it out without a word.
function(korvane_skipped_test name reason)
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "skipped: ${reason}")
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "skipped: ")
endfunction()

set(KORVANE_WIN32_EXECUTION "")
if(CMAKE_CROSSCOMPILING AND WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_CROSSCOMPILING_EMULATOR)
    execute_process(COMMAND "${CMAKE_CROSSCOMPILING_EMULATOR}" --probe
                    OUTPUT_VARIABLE probe OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT probe MATCHES "^(native|emulated|none): ")
        message(FATAL_ERROR "cannot tell how this machine runs 32-bit programs: ${probe}")
    endif()
    set(KORVANE_WIN32_EXECUTION "${CMAKE_MATCH_1}")
    set(KORVANE_WIN32_EXECUTION_REASON "${probe}")
    if(DEFINED ENV{KORVANE_WIN32_EXECUTION})
        set(forced "$ENV{KORVANE_WIN32_EXECUTION}")
        if(NOT forced MATCHES "^(native|emulated|none)$")
            message(FATAL_ERROR "KORVANE_WIN32_EXECUTION=${forced}: native, emulated or none")
        endif()
        set(KORVANE_WIN32_EXECUTION "${forced}")
        set(KORVANE_WIN32_EXECUTION_REASON
            "${forced}: set by KORVANE_WIN32_EXECUTION (the probe said: ${probe})")
    endif()
    message(STATUS "32-bit programs: ${KORVANE_WIN32_EXECUTION_REASON}")
    file(WRITE "${CMAKE_BINARY_DIR}/win32-execution.txt" "${KORVANE_WIN32_EXECUTION_REASON}\n")
    # The tests run their programs through a runner of this build that
    # knows the mode, so they need not be told one by one.
    set(runner "${CMAKE_BINARY_DIR}/wine32-run")
    file(CONFIGURE OUTPUT "${runner}" CONTENT
         "#!/bin/sh\n# Made by CMake: 32-bit programs run ${KORVANE_WIN32_EXECUTION} on this machine.\nKORVANE_WIN32_EXECUTION=${KORVANE_WIN32_EXECUTION} exec \"${CMAKE_CROSSCOMPILING_EMULATOR}\" \"$@\"\n")
    file(CHMOD "${runner}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                       WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${runner}")
endif()

# The tests that run under emulation: the real target's own flights
# (korvane-host.exe with Korvane.dll, both examples, their traces compared
# with the Linux build's and with the golden traces, the training tour
# too). Every other test program is left out there: measured under
# emulation, the module's quick programs take 10 to 40 s each, but at times
# every wine process of the prefix stalls for some 300 s together, and a
# program with a second thread (platform, frame) may stop in qemu-i386
# itself (uncaught target signal 11); the host tests and the example runs'
# output checks, which read a whole trace as JSON, take 4 to 7 minutes.
# They all run natively and in the 64-bit Windows stage, whose programs
# are built from the same code.
set(KORVANE_EMULATED_TESTS
    emulator_prefix
    cross_build_training cross_build_network
    golden_training golden_network golden_training_tour)

# Why a test does not run in this build, or nothing when it does.
function(korvane_test_left_out name out)
    set(reason "")
    if(KORVANE_WIN32_EXECUTION STREQUAL "none")
        set(reason "${KORVANE_WIN32_EXECUTION_REASON}")
    elseif(KORVANE_WIN32_EXECUTION STREQUAL "emulated" AND NOT name IN_LIST KORVANE_EMULATED_TESTS)
        string(CONCAT reason "left out under user-mode emulation, where 32-bit programs run many times slower "
                      "(the real target's flights run; this test runs natively and in the 64-bit Windows stage; "
                      "cmake/KorvaneTests.cmake says why each is left out)")
    endif()
    set(${out} "${reason}" PARENT_SCOPE)
endfunction()

# add_test for a test that runs one of this build's programs: under wine in
# the prefix the emulator fixture (the test emulator_prefix) made, or
# skipped with the reason where this machine cannot run it.
function(korvane_add_test keyword name)
    if(NOT keyword STREQUAL "NAME")
        message(FATAL_ERROR "korvane_add_test(NAME name COMMAND ...)")
    endif()
    korvane_test_left_out(${name} reason)
    if(reason)
        korvane_skipped_test(${name} "${reason}")
        return()
    endif()
    add_test(NAME ${name} ${ARGN})
    if(name STREQUAL "emulator_prefix")
        set_tests_properties(${name} PROPERTIES FIXTURES_SETUP emulator)
    elseif(CMAKE_CROSSCOMPILING_EMULATOR)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED emulator)
    endif()
endfunction()
