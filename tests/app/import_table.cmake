# Checks that the program loads nothing at start but kernel32, advapi32
# and msvcrt: the window DLLs must stay behind the delay-import stubs, so that
# the command-line actions start quickly (cmake -P, OBJDUMP and PROGRAM set).
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
set(dlls)
foreach(name IN LISTS names)
    string(REPLACE "DLL Name: " "" dll "${name}")
    string(TOLOWER "${dll}" dll)
    list(APPEND dlls ${dll})
endforeach()
list(SORT dlls)
if(NOT dlls STREQUAL "advapi32.dll;kernel32.dll;msvcrt.dll")
    message(FATAL_ERROR "The program imports ${dlls} at start")
endif()
message(STATUS "Imports at start: ${dlls}")
