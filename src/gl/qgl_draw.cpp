// Immediate mode and the state it draws with: glBegin/glEnd with the current colour, normal and
// texture coordinate kept across vertices; quads and strips turned into triangles as llvmpipe
// splits them; the batch, one run per state; the switches, blending, depth, clears, the light,
// fog and hints; glPush/PopAttrib and glPush/PopClientAttrib for the groups the program pushes;
// the values the program reads back; glFlush and glFinish.
// Kept as state only, since the program never draws with them: fog, face culling, the alpha test,
// flat shading. Lighting draws the first light switched on, as a positional light, with the
// current colour as the material (the program lights only with GL_COLOR_MATERIAL on).
#include <cmath>
#include <cstring>

#include "gl/qgl_internal.h"

namespace qgl {

namespace {

bool MipmapFilter(GLint filter) {
    return filter != GL_NEAREST && filter != GL_LINEAR;
}

// Texturing draws only with a complete texture; otherwise it is as if it were switched off.
bool TextureComplete(const Context& context, GLuint name) {
    if (name >= context.textures.size()) return false;
    const TextureRecord& t = context.textures[name];
    return t.width > 0 && (!MipmapFilter(t.minFilter) || t.mipmapped);
}

// The viewport's window coordinates onto clip coordinates, for bitmaps.
void WindowMatrix(const GLint (&viewport)[4], GLfloat (&m)[16]) {
    std::memset(m, 0, sizeof m);
    m[0] = 2.0f / static_cast<GLfloat>(viewport[2]);
    m[5] = 2.0f / static_cast<GLfloat>(viewport[3]);
    m[10] = 1.0f;
    m[12] = -1.0f - m[0] * static_cast<GLfloat>(viewport[0]);
    m[13] = -1.0f - m[5] * static_cast<GLfloat>(viewport[1]);
    m[15] = 1.0f;
}

// Whether Mesa's clip test puts the vertex outside the view volume. The clip coordinates are
// worked out as the vertex shader does on this machine's llvmpipe, which fuses its multiply-adds.
bool OutsideView(const GLfloat (&mvp)[16], const GLfloat (&p)[3]) {
    GLfloat c[4];
    for (int i = 0; i < 4; i++)
        c[i] = std::fma(mvp[12 + i], 1.0f,
                        std::fma(mvp[8 + i], p[2], std::fma(mvp[4 + i], p[1], mvp[i] * p[0])));
    return c[0] > c[3] || 0.0f > c[0] + c[3] || c[1] > c[3] || 0.0f > c[1] + c[3] || 0.0f > c[2] + c[3] ||
           c[2] > c[3];
}

// Mesa turns each quad into two triangles: along the diagonal 0-2, (0 1 2) (0 2 3), when it draws
// the quads of a glBegin/glEnd as they are; along 1-3, (0 1 3) (1 2 3), when they come from a
// display list (drawn indexed) or pass through its clipper, which they all do once any vertex of
// the primitive lies outside the view volume.
void EmitQuads(Context& context) {
    const bool diagonal13 = context.fromList || context.outsideView;
    const uint32_t end = context.primitiveFirst + 4 * static_cast<uint32_t>(context.primitiveVertices / 4);
    for (uint32_t q = context.primitiveFirst; q < end; q += 4) {
        if (diagonal13) {
            AddTriangle(context, q, q + 1, q + 3);
            AddTriangle(context, q + 1, q + 2, q + 3);
        } else {
            AddTriangle(context, q, q + 1, q + 2);
            AddTriangle(context, q, q + 2, q + 3);
        }
    }
}

void SetColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Color, {r, g, b, a}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    GLfloat* color = context.current.color;
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
}

void SetCapability(GLenum cap, bool on) {
    uint32_t bit = CapabilityBit(cap);
    if (!bit) return;
    Context& context = *current;
    uint32_t enables = on ? context.enables | bit : context.enables & ~bit;
    if (enables == context.enables) return;
    context.enables = enables;
    context.stateChanged = true;
}

} // namespace

