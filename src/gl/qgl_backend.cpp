// The layer's side of the real ES 3.0 context: loading its functions, the four programs that stand
// in for the fixed-function pipeline (lit or not, textured or not), the one vertex buffer, and
// making, switching and deleting layer contexts; the flags of what the layer does not do as GL would.
// The shaders repeat the fixed-function pipeline's operations in its order (the products and
// dot products of Mesa's fixed-function vertex program, its projective texture lookup), so that
// llvmpipe compiles them to the same arithmetic.
#include <cstdio>
#include <string>

#include "gl/qgl_internal.h"

namespace qgl {

Context* current = nullptr;

namespace {

unsigned divergences = 0;

// What each flag of QglDivergence reports, in bit order.
const char* const DivergenceTexts[] = {
    "fog switched on, which it does not draw",
    "face culling switched on, which it does not do: every face is drawn",
    "the alpha test switched on, which it does not do: every fragment is drawn",
    "flat shading asked for, which it does not do: colours are interpolated",
    "lighting without GL_COLOR_MATERIAL: the current colour is drawn as the material all the same",
    "lighting with more than one light on: only the first one lights",
    "a texture environment other than GL_MODULATE: textures are modulated all the same",
    "a call that GL records in a display list, made while one is compiled: run at once, not recorded",
    "a matrix or attribute stack pushed past its depth: the push is ignored",
    "a matrix or attribute stack popped while empty: the pop is ignored",
    "a glGet, switch or parameter name it does not know: ignored, and nothing written",
    "a pixel format or type it does not take: the call is ignored",
    "a value or enum that GL refuses, or beyond the layer's limits: the call is ignored",
};

constexpr GLuint PositionAttribute = 0, ColorAttribute = 1, NormalAttribute = 2, TexCoordAttribute = 3;

// The vertex shader repeats the operations of Mesa's fixed-function vertex program in its order
// (its multiply-adds fuse the same way) and takes the texture coordinate's q from the attribute,
// not as a constant, so that the projective lookup divides by the same interpolated value.
const char* const VertexShaderSource = R"(
precision highp float;
uniform mat4 uMvp;
in vec4 aPosition;
in vec4 aColor;
in vec4 aTexCoord;
out vec4 vColor;
out vec4 vTexCoord;
#ifdef LIGHTING
uniform mat4 uModelview;
uniform mat3 uNormalRows;
uniform vec4 uLightPosition;
uniform vec4 uLightAmbient;
uniform vec4 uLightDiffuse;
uniform vec4 uModelAmbient;
uniform vec4 uEmission; // the material's: always 0, but a term of its own as in the fixed-function program
in vec3 aNormal;
#endif

// m * p: the columns scaled and summed in turn.
vec4 Transform(mat4 m, vec4 p) {
    return m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3] * p.w;
}

void main() {
    gl_Position = Transform(uMvp, aPosition);
    vTexCoord = aTexCoord;
#ifdef LIGHTING
    // One positional light without attenuation or specular term; the colour is the material's
    // ambient and diffuse colour. The normal is used as given, not normalised.
    vec4 eye = Transform(uModelview, aPosition);
    vec3 normal = vec3(dot(aNormal, uNormalRows[0]), dot(aNormal, uNormalRows[1]), dot(aNormal, uNormalRows[2]));
    vec4 toLight = uLightPosition - eye;
    toLight = toLight * inversesqrt(dot(toLight.xyz, toLight.xyz));
    float facing = dot(normal, toLight.xyz);
    vec4 color = aColor;
    color.xyz = uModelAmbient.xyz * aColor.xyz + uEmission.xyz;
    vec4 ambient = uLightAmbient * aColor;
    vec4 diffuse = uLightDiffuse * aColor;
    color = ambient + color;
    color = max(0.0, facing) * diffuse + color;
    vColor = clamp(vec4(color.xyz, aColor.w), 0.0, 1.0);
#else
    vColor = clamp(aColor, 0.0, 1.0);
#endif
}
)";

