# The browser build, configured with `emcmake cmake` (scripts/build-web.sh): the core on the web
# platform, drawing through the GL 1.1 layer on WebGL 2, linked into one page with the capture
# tool, written to quorvane-web/ in the build folder with the page's other files and the pictures.
# Emscripten's own port of SDL and FreeType are not used: the platform is html5.h, and the help
# panel's glyphs are rendered at build time by make-glyphs, built natively with the host's compiler.

include(ExternalProject)
ExternalProject_Add(glyph_tool
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/glyphs
    BINARY_DIR ${CMAKE_BINARY_DIR}/glyph-tool
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/glyph-tool/make-glyphs
    INSTALL_COMMAND "")
set(GLYPH_TABLE ${CMAKE_BINARY_DIR}/generated/glyph_table.cpp)
add_custom_command(OUTPUT ${GLYPH_TABLE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND ${CMAKE_BINARY_DIR}/glyph-tool/make-glyphs ${GLYPH_TABLE}
    DEPENDS glyph_tool
    COMMENT "Rendering the help panel's glyphs")

list(APPEND CORE_SOURCES
    src/platform/web_platform.cpp
    src/platform/web_keys.cpp
    src/platform/file_view_posix.cpp
    src/platform/executable_path_posix.cpp
    src/assets/font_lists_table.cpp
    ${GLYPH_TABLE}
    src/gl/gl_layer_interim.cpp)
add_library(quorvane_core STATIC ${CORE_SOURCES})
target_include_directories(quorvane_core PUBLIC src)
target_compile_definitions(quorvane_core PUBLIC QUORVANE_GL_LAYER)
# The page's pictures lie in /data of its file system; the other candidates never exist there.
set_source_files_properties(src/assets/data_folder.cpp PROPERTIES COMPILE_DEFINITIONS
    "QUORVANE_RELATIVE_DATA_DIR=\"../share/quorvane/data\";QUORVANE_INSTALL_DATA_DIR=\"/data\"")
set_source_files_properties(src/app/command_line.cpp PROPERTIES COMPILE_DEFINITIONS
    "QUORVANE_VERSION=\"${PROJECT_VERSION}\"")

# The capture tool runs in the page too; shots are PNG files in the page's file system, written
# with stb's header-only writer.
# Header-only: the host's copy serves the browser build too.
find_path(STB_INCLUDE_DIR stb_image_write.h PATHS /usr/include /usr/local/include PATH_SUFFIXES stb
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT STB_INCLUDE_DIR)
    message(FATAL_ERROR "stb_image_write.h not found: install libstb-dev or set STB_INCLUDE_DIR")
endif()
add_library(quorvane_tools STATIC tools/common/png_file.cpp tools/common/png_file_stb.cpp
    tools/common/input_script.cpp tools/common/number_text.cpp tools/common/frame_times.cpp
    tools/capture/capture.cpp tools/capture/capture_platform.cpp tools/capture/capture_host_web.cpp)
target_include_directories(quorvane_tools PUBLIC tools)
target_include_directories(quorvane_tools SYSTEM PRIVATE ${STB_INCLUDE_DIR})
target_link_libraries(quorvane_tools PUBLIC quorvane_core)

set(WEB_PAGE_DIR ${CMAKE_BINARY_DIR}/quorvane-web)
add_executable(quorvane src/app/main_web.cpp)
target_link_libraries(quorvane PRIVATE quorvane_tools)
set_target_properties(quorvane PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${WEB_PAGE_DIR})

# Asyncify lets the program wait for a box's answer, the fullscreen request and the next frame
# without leaving its loop. Only the waiting calls (the platform's EM_ASYNC_JS imports) and the
# functions on the way to them are instrumented, so the wasm stays small and the drawing fast.
# Asyncify follows direct calls by itself, but not the virtual calls into the platform: the
# functions that make those (the loader's error sink among them: *ShowError* names the box it shows
# by default), and their callers up to main, are named here. Some are inlined into
# their caller at -O2, and the linker then says that their name matched nothing.
set(WEB_WAITING_FUNCTIONS
    main CaptureMain* RunApplication* ClearOnlyFrames*
    OpenMainWindow* CloseMainWindow* *FailOpen* *ShutdownBox*
    SetupScene* LoadTextures* *LoadIfPresent* LoadBitmapImage* DecodeBitmapImage* *::Fail* *ShowError*
    *ShowOpenFailure*
    CapturePlatform::PeekMessage* CapturePlatform::SwapBuffers* CapturePlatform::MessageBox*
    CapturePlatform::ChangeDisplayMode*)
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

# The page's own files beside the program, and the pictures in data/.
set(WEB_STATIC_FILES web/index.html web/page.js web/page.css)
set(WEB_OUTPUTS)
foreach(file ${WEB_STATIC_FILES} data/t1.bmp data/star.bmp)
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