uint32_t CapabilityBit(GLenum cap) {
    switch (cap) {
    case GL_TEXTURE_2D:
        return CapTexture2D;
    case GL_BLEND:
        return CapBlend;
    case GL_DEPTH_TEST:
        return CapDepthTest;
    case GL_LIGHTING:
        return CapLighting;
    case GL_COLOR_MATERIAL:
        return CapColorMaterial;
    case GL_FOG:
        return CapFog;
    case GL_CULL_FACE:
        return CapCullFace;
    case GL_ALPHA_TEST:
        return CapAlphaTest;
    default:
        return cap >= GL_LIGHT0 && cap < GL_LIGHT0 + LightCount ? CapLight0 << (cap - GL_LIGHT0) : 0;
    }
}

void ResetState(Context& context) {
    LoadIdentity(context.modelview.Top());
    LoadIdentity(context.projection.Top());
    for (int i = 0; i < LightCount; i++) {
        Light& light = context.lights[i];
        const GLfloat white = i == 0 ? 1.0f : 0.0f; // only light 0 starts white
        const GLfloat ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        const GLfloat diffuse[4] = {white, white, white, 1.0f};
        const GLfloat position[4] = {0.0f, 0.0f, 1.0f, 0.0f};
        std::memcpy(light.ambient, ambient, sizeof ambient);
        std::memcpy(light.diffuse, diffuse, sizeof diffuse);
        std::memcpy(light.position, position, sizeof position);
    }
    context.textures.resize(1); // the default texture, name 0
    context.lists.resize(1);
    context.vertices.reserve(8192);
    context.indices.reserve(8192);
    context.segments.reserve(256);
}

void PrepareSegment(Context& context, bool windowCoordinates) {
    if (!context.stateChanged && !context.segments.empty() && context.windowSegment == windowCoordinates)
        return;
    DrawState s;
    std::memset(&s, 0, sizeof s);
    if (windowCoordinates) {
        WindowMatrix(context.viewport, s.mvp);
    } else {
        Matrix mvp;
        Multiply(mvp, context.projection.Top(), context.modelview.Top());
        std::memcpy(s.mvp, mvp.m, sizeof s.mvp);
        if (context.enables & CapTexture2D && TextureComplete(context, context.boundTexture)) {
            s.program |= ProgramTexture;
            s.texture = context.boundTexture;
        }
        if (context.enables & CapLighting) {
            s.program |= ProgramLighting;
            const Matrix& modelview = context.modelview.Top();
            std::memcpy(s.modelview, modelview.m, sizeof s.modelview);
            NormalMatrix(modelview, s.normalRows);
            std::memcpy(s.modelAmbient, context.modelAmbient, sizeof s.modelAmbient);
            // The first light switched on; with none, only the scene's ambient light is left.
            for (int i = 0; i < LightCount; i++) {
                if (!(context.enables & (CapLight0 << i))) continue;
                const Light& light = context.lights[i];
                std::memcpy(s.lightPosition, light.position, sizeof s.lightPosition);
                std::memcpy(s.lightAmbient, light.ambient, sizeof s.lightAmbient);
                std::memcpy(s.lightDiffuse, light.diffuse, sizeof s.lightDiffuse);
                break;
            }
        }
    }
    std::memcpy(s.viewport, context.viewport, sizeof s.viewport);
    s.blend = (context.enables & CapBlend) != 0;
    s.blendSource = context.blendSource;
    s.blendDestination = context.blendDestination;
    s.depthTest = (context.enables & CapDepthTest) != 0;
    s.depthFunc = context.depthFunc;
    s.depthMask = context.depthMask;
    context.stateChanged = false;
    context.windowSegment = windowCoordinates;
    if (!context.segments.empty() && std::memcmp(&context.segments.back().state, &s, sizeof s) == 0) return;
    context.segments.push_back(Segment{s, static_cast<uint32_t>(context.indices.size()), 0});
}

