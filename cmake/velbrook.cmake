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
