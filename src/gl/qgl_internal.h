// What the layer's files share: the real ES 3.0 functions, the layer context with its GL 1.1
// state, and the batch. Not for the program: it sees qgl.h and gl_layer.h only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gl/gl_layer.h"
#include "gl/qgl.h"
#include "gl/qgl_es_functions.h"

namespace qgl {

// ES 3.0 names the layer needs beyond those GL 1.1 shares with it.
constexpr GLenum ArrayBuffer = 0x8892;
constexpr GLenum ElementArrayBuffer = 0x8893;
constexpr GLenum StreamDraw = 0x88E0;
constexpr GLenum FragmentShader = 0x8B30;
constexpr GLenum VertexShader = 0x8B31;
constexpr GLenum CompileStatus = 0x8B81;
constexpr GLenum LinkStatus = 0x8B82;
constexpr GLenum TextureMaxLevel = 0x813D;
constexpr GLenum ReadFramebufferBinding = 0x8CAA;
constexpr GLenum ColorAttachment0 = 0x8CE0;

// The real functions, loaded through the platform's loader.
struct Es {
#define QGL_ES_MEMBER(name, result, parameters) result(*name) parameters = nullptr;
    QGL_ES_FUNCTIONS(QGL_ES_MEMBER)
#undef QGL_ES_MEMBER
};

// A 4 x 4 matrix in GL's column-major order. `general` is false while only translations,
// rotations and orthographic projections went into it (Mesa then multiplies by the top three rows
// only), `rigid` while only translations and rotations did (its normal matrix is then its upper
// 3 x 3 itself).
struct Matrix {
    GLfloat m[16];
    bool general;
    bool rigid;
};
void LoadIdentity(Matrix& matrix);
// product = a * b, as Mesa multiplies.
void Multiply(Matrix& product, const Matrix& a, const Matrix& b);
// The rows of the inverse transpose of the upper 3 x 3, stored as the columns of `rows`.
void NormalMatrix(const Matrix& matrix, GLfloat (&rows)[9]);
// matrix * (x, y, z, 1), as the vertex shader does it.
void TransformPoint(const Matrix& matrix, const GLfloat (&point)[3], GLfloat (&result)[4]);

constexpr int MatrixDepth = 32;
struct MatrixStack {
    Matrix entries[MatrixDepth];
    int top = 0;
    Matrix& Top() { return entries[top]; }
};

// One vertex of the batch: position, colour, normal and texture coordinate.
struct Vertex {
    GLfloat position[3];
    GLfloat color[4];
    GLfloat normal[3];
    GLfloat texCoord[2];
};

// Everything a run of batched triangles is drawn with; runs whose state is the same byte for byte
// are one draw. Fields a program does not read stay zero, so that they never split a run.
struct DrawState {
    GLfloat mvp[16];
    GLfloat modelview[16];
    GLfloat normalRows[9];
    GLfloat lightPosition[4];
    GLfloat lightAmbient[4];
    GLfloat lightDiffuse[4];
    GLfloat modelAmbient[4];
    GLint viewport[4];
    GLuint texture;
    GLenum blendSource;
    GLenum blendDestination;
    GLenum depthFunc;
    uint8_t program; // ProgramLighting | ProgramTexture
    uint8_t blend;
    uint8_t depthTest;
    uint8_t depthMask;
};
constexpr uint8_t ProgramLighting = 1;
constexpr uint8_t ProgramTexture = 2;
constexpr int ProgramCount = 4;

constexpr size_t MaxBatchVertices = 1 << 20;

struct Segment {
    DrawState state;
    uint32_t first; // in the batch's indices
    uint32_t count;
};

// Switches kept as one bit each.
enum Capability : uint32_t {
    CapTexture2D = 1u << 0,
    CapBlend = 1u << 1,
    CapDepthTest = 1u << 2,
    CapLighting = 1u << 3,
    CapColorMaterial = 1u << 4,
    CapFog = 1u << 5,
    CapCullFace = 1u << 6,
    CapAlphaTest = 1u << 7,
    CapLight0 = 1u << 8, // and the seven lights after it
};
constexpr int LightCount = 8;

struct Light {
    GLfloat ambient[4];
    GLfloat diffuse[4];
    GLfloat position[4]; // in eye coordinates
};

struct PixelStore {
    GLint alignment = 4;
    GLint rowLength = 0;
    GLint skipRows = 0;
    GLint skipPixels = 0;
    GLint lsbFirst = 0;
    GLint swapBytes = 0;
};

// The current values, and what GL_CURRENT_BIT saves of them.
struct Current {
    GLfloat color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    GLfloat normal[3] = {0.0f, 0.0f, 1.0f};
    GLfloat texCoord[2] = {0.0f, 0.0f};
    GLfloat rasterPosition[4] = {0.0f, 0.0f, 0.0f, 1.0f}; // window coordinates
    GLfloat rasterColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    bool rasterValid = true;
};

struct TextureRecord {
    bool bound = false; // a texture object exists once its name was bound
    GLint minFilter = GL_NEAREST_MIPMAP_LINEAR;
    GLint magFilter = GL_LINEAR;
    GLsizei width = 0, height = 0; // of level 0
    bool mipmapped = false;        // every level down to 1 x 1 has its image
};

// One glPushAttrib: the groups named by `mask`, whole.
struct AttribRecord {
    GLbitfield mask;
    Current current;
    uint32_t enables;
    GLenum blendSource, blendDestination;
    GLfloat clearColor[4];
    GLuint listBase;
    GLenum matrixMode;
    GLuint texture;
    GLint envMode;
    GLint minFilter, magFilter;
};
constexpr int AttribDepth = 16;

// A bitmap is kept as runs of set pixels, one row each, from its lower-left corner.
struct BitmapRun {
    int16_t x, y, length;
};
constexpr int MaxBitmapSide = 32767;

struct ListCommand {
    enum Op : uint8_t { Begin, End, Vertex, TexCoord, Color, Normal, Bitmap, CallList } op;
    GLfloat v[4];  // the values; for Bitmap: xorig, yorig, xmove, ymove
    uint32_t a, b; // Begin: the mode; Bitmap: first run and run count; CallList: the list
};

struct DisplayList {
    std::vector<ListCommand> commands;
    std::vector<BitmapRun> runs;
};

struct Context {
    Es es;
    GLuint programs[ProgramCount] = {};
    struct Uniforms {
        GLint mvp, modelview, normalRows, lightPosition, lightAmbient, lightDiffuse, modelAmbient;
    } uniforms[ProgramCount] = {};
    DrawState programState[ProgramCount]; // the uniforms each program was last given
    bool programStateKnown[ProgramCount] = {};
    GLuint vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    GLint maxTextureSize = 64;
    int roundDepthBits = 0; // QglRoundDepth's, when the context was made