uint32_t AddVertex(Context& context, const Vertex& vertex) {
    context.vertices.push_back(vertex);
    return static_cast<uint32_t>(context.vertices.size() - 1);
}

void AddTriangle(Context& context, uint32_t a, uint32_t b, uint32_t c) {
    context.indices.push_back(a);
    context.indices.push_back(b);
    context.indices.push_back(c);
    context.segments.back().count += 3;
}

} // namespace qgl

using namespace qgl;

void qglBegin(GLenum mode) {
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Begin, {}, mode, 0});
        if (!context.executeWhileCompiling) return;
    }
    if (context.vertices.size() > MaxBatchVertices) Flush(context); // a batch never grows without end
    context.primitive = mode;
    context.primitiveVertices = 0;
    context.inBegin = true;
    context.fromList = context.callDepth > 0;
    context.outsideView = false;
    context.primitiveFirst = static_cast<uint32_t>(context.vertices.size());
    PrepareSegment(context, false);
}

void qglEnd() {
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::End, {}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    if (context.inBegin && context.primitive == GL_QUADS) EmitQuads(context);
    context.inBegin = false; // an unfinished triangle or quad is dropped
}

void qglVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Vertex, {x, y, z, 0.0f}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    if (!context.inBegin) return;
    const Current& c = context.current;
    Vertex v = {{x, y, z},
                {c.color[0], c.color[1], c.color[2], c.color[3]},
                {c.normal[0], c.normal[1], c.normal[2]},
                {c.texCoord[0], c.texCoord[1]}};
    const uint32_t index = AddVertex(context, v);
    const int n = context.primitiveVertices++;
    uint32_t* held = context.held;
    switch (context.primitive) {
    case GL_TRIANGLES:
        if (n % 3 == 2) AddTriangle(context, index - 2, index - 1, index);
        break;
    case GL_QUADS:
        if (!context.outsideView && OutsideView(context.segments.back().state.mvp, v.position))
            context.outsideView = true;
        break;
    case GL_TRIANGLE_STRIP:
        // Every other triangle swaps its first two vertices, which keeps the strip's winding.
        if (n >= 2) {
            if (n % 2 == 0)
                AddTriangle(context, held[0], held[1], index);
            else
                AddTriangle(context, held[1], held[0], index);
            held[0] = held[1];
            held[1] = index;
        } else {
            held[n] = index;
        }
        break;
    default:
        break;
    }
}

void qglVertex2i(GLint x, GLint y) {
    qglVertex3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0.0f);
}

void qglNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Normal, {x, y, z, 0.0f}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    context.current.normal[0] = x;
    context.current.normal[1] = y;
    context.current.normal[2] = z;
}

void qglTexCoord2f(GLfloat s, GLfloat t) {
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::TexCoord, {s, t, 0.0f, 0.0f}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    context.current.texCoord[0] = s;
    context.current.texCoord[1] = t;
}

void qglColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    SetColor(red, green, blue, 1.0f);
}

void qglColor3fv(const GLfloat* rgb) {
    SetColor(rgb[0], rgb[1], rgb[2], 1.0f);
}

void qglColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    SetColor(red, green, blue, alpha);
}

void qglColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha) {
    SetColor(red / 255.0f, green / 255.0f, blue / 255.0f, alpha / 255.0f);
}

void qglRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
    qglBegin(GL_QUADS);
    qglVertex2i(x1, y1);
    qglVertex2i(x2, y1);
    qglVertex2i(x2, y2);
    qglVertex2i(x1, y2);
    qglEnd();
}

void qglEnable(GLenum cap) {
    SetCapability(cap, true);
}

void qglDisable(GLenum cap) {
    SetCapability(cap, false);
}

