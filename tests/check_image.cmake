# Checks the shipped program's image with the cross toolchain's objdump, so that
# it holds on a machine that cannot run the program: the expected machine, only
# kernel32 and msvcrt in the import table (everything else binds on first use),
# sections page-aligned in the file, and (optimised builds) at most SIZE_LIMIT
# bytes once stripped.
# cmake -DOBJDUMP=<objdump> -DEXE=<velbrook.exe> -DFORMAT=<pei-i386|pei-x86-64>
#       [-DSIZE_LIMIT=<bytes>] -P check_image.cmake
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

# The size the program has once stripped: one page of headers and every loaded
# section rounded up to the page-aligned file alignment.
execute_process(COMMAND ${OBJDUMP} -h ${EXE} OUTPUT_VARIABLE sections)
string(REGEX MATCHALL "[0-9]+ [.][^ ]+ +[0-9a-f]+ +[0-9a-f]+ +[0-9a-f]+ +[0-9a-f]+ +2[*][*][0-9]+\n +CONTENTS, ALLOC, LOAD"
    loaded "${sections}")
math(EXPR stripped "4096")
foreach(section ${loaded})
    string(REGEX REPLACE "^[0-9]+ [.][^ ]+ +([0-9a-f]+) .*" "\\1" size "${section}")
    math(EXPR stripped "${stripped} + ((0x${size} + 4095) / 4096) * 4096")
endforeach()
if(DEFINED SIZE_LIMIT AND stripped GREATER SIZE_LIMIT)
    list(APPEND problems "${stripped} bytes once stripped, more than ${SIZE_LIMIT}")
endif()

if(problems)
    list(JOIN problems "; " text)
    message(FATAL_ERROR "${EXE}: ${text}")
endif()
message(STATUS "${EXE}: ${FORMAT}, imports ${dlls}, page-aligned, ${stripped} bytes stripped")
