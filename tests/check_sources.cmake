# No source file of the project defines a name of the standard library's
# (namespace std, __gnu_cxx) or an import slot (__imp_): the program uses the
# library and the toolchain as they are.
# cmake -DROOT=<source folder> -P check_sources.cmake
cmake_minimum_required(VERSION 3.20)
file(GLOB_RECURSE sources LIST_DIRECTORIES false
    ${ROOT}/app/* ${ROOT}/core/* ${ROOT}/support/* ${ROOT}/ui/* ${ROOT}/tests/* ${ROOT}/fuzz/*
    ${ROOT}/bench/*)
list(FILTER sources INCLUDE REGEX "\\.(cpp|h|c|S|s)$")
set(problems)
foreach(source ${sources})
    file(STRINGS ${source} lines REGEX "namespace[ \t]+(std|__gnu_cxx)[ \t]*[{:]|__imp_|asm[ \t]*\\(\"")
    foreach(line ${lines})
        file(RELATIVE_PATH name ${ROOT} ${source})
        list(APPEND problems "${name}: ${line}")
    endforeach()
endforeach()
if(problems)
    list(JOIN problems "\n" text)
    message(FATAL_ERROR "Names of the library or the toolchain defined here:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files checked")
