// The real OpenGL ES 3.0 functions the GL layer loads by name, as one list: the layer declares
// and loads them from it, and a platform that links them statically (the browser's) makes its
// table of names and addresses from it. Include it after a header that declares the GL types.
#pragma once

#include <cstddef>

// X(name, result, parameters), the name without its "gl".
#define QGL_ES_FUNCTIONS(X)                                                                                  \
    X(AttachShader, void, (GLuint, GLuint))                                                                  \
    X(BindAttribLocation, void, (GLuint, GLuint, const char*))                                               \
    X(BindBuffer, void, (GLenum, GLuint))                                                                    \
    X(BindTexture, void, (GLenum, GLuint))                                                                   \
    X(BindVertexArray, void, (GLuint))                                                                       \
    X(BlendFunc, void, (GLenum, GLenum))                                                                     \
    X(BufferData, void, (GLenum, std::ptrdiff_t, const void*, GLenum))                                       \
    X(Clear, void, (GLbitfield))                                                                             \
    X(ClearColor, void, (GLfloat, GLfloat, GLfloat, GLfloat))                                                \
    X(ClearDepthf, void, (GLfloat))                                                                          \
    X(CompileShader, void, (GLuint))                                                                         \
    X(CopyTexSubImage2D, void, (GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei, GLsizei))                \
    X(CreateProgram, GLuint, ())                                                                             \
    X(CreateShader, GLuint, (GLenum))                                                                        \
    X(DeleteBuffers, void, (GLsizei, const GLuint*))                                                         \
    X(DeleteProgram, void, (GLuint))                                                                         \
    X(DeleteShader, void, (GLuint))                                                                          \
    X(DeleteTextures, void, (GLsizei, const GLuint*))                                                        \
    X(DeleteVertexArrays, void, (GLsizei, const GLuint*))                                                    \
    X(DepthFunc, void, (GLenum))                                                                             \
    X(DepthMask, void, (GLboolean))                                                                          \
    X(Disable, void, (GLenum))                                                                               \
    X(DrawElements, void, (GLenum, GLsizei, GLenum, const void*))                                            \
    X(Enable, void, (GLenum))                                                                                \
    X(EnableVertexAttribArray, void, (GLuint))                                                               \
    X(Finish, void, ())                                                                                      \
    X(Flush, void, ())                                                                                       \
    X(GenBuffers, void, (GLsizei, GLuint*))                                                                  \
    X(GenTextures, void, (GLsizei, GLuint*))                                                                 \
    X(GenVertexArrays, void, (GLsizei, GLuint*))                                                             \
    X(GetIntegerv, void, (GLenum, GLint*))                                                                   \
    X(GetProgramInfoLog, void, (GLuint, GLsizei, GLsizei*, char*))                                           \
    X(GetProgramiv, void, (GLuint, GLenum, GLint*))                                                          \
    X(GetShaderInfoLog, void, (GLuint, GLsizei, GLsizei*, char*))                                            \
    X(GetShaderiv, void, (GLuint, GLenum, GLint*))                                                           \
    X(GetUniformLocation, GLint, (GLuint, const char*))                                                      \
    X(LinkProgram, void, (GLuint))                                                                           \
    X(PixelStorei, void, (GLenum, GLint))                                                                    \
    X(ReadBuffer, void, (GLenum))                                                                            \
    X(ReadPixels, void, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*))                             \
    X(ShaderSource, void, (GLuint, GLsizei, const char* const*, const GLint*))                               \
    X(TexImage2D, void, (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*))        \
    X(TexParameteri, void, (GLenum, GLenum, GLint))                                                          \
    X(Uniform4fv, void, (GLint, GLsizei, const GLfloat*))                                                    \
    X(UniformMatrix3fv, void, (GLint, GLsizei, GLboolean, const GLfloat*))                                   \
    X(UniformMatrix4fv, void, (GLint, GLsizei, GLboolean, const GLfloat*))                                   \
    X(UseProgram, void, (GLuint))                                                                            \
    X(VertexAttribPointer, void, (GLuint, GLint, GLenum, GLboolean, GLsizei, const void*))                   \
    X(Viewport, void, (GLint, GLint, GLsizei, GLsizei))
