# System DLLs that are not KnownDLLs, so that Windows would look for them beside
# the program first: velbrook.exe loads them on first use (the toolchain's delay
# loading), after the program has limited DLL loading to the system folder, so a
# DLL planted beside it (a download folder, a writable share) is never loaded.
# Every other system DLL is a KnownDLL and comes from the system folder anyway.
set(VELBROOK_LATE_DLLS comctl32 version uxtheme oleacc)

# Libraries that link the late DLLs: the plain import libraries, or, in a target
# with the property VELBROOK_LATE_LOADING (velbrook_late_loading below),
# delay-import libraries that dlltool makes from the plain ones' export lists.
set(VELBROOK_LATE_DLL_LIBS)
# i686 ld drops the code of an import member whose function is called only
# through its import slot (__imp_), as the headers' dllimport calls are; in a
# delay-import member that code is the stub the slot starts at, and the slot
# would be left at 0. Naming every function as undefined keeps the stubs.
set(VELBROOK_LATE_DLL_THUNKS)
set(late_dir ${CMAKE_BINARY_DIR}/late_dlls)
file(MAKE_DIRECTORY ${late_dir})
foreach(dll ${VELBROOK_LATE_DLLS})
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a
        OUTPUT_VARIABLE import_lib OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(delay_lib ${late_dir}/lib${dll}_delay.a)
    if(NOT EXISTS ${delay_lib} OR ${import_lib} IS_NEWER_THAN ${delay_lib})
        execute_process(COMMAND ${CMAKE_NM} --defined-only ${import_lib}
            OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "nm could not read ${import_lib}")
        endif()
        # __imp__Name@12 (i686) or __imp_Name (x86-64) name the export Name@12 or Name.
        string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
        set(def "LIBRARY ${dll}.dll\nEXPORTS\n")
        foreach(import ${imports})
            string(REGEX REPLACE "^ I __imp_" "" export "${import}")
            if(CMAKE_SIZEOF_VOID_P EQUAL 4)
                string(REGEX REPLACE "^_" "" export "${export}")
            endif()
            string(APPEND def "${export}\n")
        endforeach()
        file(WRITE ${late_dir}/${dll}.def "${def}")
        execute_process(COMMAND ${CMAKE_DLLTOOL} --kill-at -d ${late_dir}/${dll}.def
            -D ${dll}.dll -y ${delay_lib} RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "dlltool could not make ${delay_lib}")
        endif()
    endif()
    list(APPEND VELBROOK_LATE_DLL_LIBS
        "$<IF:$<BOOL:$<TARGET_PROPERTY:VELBROOK_LATE_LOADING>>,${delay_lib},${dll}>")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        file(STRINGS ${late_dir}/${dll}.def exports REGEX "@[0-9]+$")
        foreach(export ${exports})
            list(APPEND VELBROOK_LATE_DLL_THUNKS "_${export}")
        endforeach()
    endif()
endforeach()

# Links the target's late DLLs as velbrook.exe links them: delay-loaded, with
# their stubs kept. Further thunk symbols (other delay-import libraries) may follow.
function(velbrook_late_loading target)
    set_target_properties(${target} PROPERTIES VELBROOK_LATE_LOADING ON)
    foreach(thunk ${VELBROOK_LATE_DLL_THUNKS} ${ARGN})
        target_link_options(${target} PRIVATE "LINKER:--undefined=${thunk}")
    endforeach()
endfunction()