void qglBlendFunc(GLenum source, GLenum destination) {
    current->blendSource = source;
    current->blendDestination = destination;
    current->stateChanged = true;
}

void qglDepthFunc(GLenum func) {
    current->depthFunc = func;
    current->stateChanged = true;
}

void qglDepthMask(GLboolean flag) {
    current->depthMask = flag != GL_FALSE;
    current->stateChanged = true;
}

void qglClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    const GLfloat color[4] = {red, green, blue, alpha};
    for (int i = 0; i < 4; i++)
        current->clearColor[i] = color[i] < 0.0f ? 0.0f : color[i] > 1.0f ? 1.0f : color[i];
}

void qglClearDepth(GLclampd depth) {
    current->clearDepth = static_cast<GLfloat>(depth < 0.0 ? 0.0 : depth > 1.0 ? 1.0 : depth);
}

void qglClear(GLbitfield mask) {
    Context& context = *current;
    Flush(context);
    Es& es = context.es;
    es.ClearColor(context.clearColor[0], context.clearColor[1], context.clearColor[2], context.clearColor[3]);
    es.ClearDepthf(context.clearDepth);
    ApplyDepthMask(context); // a clear writes depth only where depth writes are on
    es.Clear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void qglShadeModel(GLenum mode) {
    current->shadeModel = mode;
}

void qglHint(GLenum target, GLenum mode) {
    if (target == GL_PERSPECTIVE_CORRECTION_HINT) current->perspectiveHint = mode;
    if (target == GL_FOG_HINT) current->fogHint = mode;
}

void qglLightfv(GLenum light, GLenum name, const GLfloat* params) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + LightCount) return;
    Context& context = *current;
    Light& l = context.lights[light - GL_LIGHT0];
    if (name == GL_AMBIENT) std::memcpy(l.ambient, params, sizeof l.ambient);
    if (name == GL_DIFFUSE) std::memcpy(l.diffuse, params, sizeof l.diffuse);
    if (name == GL_POSITION) {
        // Kept in eye coordinates: through the modelview matrix of the moment.
        const GLfloat* m = context.modelview.Top().m;
        for (int i = 0; i < 4; i++)
            l.position[i] =
                m[i] * params[0] + m[4 + i] * params[1] + m[8 + i] * params[2] + m[12 + i] * params[3];
    }
    context.stateChanged = true;
}

void qglFogi(GLenum name, GLint param) {
    if (name == GL_FOG_MODE) current->fogMode = param;
}

void qglFogf(GLenum name, GLfloat param) {
    if (name == GL_FOG_DENSITY) current->fogDensity = param;
    if (name == GL_FOG_START) current->fogStart = param;
    if (name == GL_FOG_END) current->fogEnd = param;
    if (name == GL_FOG_MODE) current->fogMode = static_cast<GLint>(param);
}

void qglFogfv(GLenum name, const GLfloat* params) {
    if (name == GL_FOG_COLOR)
        std::memcpy(current->fogColor, params, sizeof current->fogColor);
    else
        qglFogf(name, params[0]);
}

void qglPushAttrib(GLbitfield mask) {
    Context& context = *current;
    if (context.attribCount == AttribDepth) return;
    AttribRecord& r = context.attribs[context.attribCount++];
    r.mask = mask;
    r.current = context.current;
    r.enables = context.enables;
    r.blendSource = context.blendSource;
    r.blendDestination = context.blendDestination;
    std::memcpy(r.clearColor, context.clearColor, sizeof r.clearColor);
    r.listBase = context.listBase;
    r.matrixMode = context.matrixMode;
    r.texture = context.boundTexture;
    r.envMode = context.envMode;
    const TextureRecord& bound = context.textures[context.boundTexture];
    r.minFilter = bound.minFilter;
    r.magFilter = bound.magFilter;
}

