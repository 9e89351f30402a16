# Compiler settings shared by every target of the project.
add_library(jl_options INTERFACE)
target_compile_options(jl_options INTERFACE
    -Wall -Wextra -Wpedantic
    -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual -Wformat=2)
# Warnings are errors for the project's own builds; a distribution builds
# with whatever compiler it ships, whose new warnings must not stop it.
if(JL_WERROR)
    target_compile_options(jl_options INTERFACE -Werror)
endif()
# One spelling of the signal keywords: Q_SIGNALS and Q_EMIT.
target_compile_definitions(jl_options INTERFACE QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_KEYWORDS)

if(JL_SANITIZE)
    set(jl_san -fsanitize=address,undefined -fno-sanitize-recover=undefined
               -fno-omit-frame-pointer)
    target_compile_options(jl_options INTERFACE ${jl_san})
    target_link_options(jl_options INTERFACE ${jl_san})
endif()

# jl_add_library(name SOURCES ... DEPS ...): one library target per source folder.
function(jl_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE jl_options)
endfunction()
