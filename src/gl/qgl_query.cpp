// The values the program reads back: glGetIntegerv and glGetFloatv. With no current context, or a
// name the layer does not know, nothing is written, as GL writes nothing then.
#include <cstring>

#include "gl/qgl_internal.h"

using namespace qgl;

void qglGetIntegerv(GLenum name, GLint* params) {
    if (!current) return;
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
        Diverge(QglUnknownName);
        break;
    }
}

void qglGetFloatv(GLenum name, GLfloat* params) {
    if (!current) return;
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
        Diverge(QglUnknownName);
        break;
    }
}
