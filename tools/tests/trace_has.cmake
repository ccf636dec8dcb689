# Checks that a trace korvane-host wrote holds each of the given lines, in
# that order.
#
#   TRACE   the trace file (JSON Lines)
#   LINES   the lines, separated by "|", each matched as written

file(READ "${TRACE}" trace)
string(REPLACE "|" ";" lines "${LINES}")
set(at 0)
foreach(line IN LISTS lines)
    string(SUBSTRING "${trace}" ${at} -1 rest)
    string(FIND "${rest}" "${line}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${TRACE}: no line ${line} after position ${at}")
    endif()
    math(EXPR at "${at} + ${found} + 1")
endforeach()