    // The real context's state as the layer last set it, so that unchanged state is not sent.
    struct Real {
        bool known = false;
        DrawState state;
        GLuint boundTexture = 0;
        PixelStore unpack, pack;
    } real;

    // GL 1.1 state.
    GLenum matrixMode = GL_MODELVIEW;
    MatrixStack modelview, projection;
    GLint viewport[4] = {};
    uint32_t enables = 0; // everything off, as in a new context
    GLenum blendSource = GL_ONE, blendDestination = GL_ZERO;
    GLenum depthFunc = GL_LESS;
    bool depthMask = true;
    GLfloat clearColor[4] = {};
    GLfloat clearDepth = 1.0f;
    GLenum shadeModel = GL_SMOOTH;
    GLenum perspectiveHint = GL_DONT_CARE, fogHint = GL_DONT_CARE;
    GLint fogMode = GL_EXP;
    GLfloat fogColor[4] = {}, fogDensity = 1.0f, fogStart = 0.0f, fogEnd = 1.0f;
    Light lights[LightCount];
    GLfloat modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    Current current;
    GLuint boundTexture = 0;
    GLint envMode = GL_MODULATE;
    // By name: names come from the real context, which may hand out any (the browser's keep rising
    // from one context to the next), so the table holds only the names in use.
    std::unordered_map<GLuint, TextureRecord> textures;
    PixelStore unpack, pack;
    GLenum readBuffer = GL_BACK;
    AttribRecord attribs[AttribDepth];
    int attribCount = 0;
    struct ClientRecord {
        GLbitfield mask;
        PixelStore unpack, pack;
    } clientAttribs[AttribDepth];
    int clientAttribCount = 0;

