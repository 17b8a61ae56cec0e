// The GL 1.1 layer's interface, as the browser platform calls it, and the routing of the
// program's gl* names onto the layer. INTERIM: stands in for the layer of its own branch until
// that lands, drawing only clears and reading back pixels; everything else is accepted and ignored.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

using QglProcLoader = void* (*)(const char* name);
struct QglContext;
// The real (WebGL 2 / GLES 3.0) context is current; null when it cannot run the layer.
QglContext* QglCreateContext(QglProcLoader load);
// Null: none current.
void QglMakeCurrent(QglContext* context);
void QglDeleteContext(QglContext* context);

void qglBegin(GLenum mode);
#define glBegin qglBegin
void qglBindTexture(GLenum target, GLuint texture);
#define glBindTexture qglBindTexture
void qglBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove, const GLubyte *bitmap);
#define glBitmap qglBitmap
void qglBlendFunc(GLenum sfactor, GLenum dfactor);
#define glBlendFunc qglBlendFunc
void qglCallList(GLuint list);
#define glCallList qglCallList
void qglCallLists(GLsizei n, GLenum type, const GLvoid *lists);
#define glCallLists qglCallLists
void qglClear(GLbitfield mask);
#define glClear qglClear
void qglClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
#define glClearColor qglClearColor
void qglClearDepth(GLclampd depth);
#define glClearDepth qglClearDepth
void qglColor3f(GLfloat red, GLfloat green, GLfloat blue);
#define glColor3f qglColor3f
void qglColor3fv(const GLfloat *v);
#define glColor3fv qglColor3fv
void qglColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
#define glColor4f qglColor4f
void qglColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha);
#define glColor4ub qglColor4ub
void qglCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y, GLsizei width, GLsizei height);
#define glCopyTexSubImage2D qglCopyTexSubImage2D
void qglDeleteLists(GLuint list, GLsizei range);
#define glDeleteLists qglDeleteLists
void qglDepthFunc(GLenum func);
#define glDepthFunc qglDepthFunc
void qglDepthMask(GLboolean flag);
#define glDepthMask qglDepthMask
void qglDisable(GLenum cap);
#define glDisable qglDisable
void qglEnable(GLenum cap);
#define glEnable qglEnable
void qglEnd(void);
#define glEnd qglEnd
void qglEndList(void);
#define glEndList qglEndList
void qglFinish(void);
#define glFinish qglFinish
void qglFlush(void);
#define glFlush qglFlush
void qglFogf(GLenum pname, GLfloat param);
#define glFogf qglFogf
void qglFogfv(GLenum pname, const GLfloat *params);
#define glFogfv qglFogfv
void qglFogi(GLenum pname, GLint param);
#define glFogi qglFogi
GLuint qglGenLists(GLsizei range);
#define glGenLists qglGenLists
void qglGenTextures(GLsizei n, GLuint *textures);
#define glGenTextures qglGenTextures
void qglGetFloatv(GLenum pname, GLfloat *params);
#define glGetFloatv qglGetFloatv
void qglGetIntegerv(GLenum pname, GLint *params);
#define glGetIntegerv qglGetIntegerv
void qglHint(GLenum target, GLenum mode);
#define glHint qglHint
GLboolean qglIsTexture(GLuint texture);
#define glIsTexture qglIsTexture
void qglLightfv(GLenum light, GLenum pname, const GLfloat *params);
#define glLightfv qglLightfv
void qglListBase(GLuint base);
#define glListBase qglListBase
void qglLoadIdentity(void);
#define glLoadIdentity qglLoadIdentity
void qglMatrixMode(GLenum mode);
#define glMatrixMode qglMatrixMode
void qglNewList(GLuint list, GLenum mode);
#define glNewList qglNewList
void qglNormal3f(GLfloat nx, GLfloat ny, GLfloat nz);
#define glNormal3f qglNormal3f
void qglOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val, GLdouble far_val);
#define glOrtho qglOrtho
void qglPixelStorei(GLenum pname, GLint param);
#define glPixelStorei qglPixelStorei
void qglPopAttrib(void);
#define glPopAttrib qglPopAttrib
void qglPopClientAttrib(void);
#define glPopClientAttrib qglPopClientAttrib
void qglPopMatrix(void);
#define glPopMatrix qglPopMatrix
void qglPushAttrib(GLbitfield mask);
#define glPushAttrib qglPushAttrib
void qglPushClientAttrib(GLbitfield mask);
#define glPushClientAttrib qglPushClientAttrib
void qglPushMatrix(void);
#define glPushMatrix qglPushMatrix
void qglRasterPos2f(GLfloat x, GLfloat y);
#define glRasterPos2f qglRasterPos2f
void qglRasterPos2i(GLint x, GLint y);
#define glRasterPos2i qglRasterPos2i
void qglReadBuffer(GLenum mode);
#define glReadBuffer qglReadBuffer
void qglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid *pixels);
#define glReadPixels qglReadPixels
void qglRecti(GLint x1, GLint y1, GLint x2, GLint y2);
#define glRecti qglRecti
void qglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
#define glRotatef qglRotatef
void qglShadeModel(GLenum mode);
#define glShadeModel qglShadeModel
void qglTexCoord2f(GLfloat s, GLfloat t);
#define glTexCoord2f qglTexCoord2f
void qglTexEnvi(GLenum target, GLenum pname, GLint param);
#define glTexEnvi qglTexEnvi
void qglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid *pixels);
#define glTexImage2D qglTexImage2D
void qglTexParameteri(GLenum target, GLenum pname, GLint param);
#define glTexParameteri qglTexParameteri
void qglTranslatef(GLfloat x, GLfloat y, GLfloat z);
#define glTranslatef qglTranslatef
void qglVertex2i(GLint x, GLint y);
#define glVertex2i qglVertex2i
void qglVertex3f(GLfloat x, GLfloat y, GLfloat z);
#define glVertex3f qglVertex3f
void qglViewport(GLint x, GLint y, GLsizei width, GLsizei height);
#define glViewport qglViewport
GLint qgluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type, const void *data);
#define gluBuild2DMipmaps qgluBuild2DMipmaps
void qgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
#define gluPerspective qgluPerspective
