// The program's subset of OpenGL 1.1 and GLU, drawn by the layer on OpenGL ES 3.0 (gl_layer.h).
// What it covers:
// - the GL types and the GL 1.1 / GLU constants the program uses, with their standard values;
// - one qgl* function per gl* / glu* call the program makes, and a macro that maps each name
//   onto it, so that the program's drawing code reads as plain GL 1.1.
// Only gl/opengl.h includes this, and only when the build defines QUORVANE_GL_LAYER.
//
// IMPLEMENTED, as Mesa's fixed-function pipeline draws it:
// - glBegin/glEnd of triangles, quads and triangle strips, with the current colour, normal and
//   texture coordinate; glRecti;
// - the modelview and projection stacks (identity, push, pop, translate, rotate, ortho,
//   gluPerspective) and the viewport;
// - texturing of 2D textures with RGB or RGBA bytes (glTexImage2D, gluBuild2DMipmaps with GLU's own
//   filters, glCopyTexSubImage2D), their filters, modulated by the colour;
// - blending, the depth test, function and mask, clears;
// - lighting by the first light switched on, positional, ambient and diffuse, with the current
//   colour as the material (GL_COLOR_MATERIAL);
// - display lists of immediate-mode calls, bitmaps and glCallList, glCallLists of every GL 1.1
//   type but GL_2_BYTES to GL_4_BYTES, glListBase; the raster position and glBitmap, unpacked by
//   the pixel store as it is when the bitmap is given;
// - glReadPixels of RGB or RGBA bytes, packed as the pixel store says;
// - glPushAttrib of GL_CURRENT_BIT, GL_ENABLE_BIT, GL_COLOR_BUFFER_BIT, GL_LIST_BIT,
//   GL_TRANSFORM_BIT and GL_TEXTURE_BIT, glPushClientAttrib of GL_CLIENT_PIXEL_STORE_BIT;
// - glGet of the names defined under "Queries" below.
// KEPT AS STATE ONLY (each raises its flag, gl_layer.h's QglDivergence, once asked for): fog,
// face culling, the alpha test, flat shading, lights after the first, lighting without colour
// material, texture environments other than GL_MODULATE; hints.
// REFUSED (ignored, with a flag): other primitives, formats and types, matrix modes and glGet
// names; what GL 1.1 refuses with GL_INVALID_VALUE or GL_INVALID_ENUM (negative sizes, counts,
// skips and row lengths, alignments other than 1, 2, 4 and 8, list 0); what passes the limits.
// Calls that GL records in a display list, other than immediate mode, bitmaps and list calls, run
// at once while a list is compiled (with a flag). With no current context every call does nothing
// and writes nothing, as in GL; glIsTexture, glGenLists and glGenTextures give 0, gluBuild2DMipmaps
// an error.
//
// RUNS: the triangles drawn between two flushes form one batch, and consecutive triangles drawn
// with the same state byte for byte (program, matrices, light, viewport, bound texture, blending,
// depth test, function and mask) are one draw call. A run opens at glBegin or glBitmap once a
// state call has changed that state: a transform, a switch or a bind between two glBegin splits
// the draws, a colour or texture coordinate does not. Bitmaps draw in runs of their own, in window
// coordinates.
// FLUSH TRIGGERS (the batch is drawn, runs in order): glFlush and glFinish (so the platforms' swap);
// glClear; a change to a texture (glTexParameteri, glTexImage2D, glCopyTexSubImage2D,
// gluBuild2DMipmaps, glDeleteTextures), since draws made before it must see it as it was;
// glReadBuffer and glReadPixels; QglMakeCurrent to another context; glBegin once the batch holds
// more than MaxBatchVertices vertices.
// LIMITS: 32 matrices in each stack, 16 attribute and 16 client attribute records, lists calling
// lists 64 deep (deeper calls do nothing, as in GL), 2^20 vertices in a batch before glBegin
// flushes it, bitmaps of 32767 x 32767 pixels at most.
#pragma once

#include <cstdint>

typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef void GLvoid;
typedef signed char GLbyte;
typedef short GLshort;
typedef int GLint;
typedef int GLsizei;
typedef unsigned char GLubyte;
typedef unsigned short GLushort;
typedef unsigned int GLuint;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;
typedef double GLclampd;

#define GL_FALSE 0
#define GL_TRUE 1
#define GL_ZERO 0
#define GL_ONE 1
#define GL_NO_ERROR 0

// Primitives.
#define GL_TRIANGLES 0x0004
#define GL_TRIANGLE_STRIP 0x0005
#define GL_QUADS 0x0007

// glClear and glPushAttrib / glPushClientAttrib bits.
#define GL_CURRENT_BIT 0x00000001
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_TRANSFORM_BIT 0x00001000
#define GL_ENABLE_BIT 0x00002000
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_LIST_BIT 0x00020000
#define GL_TEXTURE_BIT 0x00040000
#define GL_CLIENT_PIXEL_STORE_BIT 0x00000001

