// The one file of the program that sees the real ES 3.0 names; every other sees the layer's under
// the same names (gl/opengl.h).
#include "platform/web_gl.h"

#include <GLES3/gl3.h>
#include <emscripten.h>

#include <cstring>

#include "gl/gl_layer.h"
#include "gl/qgl_es_functions.h"

// A page may decide for the probe below, setting QuorvaneRoundDepth to true or false before the
// program starts, so that what the rounding costs can be measured in an engine that needs it.
EM_JS(int, qv_round_depth_chosen, (),
      { return typeof QuorvaneRoundDepth == 'boolean' ? (QuorvaneRoundDepth ? 1 : 0) : -1; });

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

const char* const ProbeVertexShader = R"(#version 300 es
uniform float uDepth;
in vec2 aPosition;
void main() { gl_Position = vec4(aPosition, uDepth, 1.0); }
)";
const char* const ProbeFragmentShader = R"(#version 300 es
precision highp float;
uniform vec4 uColor;
out vec4 fragColor;
void main() { fragColor = uColor; }
)";

void AttachShader(GLuint program, GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    glAttachShader(program, shader);
    glDeleteShader(shader); // goes with the program
}

// Whether the bound drawing buffer's depth test treats depths less than one step of a `bits`-deep
// buffer apart as equal, as a buffer of that depth does: two quads over it, the later one nearer
// by a quarter of a step within the same step, with the program's own GL_LESS. Where ties are
// kept, the earlier one stays. Leaves the context as it found it, a new one, cleared.
bool DepthTiesKept(int bits) {
    GLuint program = glCreateProgram();
    AttachShader(program, GL_VERTEX_SHADER, ProbeVertexShader);
    AttachShader(program, GL_FRAGMENT_SHADER, ProbeFragmentShader);
    glBindAttribLocation(program, 0, "aPosition");
    glLinkProgram(program);
    glUseProgram(program);
    GLuint array = 0, buffer = 0;
    glGenVertexArrays(1, &array);
    glBindVertexArray(array);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const GLfloat quad[] = {-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClear(GL_DEPTH_BUFFER_BIT);
    // Window depths 3/8 and 1/8 of a step above the middle step: the same stored value whether a
    // buffer rounds or truncates.
    const double step = 1.0 / static_cast<double>((1u << bits) - 1),
                 middle = static_cast<double>(1u << (bits - 1));
    const double depths[2] = {(middle + 0.375) * step, (middle + 0.125) * step};
    const GLfloat colors[2][4] = {{1.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f, 1.0f}};
    for (int i = 0; i < 2; i++) {
        glUniform1f(glGetUniformLocation(program, "uDepth"), static_cast<GLfloat>(2.0 * depths[i] - 1.0));
        glUniform4fv(glGetUniformLocation(program, "uColor"), 1, colors[i]);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
    GLubyte pixel[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glDisable(GL_DEPTH_TEST);
    glUseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &array);
    glDeleteProgram(program);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Only the later quad, seen, says that ties are lost; a probe that drew nothing changes nothing.
    return !(pixel[0] == 0 && pixel[1] == 255);
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
    GLenum format = depthBits <= 16   ? GL_DEPTH_COMPONENT16
                    : depthBits <= 24 ? GL_DEPTH_COMPONENT24
                                      : GL_DEPTH_COMPONENT32F;
    if (depthBits > 0) {
        glGenRenderbuffers(1, &buffer.depth);
        glBindRenderbuffer(GL_RENDERBUFFER, buffer.depth);
        glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffer.depth);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    bool tiesKept = depthBits == 0 || DepthTiesKept(depthBits);
    if (!tiesKept) {
        // Firefox keeps more bits than asked for in a depth renderbuffer, but not in a depth
        // texture. Only where needed: Chromium's SwiftShader drew a little slower with a texture.
        glDeleteRenderbuffers(1, &buffer.depth); // and so detached
        buffer.depth = 0;
        glGenTextures(1, &buffer.depthTexture);
        glBindTexture(GL_TEXTURE_2D, buffer.depthTexture);
        glTexStorage2D(GL_TEXTURE_2D, 1, format, width, height);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, buffer.depthTexture, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
        tiesKept = DepthTiesKept(depthBits);
    }
    // The last resort, where even the texture keeps more bits: depths rounded in the shaders.
    int chosen = depthBits > 0 ? qv_round_depth_chosen() : 0;
    bool round = chosen < 0 ? !tiesKept : chosen == 1;
    QglRoundDepth(round ? depthBits : 0);
    return true;
}

void DeleteDrawingBuffer(WebDrawingBuffer& buffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (buffer.framebuffer) glDeleteFramebuffers(1, &buffer.framebuffer);
    const GLuint renderbuffers[2] = {buffer.color, buffer.depth};
    glDeleteRenderbuffers(2, renderbuffers); // a name of 0 is skipped
    if (buffer.depthTexture) glDeleteTextures(1, &buffer.depthTexture);
    buffer = WebDrawingBuffer{};
}

void PresentDrawingBuffer(const WebDrawingBuffer& buffer, int width, int height) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, buffer.framebuffer);
}
