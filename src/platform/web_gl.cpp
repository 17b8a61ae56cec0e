// The one file of the program that sees the real ES 3.0 names; every other sees the layer's under
// the same names (gl/opengl.h).
#include "platform/web_gl.h"

#include <GLES3/gl3.h>

#include <cstring>

#include "gl/qgl_es_functions.h"

namespace {

struct Function {
    const char* name;
    void* address;
};

// Only the functions the layer loads are named, so only their WebGL glue is linked into the page
// (emscripten_webgl_get_proc_address would link all of WebGL).
#define QGL_WEB_FUNCTION(name, result, parameters) {"gl" #name, reinterpret_cast<void*>(&gl##name)},
const Function Functions[] = {QGL_ES_FUNCTIONS(QGL_WEB_FUNCTION)};
#undef QGL_WEB_FUNCTION

} // namespace

void* WebGlFunction(const char* name) {
    for (const Function& function : Functions)
        if (std::strcmp(function.name, name) == 0) return function.address;
    return nullptr;
}