// Switches.
#define GL_CULL_FACE 0x0B44
#define GL_LIGHTING 0x0B50
#define GL_COLOR_MATERIAL 0x0B57
#define GL_FOG 0x0B60
#define GL_DEPTH_TEST 0x0B71
#define GL_ALPHA_TEST 0x0BC0
#define GL_BLEND 0x0BE2
#define GL_TEXTURE_2D 0x0DE1
#define GL_LIGHT0 0x4000
#define GL_LIGHT1 0x4001

// Depth and blend functions.
#define GL_NEVER 0x0200
#define GL_LESS 0x0201
#define GL_EQUAL 0x0202
#define GL_LEQUAL 0x0203
#define GL_GREATER 0x0204
#define GL_NOTEQUAL 0x0205
#define GL_GEQUAL 0x0206
#define GL_ALWAYS 0x0207
#define GL_SRC_COLOR 0x0300
#define GL_ONE_MINUS_SRC_COLOR 0x0301
#define GL_SRC_ALPHA 0x0302
#define GL_ONE_MINUS_SRC_ALPHA 0x0303
#define GL_DST_ALPHA 0x0304
#define GL_ONE_MINUS_DST_ALPHA 0x0305
#define GL_DST_COLOR 0x0306
#define GL_ONE_MINUS_DST_COLOR 0x0307

// Buffers.
#define GL_FRONT 0x0404
#define GL_BACK 0x0405

// Fog, lights and hints.
#define GL_EXP 0x0800
#define GL_EXP2 0x0801
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_FOG_HINT 0x0C54
#define GL_DONT_CARE 0x1100
#define GL_FASTEST 0x1101
#define GL_NICEST 0x1102
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01

// Display lists.
#define GL_COMPILE 0x1300
#define GL_COMPILE_AND_EXECUTE 0x1301

// Data types and pixel formats.
#define GL_BYTE 0x1400
#define GL_UNSIGNED_BYTE 0x1401
#define GL_SHORT 0x1402
#define GL_UNSIGNED_SHORT 0x1403
#define GL_INT 0x1404
#define GL_UNSIGNED_INT 0x1405
#define GL_FLOAT 0x1406
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_RGB8 0x8051
#define GL_RGBA8 0x8058

// Matrices.
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701

// Queries and pixel storage.
#define GL_CURRENT_COLOR 0x0B00
#define GL_CURRENT_RASTER_COLOR 0x0B04
#define GL_CURRENT_RASTER_POSITION 0x0B07
#define GL_CURRENT_RASTER_POSITION_VALID 0x0B08
#define GL_LIST_BASE 0x0B32
#define GL_MATRIX_MODE 0x0BA0
#define GL_VIEWPORT 0x0BA2
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_UNPACK_SWAP_BYTES 0x0CF0
#define GL_UNPACK_LSB_FIRST 0x0CF1
#define GL_UNPACK_ROW_LENGTH 0x0CF2
#define GL_UNPACK_SKIP_ROWS 0x0CF3
#define GL_UNPACK_SKIP_PIXELS 0x0CF4
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_PACK_SWAP_BYTES 0x0D00
#define GL_PACK_LSB_FIRST 0x0D01
#define GL_PACK_ROW_LENGTH 0x0D02
#define GL_PACK_SKIP_ROWS 0x0D03
#define GL_PACK_SKIP_PIXELS 0x0D04
#define GL_PACK_ALIGNMENT 0x0D05
#define GL_MAX_TEXTURE_SIZE 0x0D33
#define GL_TEXTURE_BINDING_2D 0x8069

// Textures.
#define GL_NEAREST 0x2600
#define GL_LINEAR 0x2601
#define GL_NEAREST_MIPMAP_NEAREST 0x2700
#define GL_LINEAR_MIPMAP_NEAREST 0x2701
#define GL_NEAREST_MIPMAP_LINEAR 0x2702
#define GL_LINEAR_MIPMAP_LINEAR 0x2703
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_MODULATE 0x2100
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_TEXTURE_ENV 0x2300

// Immediate mode and current values.
void qglBegin(GLenum mode);
void qglEnd();
void qglVertex3f(GLfloat x, GLfloat y, GLfloat z);
void qglVertex2i(GLint x, GLint y);
void qglNormal3f(GLfloat x, GLfloat y, GLfloat z);
void qglTexCoord2f(GLfloat s, GLfloat t);
void qglColor3f(GLfloat red, GLfloat green, GLfloat blue);
void qglColor3fv(const GLfloat* rgb);
void qglColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void qglColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha);
void qglRecti(GLint x1, GLint y1, GLint x2, GLint y2);

// Matrices and the viewport.
void qglMatrixMode(GLenum mode);
void qglLoadIdentity();
void qglPushMatrix();
void qglPopMatrix();
void qglTranslatef(GLfloat x, GLfloat y, GLfloat z);
void qglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void qglOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar);
void qgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void qglViewport(GLint x, GLint y, GLsizei width, GLsizei height);

