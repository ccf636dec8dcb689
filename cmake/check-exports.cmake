# Fails unless LIBRARY exports exactly InitDLL and ExitDLL, by their plain
# names: a host finds the module by these two and nothing else may leak.
#
#   cmake -DLIBRARY=<file> -DFORMAT=elf|pe -DTOOL=<nm or objdump> -P check-exports.cmake
foreach(var LIBRARY FORMAT TOOL)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "check-exports: ${var} is not set")
    endif()
endforeach()
if(NOT EXISTS "${LIBRARY}")
    message(FATAL_ERROR "check-exports: no library at ${LIBRARY}")
endif()

if(FORMAT STREQUAL "elf")
    execute_process(COMMAND "${TOOL}" -D --defined-only "${LIBRARY}"
                    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
    # "<address> <type> <name>" per defined dynamic symbol.
    set(pattern "[0-9a-fA-F]+ [A-Za-z] ([^\n ]+)")
elseif(FORMAT STREQUAL "pe")
    execute_process(COMMAND "${TOOL}" -p "${LIBRARY}"
                    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
    # Only the name table: "[Ordinal/Name Pointer] Table" up to a blank line.
    string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" listing "${listing}")
    set(pattern "\\[ *[0-9]+\\] ([^\n ]+)")
else()
    message(FATAL_ERROR "check-exports: FORMAT must be elf or pe, not ${FORMAT}")
endif()
if(NOT status EQUAL 0)
    message(FATAL_ERROR "check-exports: ${TOOL} failed on ${LIBRARY}")
endif()

string(REGEX MATCHALL "${pattern}" entries "${listing}")
set(names)
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "${pattern}" "\\1" name "${entry}")
    list(APPEND names "${name}")
endforeach()
list(SORT names)
if(NOT names STREQUAL "ExitDLL;InitDLL")
    string(REPLACE ";" ", " shown "${names}")
    message(FATAL_ERROR "check-exports: ${LIBRARY} must export exactly ExitDLL and InitDLL, but exports: ${shown}")
endif()
message(STATUS "check-exports: ${LIBRARY} exports exactly ExitDLL and InitDLL")