    // Display lists, by name, and the first name above every name used so far (2^32 once the last
    // name is taken: glGenLists then has no range left to give).
    std::unordered_map<GLuint, DisplayList> lists;
    uint64_t nextList = 1;
    GLuint listBase = 0;
    GLuint compiling = 0; // the list being compiled, 0 for none
    bool executeWhileCompiling = false;
    int callDepth = 0;
    DisplayList compileBuffer;            // the list being compiled, until glEndList
    std::vector<BitmapRun> immediateRuns; // a bitmap drawn outside lists

    // Immediate mode: the primitive between glBegin and glEnd and its vertices so far; quads are
    // split at glEnd, which knows how.
    GLenum primitive = 0;
    bool inBegin = false;
    bool fromList = false;
    bool outsideView = false;
    int primitiveVertices = 0;
    uint32_t primitiveFirst = 0; // the index of its first vertex
    uint32_t held[2] = {};       // a strip's last two vertices

    // The batch: vertices, the triangles over them in draw order (three indices each; a strip's or
    // a quad's shared vertices are stored once), and the runs of equal state over the triangles.
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<Segment> segments;
    bool stateChanged = true;
    bool windowSegment = false;   // the last run draws bitmaps in window coordinates
    std::vector<uint8_t> scratch; // pixel conversions and mipmap levels
};

extern Context* current;

// qgl_backend.cpp: the real context.
bool LoadFunctions(Es& es, QglProcLoader load);
bool BuildPrograms(Context& context);
void CreateBuffers(Context& context);
// Raises `flag` (a QglDivergence) and reports it on standard error the first time.
void Diverge(unsigned flag);

// qgl_batch.cpp: the batch and the real context's state.
// Opens a new run when the state changed since the last one.
void PrepareSegment(Context& context, bool windowCoordinates);
// Stores a vertex of the batch and returns its index.
uint32_t AddVertex(Context& context, const Vertex& vertex);
void AddTriangle(Context& context, uint32_t a, uint32_t b, uint32_t c);
// Draws everything batched so far, in order.
void Flush(Context& context);
// Sets the real pixel store for an upload or a read, as the layer's state says.
void ApplyPixelStore(Context& context, const PixelStore& store, bool pack);
// Binds `texture` on the real context for a change to it.
void BindRealTexture(Context& context, GLuint texture);
void ApplyDepthMask(Context& context);

// qgl_state.cpp: the switches as bits, and the state a new context starts with.
uint32_t CapabilityBit(GLenum cap);
// Drops what GL_CURRENT_BIT and the rest keep when a context starts.
void ResetState(Context& context);

// qgl_lists.cpp: recording; true when the call was recorded and must not run now.
bool Recording(Context& context);
// For a call GL would record in the list being compiled, which the layer runs at once instead.
void RunsWhileCompiling(Context& context);
void RecordCommand(Context& context, const ListCommand& command);
// Turns `bitmap` into runs (as the unpack state reads it), appended to `runs`.
void BitmapToRuns(Context& context, GLsizei width, GLsizei height, const GLubyte* bitmap,
                  std::vector<BitmapRun>& runs);
void DrawBitmap(Context& context, const BitmapRun* runs, size_t count, GLfloat xorig, GLfloat yorig,
                GLfloat xmove, GLfloat ymove);

} // namespace qgl