// State.
void qglEnable(GLenum cap);
void qglDisable(GLenum cap);
void qglBlendFunc(GLenum source, GLenum destination);
void qglDepthFunc(GLenum func);
void qglDepthMask(GLboolean flag);
void qglClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void qglClearDepth(GLclampd depth);
void qglClear(GLbitfield mask);
void qglShadeModel(GLenum mode);
void qglHint(GLenum target, GLenum mode);
void qglLightfv(GLenum light, GLenum name, const GLfloat* params);
void qglFogi(GLenum name, GLint param);
void qglFogf(GLenum name, GLfloat param);
void qglFogfv(GLenum name, const GLfloat* params);
void qglPushAttrib(GLbitfield mask);
void qglPopAttrib();
void qglPushClientAttrib(GLbitfield mask);
void qglPopClientAttrib();
void qglPixelStorei(GLenum name, GLint param);
void qglGetIntegerv(GLenum name, GLint* params);
void qglGetFloatv(GLenum name, GLfloat* params);
void qglFlush();
void qglFinish();

// Textures.
void qglGenTextures(GLsizei count, GLuint* textures);
void qglDeleteTextures(GLsizei count, const GLuint* textures);
void qglBindTexture(GLenum target, GLuint texture);
GLboolean qglIsTexture(GLuint texture);
void qglTexParameteri(GLenum target, GLenum name, GLint param);
void qglTexEnvi(GLenum target, GLenum name, GLint param);
void qglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const GLvoid* pixels);
void qglCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y,
                          GLsizei width, GLsizei height);
GLint qgluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                         GLenum type, const void* data);

// Display lists.
GLuint qglGenLists(GLsizei range);
void qglNewList(GLuint list, GLenum mode);
void qglEndList();
void qglDeleteLists(GLuint list, GLsizei range);
void qglCallList(GLuint list);
void qglCallLists(GLsizei count, GLenum type, const GLvoid* lists);
void qglListBase(GLuint base);

// Pixels.
void qglRasterPos2f(GLfloat x, GLfloat y);
void qglRasterPos2i(GLint x, GLint y);
void qglBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
               const GLubyte* bitmap);
void qglReadBuffer(GLenum mode);
void qglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   GLvoid* pixels);

#define glBegin qglBegin
#define glEnd qglEnd
#define glVertex3f qglVertex3f
#define glVertex2i qglVertex2i
#define glNormal3f qglNormal3f
#define glTexCoord2f qglTexCoord2f
#define glColor3f qglColor3f
#define glColor3fv qglColor3fv
#define glColor4f qglColor4f
#define glColor4ub qglColor4ub
#define glRecti qglRecti
#define glMatrixMode qglMatrixMode
#define glLoadIdentity qglLoadIdentity
#define glPushMatrix qglPushMatrix
#define glPopMatrix qglPopMatrix
#define glTranslatef qglTranslatef
#define glRotatef qglRotatef
#define glOrtho qglOrtho
#define gluPerspective qgluPerspective
#define glViewport qglViewport
#define glEnable qglEnable
#define glDisable qglDisable
#define glBlendFunc qglBlendFunc
#define glDepthFunc qglDepthFunc
#define glDepthMask qglDepthMask
#define glClearColor qglClearColor
#define glClearDepth qglClearDepth
#define glClear qglClear
#define glShadeModel qglShadeModel
#define glHint qglHint
#define glLightfv qglLightfv
#define glFogi qglFogi
#define glFogf qglFogf
#define glFogfv qglFogfv
#define glPushAttrib qglPushAttrib
#define glPopAttrib qglPopAttrib
#define glPushClientAttrib qglPushClientAttrib
#define glPopClientAttrib qglPopClientAttrib
#define glPixelStorei qglPixelStorei
#define glGetIntegerv qglGetIntegerv
#define glGetFloatv qglGetFloatv
#define glFlush qglFlush
#define glFinish qglFinish
#define glGenTextures qglGenTextures
#define glDeleteTextures qglDeleteTextures
#define glBindTexture qglBindTexture
#define glIsTexture qglIsTexture
#define glTexParameteri qglTexParameteri
#define glTexEnvi qglTexEnvi
#define glTexImage2D qglTexImage2D
#define glCopyTexSubImage2D qglCopyTexSubImage2D
#define gluBuild2DMipmaps qgluBuild2DMipmaps
#define glGenLists qglGenLists
#define glNewList qglNewList
#define glEndList qglEndList
#define glDeleteLists qglDeleteLists
#define glCallList qglCallList
#define glCallLists qglCallLists
#define glListBase qglListBase
#define glRasterPos2f qglRasterPos2f
#define glRasterPos2i qglRasterPos2i
#define glBitmap qglBitmap
#define glReadBuffer qglReadBuffer
#define glReadPixels qglReadPixels
