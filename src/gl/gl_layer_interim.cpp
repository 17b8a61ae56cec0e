// INTERIM stand-in for the GL 1.1 layer (see gl_layer.h): clears, viewport and read-back on the
// real context; every other call is accepted and does nothing.
#include "gl/gl_layer.h"

#include <cstdlib>
#include <cstring>
#include <vector>

struct QglContext {
    void (*clearColor)(GLfloat, GLfloat, GLfloat, GLfloat) = nullptr;
    void (*clear)(GLbitfield) = nullptr;
    void (*viewport)(GLint, GLint, GLsizei, GLsizei) = nullptr;
    void (*readPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) = nullptr;
    void (*flush)() = nullptr;
    void (*finish)() = nullptr;
    GLint viewportBox[4] = {0, 0, 640, 480};
    GLuint nextName = 1;
};

namespace {
QglContext* current = nullptr;
}

QglContext* QglCreateContext(QglProcLoader load) {
    QglContext* c = new QglContext;
    c->clearColor = reinterpret_cast<decltype(c->clearColor)>(load("glClearColor"));
    c->clear = reinterpret_cast<decltype(c->clear)>(load("glClear"));
    c->viewport = reinterpret_cast<decltype(c->viewport)>(load("glViewport"));
    c->readPixels = reinterpret_cast<decltype(c->readPixels)>(load("glReadPixels"));
    c->flush = reinterpret_cast<decltype(c->flush)>(load("glFlush"));
    c->finish = reinterpret_cast<decltype(c->finish)>(load("glFinish"));
    if (!c->clearColor || !c->clear || !c->viewport || !c->readPixels || !c->flush || !c->finish) {
        delete c;
        return nullptr;
    }
    return c;
}

void QglMakeCurrent(QglContext* context) {
    current = context;
}

void QglDeleteContext(QglContext* context) {
    if (current == context) current = nullptr;
    delete context;
}


void qglBegin(GLenum mode) {
    (void)mode;
}

void qglBindTexture(GLenum target, GLuint texture) {
    (void)target; (void)texture;
}

void qglBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove, const GLubyte *bitmap) {
    (void)width; (void)height; (void)xorig; (void)yorig; (void)xmove; (void)ymove; (void)bitmap;
}

void qglBlendFunc(GLenum sfactor, GLenum dfactor) {
    (void)sfactor; (void)dfactor;
}

void qglCallList(GLuint list) {
    (void)list;
}

void qglCallLists(GLsizei n, GLenum type, const GLvoid *lists) {
    (void)n; (void)type; (void)lists;
}

void qglClear(GLbitfield mask) {
    if (current) current->clear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void qglClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    if (current) current->clearColor(red, green, blue, alpha);
}

void qglClearDepth(GLclampd depth) {
    (void)depth;
}

void qglColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    (void)red; (void)green; (void)blue;
}

void qglColor3fv(const GLfloat *v) {
    (void)v;
}

void qglColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    (void)red; (void)green; (void)blue; (void)alpha;
}

void qglColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha) {
    (void)red; (void)green; (void)blue; (void)alpha;
}

void qglCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y, GLsizei width, GLsizei height) {
    (void)target; (void)level; (void)xoffset; (void)yoffset; (void)x; (void)y; (void)width; (void)height;
}

void qglDeleteLists(GLuint list, GLsizei range) {
    (void)list; (void)range;
}

void qglDepthFunc(GLenum func) {
    (void)func;
}

void qglDepthMask(GLboolean flag) {
    (void)flag;
}

void qglDisable(GLenum cap) {
    (void)cap;
}

void qglEnable(GLenum cap) {
    (void)cap;
}

void qglEnd(void) {
    
}

void qglEndList(void) {
    
}

void qglFinish(void) {
    if (current) current->finish();
}

void qglFlush(void) {
    if (current) current->flush();
}

void qglFogf(GLenum pname, GLfloat param) {
    (void)pname; (void)param;
}

void qglFogfv(GLenum pname, const GLfloat *params) {
    (void)pname; (void)params;
}

void qglFogi(GLenum pname, GLint param) {
    (void)pname; (void)param;
}

