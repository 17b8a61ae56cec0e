# The browser build's own targets, after the shared ones (the platform choice in CMakeLists.txt
# names its sources): the GL layer in the core, the help panel's glyph table, the page's program
# and the page's files in quorvane-web/. Emscripten's ports of SDL and FreeType are not used.

# The program's gl* and glu* calls go to the GL layer, on WebGL 2.
target_sources(quorvane_core PRIVATE ${QUORVANE_GL_LAYER_SOURCES} src/gl/glu_mipmaps.cpp)
target_compile_definitions(quorvane_core PUBLIC QUORVANE_GL_LAYER)

# The glyphs are rendered by make-glyphs, built with the host's compiler from the desktop's
# FreeType code, and the page's icon is drawn by make-icon, as the desktop's is.
include(ExternalProject)
ExternalProject_Add(host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/host
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-tools/make-glyphs ${CMAKE_BINARY_DIR}/host-tools/make-icon
    INSTALL_COMMAND "")
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/generated/glyph_table.cpp
    COMMAND ${CMAKE_BINARY_DIR}/host-tools/make-glyphs ${CMAKE_BINARY_DIR}/generated/glyph_table.cpp
    DEPENDS host_tools
    COMMENT "Rendering the help panel's glyphs")

# The page's one program is both the scene and, given the capture tool's options in the page's
# address, the capture tool (src/app/main_web.cpp). The other tools are for the command line.
target_sources(quorvane PRIVATE tools/capture/capture.cpp)
target_link_libraries(quorvane PRIVATE quorvane_capture)
set_target_properties(quorvane-capture quorvane-bmp make-textures PROPERTIES EXCLUDE_FROM_ALL TRUE)
set(WEB_PAGE_DIR ${CMAKE_BINARY_DIR}/quorvane-web)
set_target_properties(quorvane PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${WEB_PAGE_DIR})

# Asyncify lets the program wait for a box's answer, the fullscreen request and the next frame
# without leaving its loop. Only the waiting calls (the platform's EM_ASYNC_JS imports) and the
# functions on the way to them are instrumented, so the wasm stays small and the drawing fast.
# Asyncify follows direct calls by itself, but not the virtual calls into the platform: the
# functions that make those (the loader's error sink among them: *ShowError* names the box it
# shows by default; the capture tool's wrapper and the forwarding base it inherits from), and their
# callers up to main, are named here. The GL layer is not: it calls nothing that waits, and nothing
# that waits calls back into it. Some names are inlined into their caller at -O3, and the linker
# then says that they matched nothing.
set(WEB_WAITING_FUNCTIONS
    main CaptureMain* RunApplication* ClearOnlyFrames*
    OpenMainWindow* CloseMainWindow* *FailOpen* *ShutdownBox*
    SetupScene* LoadTextures* *LoadIfPresent* LoadBitmapImage* DecodeBitmapImage* *::Fail* *ShowError*
    *ShowOpenFailure*
    CapturePlatform::PeekMessage* CapturePlatform::SwapBuffers* ForwardingPlatform::MessageBox*
    ForwardingPlatform::ChangeDisplayMode*)
list(JOIN WEB_WAITING_FUNCTIONS "','" WEB_WAITING_LIST)
target_link_options(quorvane PRIVATE
    "-sASYNCIFY=1"
    "-sASYNCIFY_IGNORE_INDIRECT=1"
    "-sASYNCIFY_ADD=['${WEB_WAITING_LIST}']"
    "-sASYNCIFY_STACK_SIZE=65536"
    "-sMIN_WEBGL_VERSION=2"
    "-sMAX_WEBGL_VERSION=2"
    "-sALLOW_MEMORY_GROWTH=1"
    "-sENVIRONMENT=web"
    "-sFORCE_FILESYSTEM=1"
    "-sEXPORTED_RUNTIME_METHODS=['FS','addRunDependency','removeRunDependency']")

# The page's own files beside the program, its icon, and the pictures in data/.
set(WEB_OUTPUTS ${WEB_PAGE_DIR}/icon.png)
add_custom_command(OUTPUT ${WEB_PAGE_DIR}/icon.png
    COMMAND ${CMAKE_BINARY_DIR}/host-tools/make-icon ${CMAKE_SOURCE_DIR}/data ${WEB_PAGE_DIR}/icon.png
    DEPENDS host_tools ${CMAKE_SOURCE_DIR}/data/t1.bmp ${CMAKE_SOURCE_DIR}/data/star.bmp
    COMMENT "Drawing the page's icon")
foreach(file web/index.html web/page.js web/page.css data/t1.bmp data/star.bmp)
    get_filename_component(name ${file} NAME)
    set(target ${WEB_PAGE_DIR}/${name})
    if(file MATCHES "^data/")
        set(target ${WEB_PAGE_DIR}/data/${name})
    endif()
    add_custom_command(OUTPUT ${target}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${file} ${target}
        DEPENDS ${CMAKE_SOURCE_DIR}/${file})
    list(APPEND WEB_OUTPUTS ${target})
endforeach()
add_custom_target(quorvane_web_page ALL DEPENDS ${WEB_OUTPUTS})
add_dependencies(quorvane quorvane_web_page)
