// The batch: the triangles drawn since the last flush, over vertices stored once, and the runs of
// equal state over them. A run opens when the state changed since the last one (PrepareSegment);
// a flush sends the vertices and indices once and draws each run with its state, sending only what
// differs from what the real context already has. The real context's pixel store, bound texture
// and depth mask are kept here too, for the calls that change them outside a run.
#include <cstring>

#include "gl/qgl_internal.h"

namespace qgl {

namespace {

bool MipmapFilter(GLint filter) {
    return filter != GL_NEAREST && filter != GL_LINEAR;
}

// Texturing draws only with a complete texture; otherwise it is as if it were switched off.
bool TextureComplete(const Context& context, GLuint name) {
    const auto found = context.textures.find(name);
    if (found == context.textures.end()) return false;
    const TextureRecord& t = found->second;
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

void SetEnabled(Es& es, GLenum cap, bool on) {
    if (on)
        es.Enable(cap);
    else
        es.Disable(cap);
}

// Sends what differs between `s` and the real context's state.
void ApplyState(Context& context, const DrawState& s) {
    Es& es = context.es;
    Context::Real& real = context.real;
    const DrawState& r = real.state;
    const bool all = !real.known;
    if (all || s.program != r.program) es.UseProgram(context.programs[s.program]);
    // Uniform values stay with their program, so each program keeps the state it last drew with.
    DrawState& kept = context.programState[s.program];
    const Context::Uniforms& u = context.uniforms[s.program];
    if (!context.programStateKnown[s.program] || std::memcmp(kept.mvp, s.mvp, sizeof s.mvp) != 0)
        es.UniformMatrix4fv(u.mvp, 1, GL_FALSE, s.mvp);
    if (s.program & ProgramLighting) {
        bool known = context.programStateKnown[s.program];
        if (!known || std::memcmp(kept.modelview, s.modelview, sizeof s.modelview) != 0)
            es.UniformMatrix4fv(u.modelview, 1, GL_FALSE, s.modelview);
        if (!known || std::memcmp(kept.normalRows, s.normalRows, sizeof s.normalRows) != 0)
            es.UniformMatrix3fv(u.normalRows, 1, GL_FALSE, s.normalRows);
        if (!known || std::memcmp(kept.lightPosition, s.lightPosition, 4 * 4 * sizeof(GLfloat)) != 0) {
            es.Uniform4fv(u.lightPosition, 1, s.lightPosition);
            es.Uniform4fv(u.lightAmbient, 1, s.lightAmbient);
            es.Uniform4fv(u.lightDiffuse, 1, s.lightDiffuse);
            es.Uniform4fv(u.modelAmbient, 1, s.modelAmbient);
        }
    }
    kept = s;
    context.programStateKnown[s.program] = true;

    if ((s.program & ProgramTexture) && s.texture != real.boundTexture) BindRealTexture(context, s.texture);
    if (all || s.blend != r.blend) SetEnabled(es, GL_BLEND, s.blend);
    if (all || s.blendSource != r.blendSource || s.blendDestination != r.blendDestination)
        es.BlendFunc(s.blendSource, s.blendDestination);
    if (all || s.depthTest != r.depthTest) SetEnabled(es, GL_DEPTH_TEST, s.depthTest);
    if (all || s.depthFunc != r.depthFunc) es.DepthFunc(s.depthFunc);
    if (all || s.depthMask != r.depthMask) es.DepthMask(s.depthMask);
    if (all || std::memcmp(s.viewport, r.viewport, sizeof s.viewport) != 0)
        es.Viewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    GLuint texture = real.boundTexture;
    real.state = s;
    real.boundTexture = texture;
    real.known = true;
}

} // namespace

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
            if (!(context.enables & CapColorMaterial)) Diverge(QglLightingWithoutColorMaterial);
            const uint32_t lights = context.enables / CapLight0;
            if (lights & (lights - 1)) Diverge(QglSecondLight);
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

void Flush(Context& context) {
    if (!context.indices.empty()) {
        Es& es = context.es;
        // New stores each time: the driver never waits for the draws that read the last ones.
        es.BufferData(ArrayBuffer, static_cast<std::ptrdiff_t>(context.vertices.size() * sizeof(Vertex)),
                      context.vertices.data(), StreamDraw);
        es.BufferData(ElementArrayBuffer,
                      static_cast<std::ptrdiff_t>(context.indices.size() * sizeof(uint32_t)),
                      context.indices.data(), StreamDraw);
        for (const Segment& segment : context.segments) {
            if (segment.count == 0) continue;
            ApplyState(context, segment.state);
            es.DrawElements(GL_TRIANGLES, static_cast<GLsizei>(segment.count), GL_UNSIGNED_INT,
                            reinterpret_cast<const void*>(segment.first * sizeof(uint32_t)));
        }
    }
    context.vertices.clear();
    context.indices.clear();
    context.segments.clear();
    context.stateChanged = true;
}

void ApplyPixelStore(Context& context, const PixelStore& store, bool pack) {
    Es& es = context.es;
    PixelStore& real = pack ? context.real.pack : context.real.unpack;
    if (store.alignment != real.alignment)
        es.PixelStorei(pack ? GL_PACK_ALIGNMENT : GL_UNPACK_ALIGNMENT, store.alignment);
    if (store.rowLength != real.rowLength)
        es.PixelStorei(pack ? GL_PACK_ROW_LENGTH : GL_UNPACK_ROW_LENGTH, store.rowLength);
    if (store.skipRows != real.skipRows)
        es.PixelStorei(pack ? GL_PACK_SKIP_ROWS : GL_UNPACK_SKIP_ROWS, store.skipRows);
    if (store.skipPixels != real.skipPixels)
        es.PixelStorei(pack ? GL_PACK_SKIP_PIXELS : GL_UNPACK_SKIP_PIXELS, store.skipPixels);
    real = store;
}

void BindRealTexture(Context& context, GLuint texture) {
    if (context.real.boundTexture == texture) return;
    context.es.BindTexture(GL_TEXTURE_2D, texture);
    context.real.boundTexture = texture;
}

void ApplyDepthMask(Context& context) {
    if (context.real.known && context.real.state.depthMask == context.depthMask) return;
    context.es.DepthMask(context.depthMask);
    if (context.real.known) context.real.state.depthMask = context.depthMask;
}

} // namespace qgl