GLuint qglGenLists(GLsizei range) {
    if (!current) return 0;
    GLuint first = current->nextName;
    current->nextName += static_cast<GLuint>(range);
    return first;
}

void qglGenTextures(GLsizei n, GLuint *textures) {
    for (GLsizei i = 0; i < n; i++) textures[i] = current ? current->nextName++ : 0;
}

void qglGetFloatv(GLenum pname, GLfloat *params) {
    (void)pname;
    std::memset(params, 0, 4 * sizeof(GLfloat));
}

void qglGetIntegerv(GLenum pname, GLint *params) {
    if (pname == GL_VIEWPORT && current) std::memcpy(params, current->viewportBox, sizeof current->viewportBox);
    else if (pname == GL_MAX_TEXTURE_SIZE) *params = 2048;
    else if (pname == GL_UNPACK_ALIGNMENT) *params = 4;
    else *params = 0;
}

void qglHint(GLenum target, GLenum mode) {
    (void)target; (void)mode;
}

GLboolean qglIsTexture(GLuint texture) {
    return texture != 0 && current && texture < current->nextName;
}

void qglLightfv(GLenum light, GLenum pname, const GLfloat *params) {
    (void)light; (void)pname; (void)params;
}

void qglListBase(GLuint base) {
    (void)base;
}

void qglLoadIdentity(void) {
    
}

void qglMatrixMode(GLenum mode) {
    (void)mode;
}

void qglNewList(GLuint list, GLenum mode) {
    (void)list; (void)mode;
}

void qglNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) {
    (void)nx; (void)ny; (void)nz;
}

void qglOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val, GLdouble far_val) {
    (void)left; (void)right; (void)bottom; (void)top; (void)near_val; (void)far_val;
}

void qglPixelStorei(GLenum pname, GLint param) {
    (void)pname; (void)param;
}

void qglPopAttrib(void) {
    
}

void qglPopClientAttrib(void) {
    
}

void qglPopMatrix(void) {
    
}

void qglPushAttrib(GLbitfield mask) {
    (void)mask;
}

void qglPushClientAttrib(GLbitfield mask) {
    (void)mask;
}

void qglPushMatrix(void) {
    
}

void qglRasterPos2f(GLfloat x, GLfloat y) {
    (void)x; (void)y;
}

void qglRasterPos2i(GLint x, GLint y) {
    (void)x; (void)y;
}

void qglReadBuffer(GLenum mode) {
    (void)mode;
}

void qglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid *pixels) {
    if (!current || format != GL_RGB || type != GL_UNSIGNED_BYTE || width <= 0 || height <= 0) return;
    std::vector<GLubyte> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    current->readPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    GLubyte* out = static_cast<GLubyte*>(pixels);
    for (size_t i = 0; i < rgba.size() / 4; i++) std::memcpy(out + i * 3, &rgba[i * 4], 3);
}

void qglRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
    (void)x1; (void)y1; (void)x2; (void)y2;
}

void qglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    (void)angle; (void)x; (void)y; (void)z;
}

void qglShadeModel(GLenum mode) {
    (void)mode;
}

void qglTexCoord2f(GLfloat s, GLfloat t) {
    (void)s; (void)t;
}

void qglTexEnvi(GLenum target, GLenum pname, GLint param) {
    (void)target; (void)pname; (void)param;
}

void qglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid *pixels) {
    (void)target; (void)level; (void)internalFormat; (void)width; (void)height; (void)border; (void)format; (void)type; (void)pixels;
}

void qglTexParameteri(GLenum target, GLenum pname, GLint param) {
    (void)target; (void)pname; (void)param;
}

void qglTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    (void)x; (void)y; (void)z;
}

void qglVertex2i(GLint x, GLint y) {
    (void)x; (void)y;
}

void qglVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    (void)x; (void)y; (void)z;
}

void qglViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (!current) return;
    current->viewport(x, y, width, height);
    GLint box[4] = {x, y, width, height};
    std::memcpy(current->viewportBox, box, sizeof box);
}

GLint qgluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type, const void *data) {
    (void)target; (void)internalFormat; (void)width; (void)height; (void)format; (void)type; (void)data; return 0;
}

void qgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    (void)fovy; (void)aspect; (void)zNear; (void)zFar;
}
