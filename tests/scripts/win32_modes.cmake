# Which tests the 32-bit Windows build runs in each way this machine may
# run 32-bit programs, read from CTest's list of a configured build (the
# tree is configured, not built): with none, every test that runs one of
# the build's programs is a skip with the reason, and only the checks that
# execute nothing of the build run; with emulated, at least the real
# target's flights run. A test
# added with add_test instead of korvane_add_test would run a 32-bit
# program where none can run, and fails this check.
#
#   SOURCE   the project's folder
#   OUT      a scratch folder of this test
cmake_minimum_required(VERSION 3.25)
find_program(MINGW i686-w64-mingw32-g++-posix)
if(NOT MINGW)
    # CTest reports this as a skip, with the reason (SKIP_REGULAR_EXPRESSION).
    message("skipped: no 32-bit mingw-w64 compiler (g++-mingw-w64-i686-posix) to configure the 32-bit build with")
    return()
endif()

# Tests that execute nothing of the build: they run in every mode.
set(always exports_Korvane exports_korvane_export_probe example_files_listed)
# Under emulation at least the real target's own flights run, in the
# prefix the emulator fixture makes; which others run is the build's choice.
set(emulated_runs emulator_prefix cross_build_training cross_build_network)

function(check_mode mode)
    set(build "${OUT}/${mode}")
    file(REMOVE_RECURSE "${build}")
    set(ENV{KORVANE_WIN32_EXECUTION} "${mode}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${build}"
                            "--toolchain=${SOURCE}/cmake/mingw-i686.cmake" -DKORVANE_BUILD_TESTS=ON
                            -DCMAKE_BUILD_TYPE=Release
                    OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "configuring the 32-bit build with KORVANE_WIN32_EXECUTION=${mode} failed:\n${output}")
    endif()
    file(READ "${build}/win32-execution.txt" said)
    if(NOT said MATCHES "^${mode}: set by KORVANE_WIN32_EXECUTION")
        message(FATAL_ERROR "${mode}: the build says ${said}")
    endif()
    file(READ "${build}/wine32-run" runner)
    if(NOT runner MATCHES "KORVANE_WIN32_EXECUTION=${mode} exec ")
        message(FATAL_ERROR "${mode}: the build's runner does not pass the mode on:\n${runner}")
    endif()
    execute_process(COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${build}" --show-only=json-v1
                    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${mode}: ctest cannot list the tests")
    endif()
    string(JSON count LENGTH "${listing}" tests)
    math(EXPR last "${count} - 1")
    set(ran)
    set(problems)
    foreach(i RANGE ${last})
        string(JSON name GET "${listing}" tests ${i} name)
        string(JSON words LENGTH "${listing}" tests ${i} command)
        set(skipped FALSE)
        if(words EQUAL 4)
            string(JSON word GET "${listing}" tests ${i} command 3)
            if(word MATCHES "^skipped: ")
                set(skipped TRUE)
            endif()
        endif()
        if(name IN_LIST always OR (mode STREQUAL "emulated" AND name IN_LIST emulated_runs))
            if(skipped)
                list(APPEND problems "${name} is skipped, but should run")
            endif()
        elseif(mode STREQUAL "none" AND NOT skipped)
            list(APPEND problems "${name} would run a 32-bit program, but should be a skip")
        endif()
        if(NOT skipped)
            list(APPEND ran ${name})
        endif()
    endforeach()
    if(problems)
        list(JOIN problems "\n  " problems)
        message(FATAL_ERROR "KORVANE_WIN32_EXECUTION=${mode}:\n  ${problems}")
    endif()
    list(LENGTH ran ran_count)
    list(JOIN ran ", " ran)
    message("${mode}: ${ran_count} of ${count} tests run (${ran}), the rest are skips with their reason")
endfunction()

check_mode(none)
check_mode(emulated)
