// Textures and pixels: glGenTextures, glDeleteTextures, glBindTexture, glIsTexture, glTexParameteri,
// glTexEnvi (the modulate environment is the one drawn), glTexImage2D with internal format 3 or 4,
// glCopyTexSubImage2D, gluBuild2DMipmaps (with GLU's own box filters, glu_mipmaps.h), glPixelStorei,
// glReadBuffer, and glReadPixels of RGB or RGBA (read as RGBA, which is all ES reads).
// A change to a texture sends the batch first: draws already made must see the texture as it was.
#include <cstring>
#include <vector>

#include "gl/glu_mipmaps.h"
#include "gl/qgl_internal.h"

namespace qgl {

namespace {

// RGB or RGBA; 0 for what the layer does not take.
int Components(GLenum format) {
    return format == GL_RGB ? 3 : format == GL_RGBA ? 4 : 0;
}

GLenum SizedFormat(GLint internalFormat) {
    switch (internalFormat) {
    case 3:
    case GL_RGB:
    case GL_RGB8:
        return GL_RGB8;
    case 4:
    case GL_RGBA:
    case GL_RGBA8:
        return GL_RGBA8;
    default:
        return 0;
    }
}

TextureRecord& Bound(Context& context) {
    return context.textures[context.boundTexture];
}

// Bytes from the start of one row to the next, as GL reads client memory.
size_t RowStride(const PixelStore& store, GLsizei width, int components) {
    size_t row = static_cast<size_t>(store.rowLength > 0 ? store.rowLength : width) * components;
    size_t alignment = static_cast<size_t>(store.alignment);
    return (row + alignment - 1) / alignment * alignment;
}

// One level from tightly packed rows.
void UploadPacked(Context& context, GLint level, GLenum sizedFormat, GLsizei width, GLsizei height,
                  GLenum format, const uint8_t* pixels) {
    PixelStore packed;
    packed.alignment = 1;
    ApplyPixelStore(context, packed, false);
    context.es.TexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(sizedFormat), width, height, 0, format,
                          GL_UNSIGNED_BYTE, pixels);
}

// Gets the texture ready for a change: the batch drawn, the texture bound on the real context.
TextureRecord& BeginChange(Context& context) {
    Flush(context);
    BindRealTexture(context, context.boundTexture);
    return Bound(context);
}

} // namespace

} // namespace qgl

using namespace qgl;

void qglGenTextures(GLsizei count, GLuint* textures) {
    if (!current) {
        for (GLsizei i = 0; i < count; i++) textures[i] = 0; // no texture
        return;
    }
    if (count < 0) return Diverge(QglRefusedValue);
    Context& context = *current;
    context.es.GenTextures(count, textures);
    // In the table from now on, so that the context deletes them with it; textures once bound.
    for (GLsizei i = 0; i < count; i++) context.textures[textures[i]];
}

void qglDeleteTextures(GLsizei count, const GLuint* textures) {
    if (!current) return;
    Context& context = *current;
    if (count < 0) return Diverge(QglRefusedValue);
    Flush(context); // draws made with them come first
    context.es.DeleteTextures(count, textures);
    for (GLsizei i = 0; i < count; i++) {
        const GLuint name = textures[i];
        if (name == 0) continue;
        context.textures.erase(name);
        // A deleted texture that was bound leaves the default one bound, here and in the real context.
        if (context.boundTexture == name) context.boundTexture = 0;
        if (context.real.boundTexture == name) context.real.boundTexture = 0;
    }
    context.stateChanged = true;
}

void qglBindTexture(GLenum target, GLuint texture) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    if (target != GL_TEXTURE_2D) return Diverge(QglRefusedValue);
    context.textures[texture].bound = true;
    if (context.boundTexture == texture) return;
    context.boundTexture = texture;
    context.stateChanged = true;
}

GLboolean qglIsTexture(GLuint texture) {
    if (!current || texture == 0) return GL_FALSE;
    const auto found = current->textures.find(texture);
    return found != current->textures.end() && found->second.bound;
}

