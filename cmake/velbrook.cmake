# Source lists follow a naming rule instead of hand-kept lists:
#   dir/*.cpp            portable code, built on every platform
#   dir/*_native.cpp     built only off Windows
#   dir/win32/*.cpp      built only for Windows
function(velbrook_sources out dir)
    file(GLOB portable CONFIGURE_DEPENDS ${dir}/*.cpp)
    set(native_only ${portable})
    list(FILTER native_only INCLUDE REGEX "_native\\.cpp$")
    list(FILTER portable EXCLUDE REGEX "_native\\.cpp$")
    if(WIN32)
        file(GLOB platform CONFIGURE_DEPENDS ${dir}/win32/*.cpp)
    else()
        set(platform ${native_only})
    endif()
    set(${out} ${portable} ${platform} PARENT_SCOPE)
endfunction()

function(velbrook_library name dir)
    velbrook_sources(srcs ${dir})
    if(srcs)
        add_library(${name} STATIC ${srcs})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARGN})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARGN})
    endif()
endfunction()

# The files a resource script pulls in: every quoted name of a file beside it,
# followed into the .rc files it includes. The build's own dependency scan sees
# #include lines only, not the manifests, icons and bitmaps that resource
# statements name, and would not rebuild the resources when one of them changes.
# Editing a script configures again, so that new names are found.
function(velbrook_resource_inputs rc out)
    get_filename_component(dir ${rc} DIRECTORY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc})
    file(STRINGS ${rc} lines REGEX "\"[^\"]+\"")
    set(inputs)
    foreach(line IN LISTS lines)
        string(REGEX MATCHALL "\"[^\"]+\"" quoted "${line}")
        foreach(name IN LISTS quoted)
            string(REPLACE "\"" "" name "${name}")
            set(file ${dir}/${name})
            if(EXISTS ${file} AND NOT IS_DIRECTORY ${file})
                list(APPEND inputs ${file})
                if(name MATCHES "\\.rc$")
                    velbrook_resource_inputs(${file} nested)
                    list(APPEND inputs ${nested})
                endif()
            endif()
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES inputs)
    set(${out} ${inputs} PARENT_SCOPE)
endfunction()
