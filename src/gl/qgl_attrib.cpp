// glPush/PopAttrib and glPush/PopClientAttrib, for the groups the program pushes.
#include <cstring>

#include "gl/qgl_internal.h"

using namespace qgl;

void qglPushAttrib(GLbitfield mask) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    if (context.attribCount == AttribDepth) return Diverge(QglStackOverflow);
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
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    if (context.attribCount == 0) return Diverge(QglStackUnderflow);
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
    if (!current) return;
    Context& context = *current;
    if (context.clientAttribCount == AttribDepth) return Diverge(QglStackOverflow);
    context.clientAttribs[context.clientAttribCount++] =
        Context::ClientRecord{mask, context.unpack, context.pack};
}

void qglPopClientAttrib() {
    if (!current) return;
    Context& context = *current;
    if (context.clientAttribCount == 0) return Diverge(QglStackUnderflow);
    const Context::ClientRecord& r = context.clientAttribs[--context.clientAttribCount];
    if (r.mask & GL_CLIENT_PIXEL_STORE_BIT) {
        context.unpack = r.unpack;
        context.pack = r.pack;
    }
}
