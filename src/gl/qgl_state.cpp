// The switches, blending, depth, clears, the light, fog and hints; glFlush and glFinish.
// Kept as state only, since the program never draws with them: fog, face culling, the alpha test,
// flat shading (each raises its divergence flag when asked for). Lighting draws the first light
// switched on, as a positional light, with the current colour as the material (the program lights
// only with GL_COLOR_MATERIAL on).
#include <cstring>

#include "gl/qgl_internal.h"

namespace qgl {

namespace {

void SetCapability(GLenum cap, bool on) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    uint32_t bit = CapabilityBit(cap);
    if (!bit) return Diverge(QglUnknownName);
    if (on && (bit & CapFog)) Diverge(QglFogOn);
    if (on && (bit & CapCullFace)) Diverge(QglCullFaceOn);
    if (on && (bit & CapAlphaTest)) Diverge(QglAlphaTestOn);
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
    context.textures[0] = TextureRecord{}; // the default texture
    context.vertices.reserve(8192);
    context.indices.reserve(8192);
    context.segments.reserve(256);
}

} // namespace qgl

using namespace qgl;

void qglEnable(GLenum cap) {
    SetCapability(cap, true);
}

void qglDisable(GLenum cap) {
    SetCapability(cap, false);
}

void qglBlendFunc(GLenum source, GLenum destination) {
    if (!current) return;
    RunsWhileCompiling(*current);
    current->blendSource = source;
    current->blendDestination = destination;
    current->stateChanged = true;
}

void qglDepthFunc(GLenum func) {
    if (!current) return;
    RunsWhileCompiling(*current);
    current->depthFunc = func;
    current->stateChanged = true;
}

void qglDepthMask(GLboolean flag) {
    if (!current) return;
    RunsWhileCompiling(*current);
    current->depthMask = flag != GL_FALSE;
    current->stateChanged = true;
}

void qglClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    if (!current) return;
    RunsWhileCompiling(*current);
    const GLfloat color[4] = {red, green, blue, alpha};
    for (int i = 0; i < 4; i++)
        current->clearColor[i] = color[i] < 0.0f ? 0.0f : color[i] > 1.0f ? 1.0f : color[i];
}

void qglClearDepth(GLclampd depth) {
    if (!current) return;
    RunsWhileCompiling(*current);
    current->clearDepth = static_cast<GLfloat>(depth < 0.0 ? 0.0 : depth > 1.0 ? 1.0 : depth);
}

void qglClear(GLbitfield mask) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    Flush(context);
    Es& es = context.es;
    es.ClearColor(context.clearColor[0], context.clearColor[1], context.clearColor[2], context.clearColor[3]);
    es.ClearDepthf(context.clearDepth);
    ApplyDepthMask(context); // a clear writes depth only where depth writes are on
    es.Clear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void qglShadeModel(GLenum mode) {
    if (!current) return;
    RunsWhileCompiling(*current);
    if (mode == GL_FLAT) Diverge(QglFlatShading);
    current->shadeModel = mode;
}

void qglHint(GLenum target, GLenum mode) {
    if (!current) return;
    RunsWhileCompiling(*current);
    if (target == GL_PERSPECTIVE_CORRECTION_HINT)
        current->perspectiveHint = mode;
    else if (target == GL_FOG_HINT)
        current->fogHint = mode;
    else
        Diverge(QglUnknownName);
}

void qglLightfv(GLenum light, GLenum name, const GLfloat* params) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + LightCount) return Diverge(QglRefusedValue);
    Light& l = context.lights[light - GL_LIGHT0];
    if (name == GL_AMBIENT) {
        std::memcpy(l.ambient, params, sizeof l.ambient);
    } else if (name == GL_DIFFUSE) {
        std::memcpy(l.diffuse, params, sizeof l.diffuse);
    } else if (name == GL_POSITION) {
        // Kept in eye coordinates: through the modelview matrix of the moment.
        const GLfloat* m = context.modelview.Top().m;
        for (int i = 0; i < 4; i++)
            l.position[i] =
                m[i] * params[0] + m[4 + i] * params[1] + m[8 + i] * params[2] + m[12 + i] * params[3];
    } else {
        return Diverge(QglUnknownName);
    }
    context.stateChanged = true;
}

void qglFogi(GLenum name, GLint param) {
    qglFogf(name, static_cast<GLfloat>(param));
}

void qglFogf(GLenum name, GLfloat param) {
    if (!current) return;
    RunsWhileCompiling(*current);
    if (name == GL_FOG_DENSITY)
        current->fogDensity = param;
    else if (name == GL_FOG_START)
        current->fogStart = param;
    else if (name == GL_FOG_END)
        current->fogEnd = param;
    else if (name == GL_FOG_MODE)
        current->fogMode = static_cast<GLint>(param);
    else
        Diverge(QglUnknownName);
}

void qglFogfv(GLenum name, const GLfloat* params) {
    if (!current) return;
    if (name != GL_FOG_COLOR) return qglFogf(name, params[0]);
    RunsWhileCompiling(*current);
    std::memcpy(current->fogColor, params, sizeof current->fogColor);
}

void qglFlush() {
    if (!current) return;
    Flush(*current);
    current->es.Flush();
}

void qglFinish() {
    if (!current) return;
    Flush(*current);
    current->es.Finish();
}
