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

// Chromium's WebGL finish() does not wait for the drawing (with it alone a bench frame of the scene
// took 0.2 ms); reading a pixel waits until everything drawn before it is done, which is what a
// caller of glFinish wants (a bench timing the drawing). The layer leaves the real pack state at
// its defaults, so the one pixel lands in `pixel`.
void FinishDrawing() {
    glFinish();
    GLubyte pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

} // namespace

void* WebGlFunction(const char* name) {
    if (std::strcmp(name, "glFinish") == 0) return reinterpret_cast<void*>(&FinishDrawing);
    for (const Function& function : Functions)
        if (std::strcmp(function.name, name) == 0) return function.address;
    return nullptr;
}

bool CreateDrawingBuffer(int width, int height, int depthBits, WebDrawingBuffer& buffer) {
    glGenFramebuffers(1, &buffer.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, buffer.framebuffer);
    glGenRenderbuffers(1, &buffer.color);
    glBindRenderbuffer(GL_RENDERBUFFER, buffer.color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffer.color);
    if (depthBits > 0) {
        glGenRenderbuffers(1, &buffer.depth);
        glBindRenderbuffer(GL_RENDERBUFFER, buffer.depth);
        GLenum format = depthBits <= 16   ? GL_DEPTH_COMPONENT16
                        : depthBits <= 24 ? GL_DEPTH_COMPONENT24
                                          : GL_DEPTH_COMPONENT32F;
        glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffer.depth);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void DeleteDrawingBuffer(WebDrawingBuffer& buffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (buffer.framebuffer) glDeleteFramebuffers(1, &buffer.framebuffer);
    const GLuint renderbuffers[2] = {buffer.color, buffer.depth};
    glDeleteRenderbuffers(2, renderbuffers); // a name of 0 is skipped
    buffer = WebDrawingBuffer{};
}

void PresentDrawingBuffer(const WebDrawingBuffer& buffer, int width, int height) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, buffer.framebuffer);
}