void qglTexParameteri(GLenum target, GLenum name, GLint param) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    if (target != GL_TEXTURE_2D) return Diverge(QglRefusedValue);
    TextureRecord& texture = BeginChange(context);
    context.es.TexParameteri(GL_TEXTURE_2D, name, param);
    if (name == GL_TEXTURE_MIN_FILTER) texture.minFilter = param;
    if (name == GL_TEXTURE_MAG_FILTER) texture.magFilter = param;
    context.stateChanged = true;
}

void qglTexEnvi(GLenum target, GLenum name, GLint param) {
    if (!current) return;
    RunsWhileCompiling(*current);
    if (target != GL_TEXTURE_ENV || name != GL_TEXTURE_ENV_MODE) return Diverge(QglUnknownName);
    if (param != GL_MODULATE) Diverge(QglTextureEnvironment);
    current->envMode = param;
}

void qglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    if (target != GL_TEXTURE_2D || border != 0 || level < 0 || width < 0 || height < 0)
        return Diverge(QglRefusedValue);
    const GLenum sized = SizedFormat(internalFormat);
    // ES takes RGB data for an RGB texture only, RGBA for RGBA: the program never mixes them.
    if (type != GL_UNSIGNED_BYTE || !sized || (sized == GL_RGB8) != (format == GL_RGB) || !Components(format))
        return Diverge(QglRefusedFormat);
    TextureRecord& texture = BeginChange(context);
    ApplyPixelStore(context, context.unpack, false);
    context.es.TexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(sized), width, height, 0, format, type,
                          pixels);
    if (level == 0) {
        texture.width = width;
        texture.height = height;
        texture.mipmapped = false;
    }
    context.stateChanged = true;
}

void qglCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y,
                          GLsizei width, GLsizei height) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    if (target != GL_TEXTURE_2D) return Diverge(QglRefusedValue);
    BeginChange(context);
    context.es.CopyTexSubImage2D(GL_TEXTURE_2D, level, xoffset, yoffset, x, y, width, height);
}

GLint qgluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                         GLenum type, const void* data) {
    if (!current) return 1;
    Context& context = *current;
    RunsWhileCompiling(context);
    const int count = Components(format);
    const GLenum sized = SizedFormat(components);
    if (target != GL_TEXTURE_2D || width < 1 || height < 1 || !data) {
        Diverge(QglRefusedValue);
        return 1;
    }
    // As for glTexImage2D, RGB data for RGB textures and RGBA for RGBA.
    if (type != GL_UNSIGNED_BYTE || !count || !sized || (sized == GL_RGB8) != (format == GL_RGB)) {
        Diverge(QglRefusedFormat);
        return 1;
    }
    // The sides become powers of two, no larger than the real context takes.
    GLint newWidth = GluNearestPower(width), newHeight = GluNearestPower(height);
    while (newWidth > context.maxTextureSize || newHeight > context.maxTextureSize) {
        if (newWidth > 1) newWidth /= 2;
        if (newHeight > 1) newHeight /= 2;
    }
    // The caller's rows, as the unpack state lays them out, made tight.
    const size_t tight = static_cast<size_t>(width) * count;
    const size_t stride = RowStride(context.unpack, width, count);
    const uint8_t* source = static_cast<const uint8_t*>(data) + context.unpack.skipRows * stride +
                            static_cast<size_t>(context.unpack.skipPixels) * count;
    std::vector<uint8_t> level(static_cast<size_t>(newWidth) * newHeight * count);
    std::vector<uint8_t> next(level.size());
    std::vector<uint8_t> user(tight * height);
    for (GLint y = 0; y < height; y++) std::memcpy(&user[y * tight], source + y * stride, tight);
    if (newWidth == width && newHeight == height)
        level.swap(user);
    else
        GluScale(user.data(), width, height, count, level.data(), newWidth, newHeight);

    TextureRecord& texture = BeginChange(context);
    GLint w = newWidth, h = newHeight;
    UploadPacked(context, 0, sized, w, h, format, level.data());
    for (GLint index = 1; w > 1 || h > 1; index++) {
        GluHalve(level.data(), w, h, count, next.data());
        level.swap(next);
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        UploadPacked(context, index, sized, w, h, format, level.data());
    }
    texture.width = newWidth;
    texture.height = newHeight;
    texture.mipmapped = true;
    context.stateChanged = true;
    return 0;
}

