# Checks the shipped program's image with the cross toolchain's objdump, so that
# it holds on a machine that cannot run the program: the expected machine, only
# kernel32 and msvcrt in the import table (everything else binds on first use),
# and sections page-aligned in the file.
# cmake -DOBJDUMP=<objdump> -DEXE=<velbrook.exe> -DFORMAT=<pei-i386|pei-x86-64> -P check_image.cmake
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} could not read ${EXE}")
endif()

set(problems)
if(NOT dump MATCHES "file format ${FORMAT}\n")
    list(APPEND problems "not a ${FORMAT} image")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" entries "${dump}")
set(dlls)
foreach(entry ${entries})
    string(REPLACE "DLL Name: " "" dll "${entry}")
    string(TOUPPER "${dll}" dll)
    list(APPEND dlls "${dll}")
endforeach()
list(SORT dlls)
if(NOT dlls STREQUAL "KERNEL32.DLL;MSVCRT.DLL")
    list(APPEND problems "imports ${dlls}, expected KERNEL32.DLL;MSVCRT.DLL")
endif()
if(NOT dump MATCHES "FileAlignment[ \t]+00001000")
    list(APPEND problems "sections are not page-aligned in the file")
endif()

if(problems)
    list(JOIN problems "; " text)
    message(FATAL_ERROR "${EXE}: ${text}")
endif()
message(STATUS "${EXE}: ${FORMAT}, imports ${dlls}, page-aligned")
