# The GL layer (src/gl/qgl*): the program's OpenGL 1.1 and GLU calls drawn on OpenGL ES 3.0, for the
# browser, where there is no fixed-function GL. Natively it is built for its proof against Mesa's
# own fixed-function frames: with QUORVANE_GL_LAYER the build also makes a copy of the core, tools
# and capture libraries from the same sources, compiled with QUORVANE_GL_LAYER (gl/opengl.h then
# maps the gl* names onto the layer), and quorvane-capture-layer on them, which draws on an ES 3.0
# context and links no libGL. Everything else in the build stays as it is.
option(QUORVANE_GL_LAYER "Also build quorvane-capture-layer, which draws through the GL layer on OpenGL ES 3.0" OFF)
set(QUORVANE_GL_LAYER_SOURCES
    src/gl/qgl_attrib.cpp
    src/gl/qgl_backend.cpp
    src/gl/qgl_batch.cpp
    src/gl/qgl_immediate.cpp
    src/gl/qgl_lists.cpp
    src/gl/qgl_matrix.cpp
    src/gl/qgl_query.cpp
    src/gl/qgl_state.cpp
    src/gl/qgl_texture.cpp)
if(NOT QUORVANE_GL_LAYER)
    return()
endif()
if(NOT QUORVANE_PLATFORM STREQUAL "sdl")
    message(STATUS "The GL layer's capture program is built on Linux only")
    return()
endif()

# GLU's box filters on plain bytes, apart, so that a test can hold them against the system's GLU.
add_library(quorvane_glu_mipmaps STATIC src/gl/glu_mipmaps.cpp)
target_include_directories(quorvane_glu_mipmaps PUBLIC src)

# quorvane_layer_copy(TARGET NAME [EXTRA_SOURCES...]): TARGET built again as NAME with the layer.
# Links to a library that has a layer copy (NAME_layer) go to the copy; libGL and GLU are left out.
function(quorvane_layer_copy target name)
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    list(APPEND sources ${ARGN})
    if(type STREQUAL "EXECUTABLE")
        add_executable(${name} ${sources})
        set(scope PRIVATE)
    else()
        add_library(${name} STATIC ${sources})
        set(scope PUBLIC)
    endif()
    foreach(property INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES COMPILE_DEFINITIONS LINK_LIBRARIES
                     MANUALLY_ADDED_DEPENDENCIES)
        get_target_property(${property} ${target} ${property})
        if(NOT ${property})
            set(${property})
        endif()
    endforeach()
    target_include_directories(${name} PRIVATE ${INCLUDE_DIRECTORIES} INTERFACE ${INTERFACE_INCLUDE_DIRECTORIES})
    target_compile_definitions(${name} ${scope} ${COMPILE_DEFINITIONS} QUORVANE_GL_LAYER)
    set(links)
    foreach(library ${LINK_LIBRARIES})
        if(library MATCHES "^OpenGL::")
            continue()
        elseif(TARGET ${library}_layer)
            list(APPEND links ${library}_layer)
        else()
            list(APPEND links ${library})
        endif()
    endforeach()
    target_link_libraries(${name} ${scope} ${links})
    if(MANUALLY_ADDED_DEPENDENCIES)
        add_dependencies(${name} ${MANUALLY_ADDED_DEPENDENCIES})
    endif()
endfunction()

quorvane_layer_copy(quorvane_core quorvane_core_layer ${QUORVANE_GL_LAYER_SOURCES})
target_link_libraries(quorvane_core_layer PUBLIC quorvane_glu_mipmaps)
quorvane_layer_copy(quorvane_tools quorvane_tools_layer)
quorvane_layer_copy(quorvane_capture quorvane_capture_layer)
quorvane_layer_copy(quorvane-capture quorvane-capture-layer)
