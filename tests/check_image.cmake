# Checks the shipped program's image with the cross toolchain's objdump and nm,
# so that it holds on a machine that cannot run the program: the expected
# machine, the late DLLs (cmake/late_dlls.cmake) out of the import table and
# delay-loaded instead, and (optimised builds) at most SIZE_LIMIT bytes once
# stripped, a guard against bloat.
# cmake -DOBJDUMP=<objdump> -DNM=<nm> -DSTRIP=<strip> -DEXE=<velbrook.exe> -DFORMAT=<pei-i386|pei-x86-64>
#       -DLATE_DLLS=<a;b> [-DSIZE_LIMIT=<bytes>] -P check_image.cmake
cmake_minimum_required(VERSION 3.20)
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
execute_process(COMMAND ${NM} ${EXE} OUTPUT_VARIABLE symbols)
foreach(late ${LATE_DLLS})
    string(TOUPPER "${late}.DLL" upper)
    if(upper IN_LIST dlls)
        list(APPEND problems "${late}.dll is in the import table")
    endif()
    if(NOT symbols MATCHES "__DELAY_IMPORT_DESCRIPTOR_[^\n]*lib${late}_delay_a")
        list(APPEND problems "${late}.dll is not delay-loaded")
    endif()
endforeach()

# ld leaves the delay-import directory empty; the build fills it in, so that
# Windows' tools (dumpbin /dependents) see the late DLLs.
if(NOT dump MATCHES "Entry d 0*[1-9a-fA-F][0-9a-fA-F]* [0-9a-fA-F]+ Delay Import Directory")
    list(APPEND problems "the delay-import directory is empty")
endif()

# A function whose delay-import stub the linker dropped is left at address 0
# (i686 ld drops the code of import members called only through __imp_), and
# its import slot would start at 0 too.
string(REGEX MATCHALL "\n0+ A _[A-Za-z0-9_]+@[0-9]+" dropped "\n${symbols}")
if(dropped)
    list(LENGTH dropped count)
    list(GET dropped 0 first)
    string(STRIP "${first}" first)
    list(APPEND problems "${count} delay-import stubs dropped (${first})")
endif()

# The size of the program once stripped, as it ships.
get_filename_component(name ${EXE} NAME)
set(stripped_exe ${CMAKE_CURRENT_BINARY_DIR}/stripped-${name})
execute_process(COMMAND ${STRIP} -o ${stripped_exe} ${EXE} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${STRIP} could not strip ${EXE}")
endif()
file(SIZE ${stripped_exe} stripped)
file(REMOVE ${stripped_exe})
if(DEFINED SIZE_LIMIT AND stripped GREATER SIZE_LIMIT)
    list(APPEND problems "stripped size ${stripped} bytes exceeds ${SIZE_LIMIT}")
endif()
message(STATUS "${EXE}: ${FORMAT}, imports ${dlls}, ${stripped} bytes stripped")

if(problems)
    list(JOIN problems "; " text)
    message(FATAL_ERROR "${EXE}: ${text}")
endif()
