# Writes the delay-import table of the program (cmake -P).
#   NM           the binutils nm of the toolchain
#   BITS         32 (i686) or 64 (x86-64)
#   INPUTS       |-separated objects and archives that make up the program
#   IMPORT_LIBS  |-separated DLL=import-library pairs of the DLLs to load on first call
#   PREFER       |-separated DLL=module pairs: the functions of DLL are first looked
#                up in that module if it is already loaded (it is never loaded for it)
#   OUTPUT       the assembly file to write
# Every __imp_ symbol that INPUTS leave undefined and an import library of
# IMPORT_LIBS defines gets a pointer slot under that name. The slot starts out
# at a stub that has velbrook_bind_delay_import load the DLL, look the function
# up and store it in the slot, so later calls go straight to the function.
string(REPLACE "|" ";" inputs "${INPUTS}")
string(REPLACE "|" ";" import_libs "${IMPORT_LIBS}")
string(REPLACE "|" ";" preferences "${PREFER}")

# Splits a NAME=VALUE pair.
function(split_pair pair name_out value_out)
    string(REGEX REPLACE "=.*" "" name "${pair}")
    string(REGEX REPLACE "^[^=]*=" "" value "${pair}")
    set(${name_out} "${name}" PARENT_SCOPE)
    set(${value_out} "${value}" PARENT_SCOPE)
endfunction()

foreach(pair IN LISTS preferences)
    split_pair("${pair}" dll module)
    set(prefer_${dll} ${module})
endforeach()

function(nm_lines out)
    execute_process(COMMAND ${NM} ${ARGN} OUTPUT_VARIABLE text ERROR_QUIET RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "nm ${ARGN} failed")
    endif()
    string(REPLACE "\n" ";" lines "${text}")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# Calls through __imp_ come from functions declared dllimport; a few headers
# declare functions without it, and those calls name the function itself.
set(wanted)
set(direct)
foreach(input IN LISTS inputs)
    nm_lines(lines -u ${input})
    foreach(line IN LISTS lines)
        if(line MATCHES " U (__imp_[^ ]+)$")
            list(APPEND wanted ${CMAKE_MATCH_1})
        elseif(line MATCHES " U ([^ ]+)$")
            list(APPEND direct ${CMAKE_MATCH_1})
        endif()
    endforeach()
endforeach()

set(dlls)
foreach(pair IN LISTS import_libs)
    split_pair("${pair}" dll lib)
    list(APPEND dlls ${dll})
    nm_lines(lines --defined-only ${lib})
    foreach(line IN LISTS lines)
        if(line MATCHES " I (__imp_[^ ]+)$")
            set(owner_${CMAKE_MATCH_1} ${dll})
        endif()
    endforeach()
endforeach()
if(BITS EQUAL 64)
    set(rip "(%rip)")
    set(pointer ".quad")
    set(align 3)
else()
    set(rip "")
    set(pointer ".long")
    set(align 2)
endif()
set(jumps "")
list(REMOVE_DUPLICATES direct)
foreach(symbol IN LISTS direct)
    if(DEFINED owner___imp_${symbol})
        list(APPEND wanted __imp_${symbol})
        string(APPEND jumps "\t.globl \"${symbol}\"\n\"${symbol}\":\n\tjmp *\"__imp_${symbol}\"${rip}\n")
    endif()
endforeach()
list(REMOVE_DUPLICATES wanted)
list(SORT wanted)

set(data "")
set(text "")
set(names "")
set(count 0)
foreach(symbol IN LISTS wanted)
    if(NOT DEFINED owner_${symbol})
        continue()
    endif()
    list(FIND dlls ${owner_${symbol}} dll_index)
    # __imp__Name@12 (stdcall) or __imp__Name (cdecl) on i686, __imp_Name on
    # x86-64: the export is Name.
    string(REGEX REPLACE "^__imp__?" "" export "${symbol}")
    if(NOT BITS EQUAL 64)
        string(REGEX REPLACE "@[0-9]+$" "" export "${export}")
    endif()
    string(APPEND data "\t.globl \"${symbol}\"\n\"${symbol}\":\n\t${pointer} .Lstub${count}\n")
    string(APPEND names ".Lname${count}:\n\t.asciz \"${export}\"\n")
    if(BITS EQUAL 64)
        string(APPEND text ".Lstub${count}:\n\tleaq \"${symbol}\"(%rip), %rax\n"
                           "\tleaq .Lname${count}(%rip), %r10\n\tleaq .Ldll${dll_index}(%rip), %r11\n"
                           "\tjmp .Lbind\n")
    else()
        string(APPEND text ".Lstub${count}:\n\tpushl $\"${symbol}\"\n\tpushl $.Lname${count}\n"
                           "\tpushl $.Ldll${dll_index}\n\tjmp .Lbind\n")
    endif()
    math(EXPR count "${count} + 1")
endforeach()

set(dll_table "")
set(index 0)
foreach(dll IN LISTS dlls)
    # Each DLL: its name, the module handle once loaded, and the name of the
    # module to look in first, if any.
    string(APPEND dll_table ".Ldllname${index}:\n\t.asciz \"${dll}\"\n")
    set(preferred 0)
    if(DEFINED prefer_${dll})
        string(APPEND dll_table ".Ldllprefer${index}:\n\t.asciz \"${prefer_${dll}}\"\n")
        set(preferred .Ldllprefer${index})
    endif()
    string(APPEND data "\t.p2align ${align}\n.Ldll${index}:\n\t${pointer} .Ldllname${index}\n"
                       "\t${pointer} 0\n\t${pointer} ${preferred}\n")
    math(EXPR index "${index} + 1")
endforeach()

if(BITS EQUAL 64)
    set(bind "\
# rax: slot, r10: function name, r11: DLL record. The argument registers are
# kept for the real function; the stack is 16-byte aligned at the call.
.Lbind:
\tpushq %rcx
\tpushq %rdx
\tpushq %r8
\tpushq %r9
\tsubq $0x68, %rsp
\tmovups %xmm0, 0x20(%rsp)
\tmovups %xmm1, 0x30(%rsp)
\tmovups %xmm2, 0x40(%rsp)
\tmovups %xmm3, 0x50(%rsp)
\tmovq %r11, %rcx
\tmovq %r10, %rdx
\tmovq %rax, %r8
\tcall velbrook_bind_delay_import
\tmovups 0x20(%rsp), %xmm0
\tmovups 0x30(%rsp), %xmm1
\tmovups 0x40(%rsp), %xmm2
\tmovups 0x50(%rsp), %xmm3
\taddq $0x68, %rsp
\tpopq %r9
\tpopq %r8
\tpopq %rdx
\tpopq %rcx
\tjmp *%rax
")
else()
    set(bind "\
# Stack on entry: DLL record, function name, slot, the caller's return address
# and arguments. ecx and edx are kept for the real function.
.Lbind:
\tpushl %edx
\tpushl %ecx
\tpushl 16(%esp)
\tpushl 16(%esp)
\tpushl 16(%esp)
\tcall _velbrook_bind_delay_import
\taddl $12, %esp
\tpopl %ecx
\tpopl %edx
\taddl $12, %esp
\tjmp *%eax
")
endif()

file(WRITE ${OUTPUT}.tmp "\
# Generated by cmake/delay_imports.cmake: ${count} functions.
\t.data
\t.p2align ${align}
${data}
\t.section .rdata,\"dr\"
${dll_table}${names}
\t.text
${jumps}${text}
${bind}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