void qglPopAttrib() {
    Context& context = *current;
    if (context.attribCount == 0) return;
    const AttribRecord& r = context.attribs[--context.attribCount];
    if (r.mask & GL_CURRENT_BIT) context.current = r.current;
    if (r.mask & GL_ENABLE_BIT) context.enables = r.enables;
    if (r.mask & GL_COLOR_BUFFER_BIT) {
        context.enables = (context.enables & ~CapBlend) | (r.enables & CapBlend);
        context.enables = (context.enables & ~CapAlphaTest) | (r.enables & CapAlphaTest);
        context.blendSource = r.blendSource;
        context.blendDestination = r.blendDestination;
        std::memcpy(context.clearColor, r.clearColor, sizeof r.clearColor);
    }
    if (r.mask & GL_LIST_BIT) context.listBase = r.listBase;
    if (r.mask & GL_TRANSFORM_BIT) context.matrixMode = r.matrixMode;
    if (r.mask & GL_TEXTURE_BIT) {
        context.enables = (context.enables & ~CapTexture2D) | (r.enables & CapTexture2D);
        context.boundTexture = r.texture;
        context.envMode = r.envMode;
        // The texture bound then gets back the filters it had then.
        TextureRecord& bound = context.textures[r.texture];
        if (bound.minFilter != r.minFilter)
            qglTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, r.minFilter);
        if (bound.magFilter != r.magFilter)
            qglTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, r.magFilter);
    }
    context.stateChanged = true;
}

void qglPushClientAttrib(GLbitfield mask) {
    Context& context = *current;
    if (context.clientAttribCount == AttribDepth) return;
    context.clientAttribs[context.clientAttribCount++] =
        Context::ClientRecord{mask, context.unpack, context.pack};
}

void qglPopClientAttrib() {
    Context& context = *current;
    if (context.clientAttribCount == 0) return;
    const Context::ClientRecord& r = context.clientAttribs[--context.clientAttribCount];
    if (r.mask & GL_CLIENT_PIXEL_STORE_BIT) {
        context.unpack = r.unpack;
        context.pack = r.pack;
    }
}

void qglGetIntegerv(GLenum name, GLint* params) {
    Context& context = *current;
    switch (name) {
    case GL_VIEWPORT:
        std::memcpy(params, context.viewport, sizeof context.viewport);
        break;
    case GL_MAX_TEXTURE_SIZE:
        *params = context.maxTextureSize;
        break;
    case GL_UNPACK_ALIGNMENT:
        *params = context.unpack.alignment;
        break;
    case GL_PACK_ALIGNMENT:
        *params = context.pack.alignment;
        break;
    case GL_MATRIX_MODE:
        *params = static_cast<GLint>(context.matrixMode);
        break;
    case GL_LIST_BASE:
        *params = static_cast<GLint>(context.listBase);
        break;
    case GL_TEXTURE_BINDING_2D:
        *params = static_cast<GLint>(context.boundTexture);
        break;
    default:
        break;
    }
}

void qglGetFloatv(GLenum name, GLfloat* params) {
    Context& context = *current;
    switch (name) {
    case GL_CURRENT_RASTER_POSITION:
        std::memcpy(params, context.current.rasterPosition, 4 * sizeof(GLfloat));
        break;
    case GL_CURRENT_RASTER_COLOR:
        std::memcpy(params, context.current.rasterColor, 4 * sizeof(GLfloat));
        break;
    case GL_CURRENT_COLOR:
        std::memcpy(params, context.current.color, 4 * sizeof(GLfloat));
        break;
    case GL_MODELVIEW_MATRIX:
        std::memcpy(params, context.modelview.Top().m, 16 * sizeof(GLfloat));
        break;
    case GL_PROJECTION_MATRIX:
        std::memcpy(params, context.projection.Top().m, 16 * sizeof(GLfloat));
        break;
    default:
        break;
    }
}

void qglFlush() {
    Flush(*current);
    current->es.Flush();
}

void qglFinish() {
    Flush(*current);
    current->es.Finish();
}