// A lowp sampler (GLSL ES's default) would hand back texels at lower precision than the
// fixed-function pipeline's.
const char* const FragmentShaderSource = R"(
precision highp float;
in vec4 vColor;
in vec4 vTexCoord;
out vec4 fragColor;
#ifdef TEXTURE
uniform highp sampler2D uTexture;
#endif
void main() {
#ifdef TEXTURE
    fragColor = textureProj(uTexture, vTexCoord) * vColor; // the modulate environment
#else
    fragColor = vColor;
#endif
#ifdef DEPTH_STEPS
    // The nearest of the steps, ties to even, as a fixed-point buffer of that depth converts it.
    gl_FragDepth = roundEven(gl_FragCoord.z * DEPTH_STEPS) / DEPTH_STEPS;
#endif
}
)";

int roundDepthBits = 0; // for the contexts made from now on

GLuint CompileShader(Es& es, GLenum type, const char* defines, const char* body) {
    const char* parts[3] = {"#version 300 es\n", defines, body};
    GLuint shader = es.CreateShader(type);
    es.ShaderSource(shader, 3, parts, nullptr);
    es.CompileShader(shader);
    GLint ok = 0;
    es.GetShaderiv(shader, CompileStatus, &ok);
    if (!ok) {
        char log[1024] = "";
        es.GetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL layer: a shader did not compile: %s\n", log);
        es.DeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint LinkProgram(Es& es, uint8_t variant, int depthBits) {
    std::string defines = variant == (ProgramLighting | ProgramTexture)
                              ? "#define LIGHTING\n#define TEXTURE\n"
                          : variant == ProgramLighting ? "#define LIGHTING\n"
                          : variant == ProgramTexture  ? "#define TEXTURE\n"
                                                       : "";
    if (depthBits > 0) defines += "#define DEPTH_STEPS " + std::to_string((1u << depthBits) - 1) + ".0\n";
    GLuint vertex = CompileShader(es, VertexShader, defines.c_str(), VertexShaderSource);
    GLuint fragment = CompileShader(es, FragmentShader, defines.c_str(), FragmentShaderSource);
    if (!vertex || !fragment) {
        if (vertex) es.DeleteShader(vertex);
        if (fragment) es.DeleteShader(fragment);
        return 0;
    }
    GLuint program = es.CreateProgram();
    es.AttachShader(program, vertex);
    es.AttachShader(program, fragment);
    es.BindAttribLocation(program, PositionAttribute, "aPosition");
    es.BindAttribLocation(program, ColorAttribute, "aColor");
    es.BindAttribLocation(program, NormalAttribute, "aNormal");
    es.BindAttribLocation(program, TexCoordAttribute, "aTexCoord");
    es.LinkProgram(program);
    es.DeleteShader(vertex);
    es.DeleteShader(fragment);
    GLint ok = 0;
    es.GetProgramiv(program, LinkStatus, &ok);
    if (!ok) {
        char log[1024] = "";
        es.GetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL layer: a program did not link: %s\n", log);
        es.DeleteProgram(program);
        return 0;
    }
    return program;
}

} // namespace

bool LoadFunctions(Es& es, QglProcLoader load) {
    bool all = true;
#define QGL_ES_LOAD(name, result, parameters)                                                                \
    es.name = reinterpret_cast<result(*) parameters>(load("gl" #name));                                      \
    all = all && es.name != nullptr;
    QGL_ES_FUNCTIONS(QGL_ES_LOAD)
#undef QGL_ES_LOAD
    return all;
}

bool BuildPrograms(Context& context) {
    Es& es = context.es;
    for (uint8_t variant = 0; variant < ProgramCount; variant++) {
        GLuint program = LinkProgram(es, variant, context.roundDepthBits);
        if (!program) return false;
        context.programs[variant] = program;
        Context::Uniforms& u = context.uniforms[variant];
        u.mvp = es.GetUniformLocation(program, "uMvp");
        u.modelview = es.GetUniformLocation(program, "uModelview");
        u.normalRows = es.GetUniformLocation(program, "uNormalRows");
        u.lightPosition = es.GetUniformLocation(program, "uLightPosition");
        u.lightAmbient = es.GetUniformLocation(program, "uLightAmbient");
        u.lightDiffuse = es.GetUniformLocation(program, "uLightDiffuse");
        u.modelAmbient = es.GetUniformLocation(program, "uModelAmbient");
    }
    return true;
}

void CreateBuffers(Context& context) {
    Es& es = context.es;
    es.GenVertexArrays(1, &context.vertexArray);
    es.BindVertexArray(context.vertexArray); // the layer's only one: it stays bound
    GLuint buffers[2];
    es.GenBuffers(2, buffers);
    context.vertexBuffer = buffers[0];
    context.indexBuffer = buffers[1];
    es.BindBuffer(ArrayBuffer, context.vertexBuffer);
    es.BindBuffer(ElementArrayBuffer, context.indexBuffer); // kept by the vertex array
    const GLsizei stride = sizeof(Vertex);
    es.VertexAttribPointer(PositionAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                           reinterpret_cast<const void*>(offsetof(Vertex, position)));
    es.VertexAttribPointer(ColorAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                           reinterpret_cast<const void*>(offsetof(Vertex, color)));
    es.VertexAttribPointer(NormalAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                           reinterpret_cast<const void*>(offsetof(Vertex, normal)));
    // Two components: the shader reads q as the attribute's default 1.
    es.VertexAttribPointer(TexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                           reinterpret_cast<const void*>(offsetof(Vertex, texCoord)));
    for (GLuint attribute = 0; attribute < 4; attribute++) es.EnableVertexAttribArray(attribute);
}

namespace {

// What the context made in the real one: its programs, vertex array and buffers, and its textures.
void DeleteObjects(Context& context) {
    Es& es = context.es;
    for (GLuint program : context.programs)
        if (program) es.DeleteProgram(program);
    if (context.vertexArray) es.DeleteVertexArrays(1, &context.vertexArray);
    const GLuint buffers[2] = {context.vertexBuffer, context.indexBuffer};
    if (buffers[0]) es.DeleteBuffers(2, buffers);
    std::vector<GLuint> names;
    for (const auto& texture : context.textures)
        if (texture.first != 0) names.push_back(texture.first);
    if (!names.empty()) es.DeleteTextures(static_cast<GLsizei>(names.size()), names.data());
}

} // namespace

void Diverge(unsigned flag) {
    if (divergences & flag) return;
    divergences |= flag;
    for (unsigned bit = 0; bit < sizeof DivergenceTexts / sizeof DivergenceTexts[0]; bit++)
        if (flag & (1u << bit)) std::fprintf(stderr, "GL layer: %s\n", DivergenceTexts[bit]);
}

} // namespace qgl

using namespace qgl;

QglContext* QglCreateContext(QglProcLoader load) {
    Context* context = new Context;
    Es& es = context->es;
    context->roundDepthBits = roundDepthBits;
    if (!load || !LoadFunctions(es, load)) {
        delete context;
        return nullptr;
    }
    if (!BuildPrograms(*context)) {
        DeleteObjects(*context);
        delete context;
        return nullptr;
    }
    CreateBuffers(*context);
    es.GetIntegerv(GL_MAX_TEXTURE_SIZE, &context->maxTextureSize);
    // The viewport starts as the surface, as in any new context.
    es.GetIntegerv(GL_VIEWPORT, context->viewport);
    ResetState(*context);
    return reinterpret_cast<QglContext*>(context);
}

void QglRoundDepth(int bits) {
    roundDepthBits = bits > 0 && bits < 32 ? bits : 0;
}

void QglMakeCurrent(QglContext* layer) {
    Context* context = reinterpret_cast<Context*>(layer);
    if (current && current != context) Flush(*current);
    current = context;
}

void QglDeleteContext(QglContext* layer, bool realContextCurrent) {
    Context* context = reinterpret_cast<Context*>(layer);
    if (!context) return;
    if (realContextCurrent) DeleteObjects(*context);
    if (current == context) current = nullptr;
    delete context;
}

unsigned QglDivergences() {
    return divergences;
}

void QglClearDivergences() {
    divergences = 0;
}
