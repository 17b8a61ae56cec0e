// The GL layer on an ES 3.0 that notes each call with its arguments (data as p, BufferData's as
// vertex positions or indices) and hands out names. A row, named after a GL call, lists the ES calls
// of the kinds it names, "=" notes of what the layer handed back, and the flags raised.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

#include "gl/gl_layer.h"
#include "gl/qgl_internal.h"

namespace {

std::vector<std::string> calls;
// What the recorded functions hand back: names of new objects, every compile done, every link but
// the one after `links` more (none if negative), RGBA pixels counting up from 0; BufferData notes
// its vertices' x and y, or its indices.
struct Answers {
    template <typename T> static auto Argument(T value) { return +value; }
    template <typename T> static const char* Argument(T* data) { return data ? "p" : "0"; }
    template <typename... A> static void Answer(A...) {}
    static void Answer(GLsizei n, GLuint* names) {
        for (GLsizei i = 0; i < n; i++) names[i] = nextName++;
    }
    static void Answer(GLuint, GLenum name, GLint* status) {
        *status = name != qgl::LinkStatus || links-- != 0;
    }
    static void Answer(GLint, GLint, GLsizei w, GLsizei h, GLenum, GLenum, void* pixels) {
        for (GLsizei i = 0; i < w * h * 4; i++) static_cast<GLubyte*>(pixels)[i] = static_cast<GLubyte>(i);
    }
    static void Answer(GLenum target, std::ptrdiff_t size, const void* data, GLenum) {
        std::ostringstream values;
        for (std::ptrdiff_t at = 0; at < size; at += target == qgl::ArrayBuffer ? sizeof(qgl::Vertex) : 4) {
            const auto* vertex = reinterpret_cast<const qgl::Vertex*>(static_cast<const char*>(data) + at);
            if (target == qgl::ArrayBuffer)
                values << ' ' << vertex->position[0] << ' ' << vertex->position[1];
            else
                values << ' ' << *reinterpret_cast<const uint32_t*>(static_cast<const char*>(data) + at);
        }
        calls.back() += ":" + values.str();
    }
    static inline GLuint nextName = 1;
    static inline int links = -1;
};
template <typename... T> void Note(T... values) {
    std::ostringstream note;
    ((note << '=' << values), ...);
    calls.push_back(note.str());
}
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

const GLubyte Bits[4] = {0xFF, 0xFF, 0x0F, 0xC0};
const auto Triangle = [] {
    glBegin(GL_TRIANGLES), glVertex2i(0, 0), glVertex2i(1, 0), glVertex2i(0, 1), glEnd();
};
const auto Quad = [] {
    glBegin(GL_QUADS), glVertex2i(0, 0), glVertex2i(1, 0), glVertex2i(1, 1), glVertex2i(0, 1), glEnd();
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
    // A quad drawn as it comes splits along 0-2; from a list, along 1-3.
    {"glCallList",
     "BufferData,34962,384,p,35040: 0 0 1 0 1 1 0 1 0 0 1 0 1 1 0 1 BufferData,34963,48,p,35040: 0 1 2 0 2 3 "
     "4 5 7 5 6 7 ",
     [] { Quad(), glNewList(1, GL_COMPILE), Quad(), glEndList(), glCallList(1); }},
    // The groups pushed come back: the colour, the switches, blending, the list base, the matrix
    // mode, the texture and its filter.
    {"glPopAttrib",
     "TexParameteri,3553,10241,9729 TexParameteri,3553,10241,9986 =0=5888=1=1 Disable,3042 BlendFunc,1,0 "
     "Disable,2929 ",
     [] {
         glBindTexture(GL_TEXTURE_2D, 1), glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT |
                                                       GL_LIST_BIT | GL_TRANSFORM_BIT | GL_TEXTURE_BIT);
         glColor3f(0, 0, 0), glEnable(GL_BLEND), glBlendFunc(GL_ONE, GL_ONE), glListBase(7);
         glMatrixMode(GL_PROJECTION), glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
         glBindTexture(GL_TEXTURE_2D, 2), glPopAttrib(), Triangle();
         GLint values[3];
         GLfloat color[4];
         glGetIntegerv(GL_LIST_BASE, values), glGetIntegerv(GL_MATRIX_MODE, values + 1);
         glGetIntegerv(GL_TEXTURE_BINDING_2D, values + 2), glGetFloatv(GL_CURRENT_COLOR, color);
         Note(values[0], values[1], values[2], color[0]);
     }},
    // Each list moves the raster position by its own power of two; the base and every type pick them.
    {"glCallLists", "=27 ",
     [] {
         for (int i = 0; i < 4; i++)
             glNewList(10 + i, GL_COMPILE), glBitmap(0, 0, 0, 0, 1 << i, 0, nullptr), glEndList();
         const GLubyte bytes[2] = {0, 3};
         const GLshort shorts[1] = {1};
         const GLfloat floats[1] = {2};
         const GLint ints[1] = {3};
         glViewport(0, 0, 8, 8), glRasterPos2i(0, 0), glListBase(10), glCallLists(2, GL_UNSIGNED_BYTE, bytes);
         glCallLists(1, GL_SHORT, shorts), glCallLists(1, GL_FLOAT, floats), glCallLists(1, GL_INT, ints);
         GLfloat position[4];
         glGetFloatv(GL_CURRENT_RASTER_POSITION, position), Note(position[0]);
     }},
    // 0x0F read from its third bit: least significant first, pixels 0 and 1; most, 2 and 3. Then
    // the second row of 0xC0 (pixels 0 and 1), past the first by its row length and alignment.
    {"glBitmap",
     "BufferData,34962,576,p,35040: 4 4 6 4 6 5 4 5 6 4 8 4 8 5 6 5 4 6 6 6 6 7 4 7 "
     "BufferData,34963,72,p,35040: 0 1 2 0 2 3 4 5 6 4 6 7 8 9 10 8 10 11 ",
     [] {
         glViewport(0, 0, 8, 8), glRasterPos2i(0, 0), glPixelStorei(GL_UNPACK_SKIP_PIXELS, 2);
         glPixelStorei(GL_UNPACK_LSB_FIRST, 1), glBitmap(4, 1, 0, 0, 0, 0, Bits + 2);
         glPixelStorei(GL_UNPACK_LSB_FIRST, 0), glBitmap(4, 1, 0, 0, 0, 2, Bits + 2);
         glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0), glPixelStorei(GL_UNPACK_ROW_LENGTH, 9);
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1), glPixelStorei(GL_UNPACK_SKIP_ROWS, 1),
             glBitmap(2, 1, 0, 0, 0, 0, Bits + 1);
     }},
    // RGB from the RGBA read, each row aligned to 4 bytes, after a row and a pixel skipped.
    {"glReadPixels", "=0 =0 =0 =0 =0 =0 =0 =0 =0 =0 =0 =0 =1 =2 =4 =5 =6 =0 ",
     [] {
         GLubyte out[18] = {};
         glPixelStorei(GL_PACK_SKIP_ROWS, 1), glPixelStorei(GL_PACK_SKIP_PIXELS, 1);
         glReadPixels(0, 0, 2, 1, GL_RGB, GL_UNSIGNED_BYTE, out);
         for (GLubyte byte : out) Note(+byte);
     }},
    // The second program does not link: both are deleted, and there is no context.
    {"QglCreateContext", "CreateProgram CreateProgram DeleteProgram,21 DeleteProgram,18 =1 ",
     [] { Answers::links = 1, Note(QglCreateContext(Load) == nullptr), Answers::links = -1; }},
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
