// The GL layer on an ES 3.0 that notes each call with its arguments (data as p) and hands out names.
// A row, named after a GL call, lists the ES calls of the kinds it names, "=" notes, the flags raised.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

#include "gl/gl_layer.h"
#include "gl/qgl_internal.h"

namespace {

// What the recorded functions hand back: names of new objects, and every compile and link done.
struct Answers {
    template <typename T> static auto Argument(T value) { return +value; }
    template <typename T> static const char* Argument(T* data) { return data ? "p" : "0"; }
    template <typename... A> static void Answer(A...) {}
    static void Answer(GLsizei n, GLuint* names) {
        for (GLsizei i = 0; i < n; i++) names[i] = nextName++;
    }
    static void Answer(GLuint, GLenum, GLint* status) { *status = 1; }
    static inline GLuint nextName = 1;
};
std::vector<std::string> calls;
QglContext* layer = nullptr;
#define QGL_RECORDING_NAME(name, result, parameters) constexpr char name##Name[] = #name;
QGL_ES_FUNCTIONS(QGL_RECORDING_NAME)
template <const char* Name, typename F> struct Recorder;
template <const char* Name, typename R, typename... A> struct Recorder<Name, R(A...)> {
    static R Call(A... args) {
        std::ostringstream call;
        call << Name;
        ((call << ',' << Answers::Argument(args)), ...);
        calls.push_back(call.str());
        Answers::Answer(args...);
        if constexpr (std::is_same_v<R, GLuint>) return Answers::nextName++; // CreateShader, CreateProgram
        return R();
    }
};
#define QGL_RECORDING_ENTRY(name, result, parameters)                                                        \
    {"gl" #name, reinterpret_cast<void*>(&Recorder<name##Name, result parameters>::Call)},
const std::map<std::string, void*> Functions = {QGL_ES_FUNCTIONS(QGL_RECORDING_ENTRY)};
void* Load(const char* name) {
    return Functions.at(name);
}

const GLubyte Bits[2] = {0xFF, 0xFF};
const auto Triangle = [] {
    glBegin(GL_TRIANGLES), glVertex2i(0, 0), glVertex2i(1, 0), glVertex2i(0, 1), glEnd();
};
const struct Row {
    const char *call, *expected;
    void (*gl)();
} Rows[] = {
    {"glBegin",
     "UniformMatrix4fv,0,1,0,p DrawElements,4,6,5125,0 UniformMatrix4fv,0,1,0,p DrawElements,4,3,5125,p ",
     [] { Triangle(), Triangle(), glTranslatef(1, 0, 0), Triangle(); }},
    {"glTexParameteri", "DrawElements,4,3,5125,0 TexParameteri,3553,10240,9728 ",
     [] { Triangle(), glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST); }},
    {"QglDeleteContext",
     "DeleteProgram,3 DeleteProgram,6 DeleteProgram,9 DeleteProgram,12 DeleteVertexArrays,1,p "
     "DeleteBuffers,2,p DeleteTextures,1,p ",
     [] {
         glBindTexture(GL_TEXTURE_2D, 0xFFFFFFFF), glNewList(0xFFFFFFFF, GL_COMPILE), glEndList(),
             QglDeleteContext(layer, true), layer = nullptr;
     }},
    {"QglMakeCurrent", "=0 ",
     [] {
         QglMakeCurrent(nullptr), glDeleteLists(1, 96), glViewport(0, 0, 1, 1), Triangle(),
             calls.push_back("=" + std::to_string(glGenLists(1) + glIsTexture(1)));
     }},
    {"glEnable", "flags 1231 ",
     [] {
         glPixelStorei(GL_UNPACK_SKIP_PIXELS, -8), glRasterPos2i(0, 0), glBitmap(8, 1, 0, 0, 0, 0, Bits),
             glEnable(GL_FOG), glEnable(GL_LIGHTING), glEnable(GL_LIGHT0), glEnable(GL_LIGHT1), Triangle(),
             glPopMatrix();
     }},
};

TEST(GlLayer, EachCallMakesTheseEsCalls) {
    for (const Row& row : Rows) {
        Answers::nextName = 1;
        QglClearDivergences();
        QglMakeCurrent(layer = QglCreateContext(Load));
        calls.clear();
        row.gl();
        glFlush();
        std::ostringstream received;
        for (const std::string& call : calls)
            if (call[0] == '=' || std::strstr(row.expected, call.substr(0, call.find(',')).c_str()))
                received << call << ' ';
        if (QglDivergences()) received << "flags " << std::hex << QglDivergences() << ' ';
        QglDeleteContext(layer, false);
        EXPECT_EQ(received.str(), row.expected) << "the ES calls of " << row.call;
    }
}

} // namespace