void qglPixelStorei(GLenum name, GLint param) {
    if (!current) return;
    Context& context = *current;
    PixelStore& unpack = context.unpack;
    PixelStore& pack = context.pack;
    // As GL 1.1 checks them: alignments of 1, 2, 4 or 8, no negative length or skip.
    const bool alignment = name == GL_UNPACK_ALIGNMENT || name == GL_PACK_ALIGNMENT;
    if (alignment ? param != 1 && param != 2 && param != 4 && param != 8 : param < 0)
        return Diverge(QglRefusedValue);
    switch (name) {
    case GL_UNPACK_ALIGNMENT:
        unpack.alignment = param;
        break;
    case GL_UNPACK_ROW_LENGTH:
        unpack.rowLength = param;
        break;
    case GL_UNPACK_SKIP_ROWS:
        unpack.skipRows = param;
        break;
    case GL_UNPACK_SKIP_PIXELS:
        unpack.skipPixels = param;
        break;
    case GL_UNPACK_LSB_FIRST:
        unpack.lsbFirst = param;
        break;
    case GL_UNPACK_SWAP_BYTES:
        unpack.swapBytes = param;
        break;
    case GL_PACK_ALIGNMENT:
        pack.alignment = param;
        break;
    case GL_PACK_ROW_LENGTH:
        pack.rowLength = param;
        break;
    case GL_PACK_SKIP_ROWS:
        pack.skipRows = param;
        break;
    case GL_PACK_SKIP_PIXELS:
        pack.skipPixels = param;
        break;
    default:
        Diverge(QglUnknownName);
        break;
    }
}

void qglReadBuffer(GLenum mode) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    context.readBuffer = mode;
    Flush(context);
    // A platform that draws into a framebuffer object of its own (the browser's, for the depth
    // buffer the program asked for) has its back buffer in the object's colour attachment.
    GLint framebuffer = 0;
    context.es.GetIntegerv(ReadFramebufferBinding, &framebuffer);
    const bool windowBuffer = mode == GL_BACK || mode == GL_FRONT;
    context.es.ReadBuffer(framebuffer != 0 && windowBuffer ? ColorAttachment0 : mode);
}

void qglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   GLvoid* pixels) {
    if (!current) return;
    Context& context = *current;
    if (width < 0 || height < 0) return Diverge(QglRefusedValue);
    const int count = Components(format);
    if (!count || type != GL_UNSIGNED_BYTE) return Diverge(QglRefusedFormat);
    if (width == 0 || height == 0) return;
    Flush(context);
    const size_t rgbaRow = static_cast<size_t>(width) * 4;
    context.scratch.resize(rgbaRow * height);
    ApplyPixelStore(context, PixelStore{}, true);
    context.es.ReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, context.scratch.data());
    // Into the caller's layout, dropping alpha where it asked for RGB.
    const PixelStore& store = context.pack;
    const size_t stride = RowStride(store, width, count);
    uint8_t* out = static_cast<uint8_t*>(pixels) + store.skipRows * stride +
                   static_cast<size_t>(store.skipPixels) * count;
    for (GLsizei row = 0; row < height; row++) {
        const uint8_t* in = &context.scratch[row * rgbaRow];
        uint8_t* to = out + row * stride;
        for (GLsizei i = 0; i < width; i++)
            for (int k = 0; k < count; k++) to[i * count + k] = in[i * 4 + k];
    }
}
