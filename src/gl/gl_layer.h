// The GL layer as a platform sees it: a layer context made over a real OpenGL ES 3.0 (or WebGL 2)
// context, made current and deleted with it. The program's textures, display lists and batched
// vertices belong to the layer context, as GL objects belong to a rendering context.
#pragma once

// Finds a real GL ES function by name (SDL_GL_GetProcAddress natively).
using QglProcLoader = void* (*)(const char* name);

struct QglContext;

// For a platform whose real depth buffer keeps more bits than its pixel format asked for (a probe
// in web_gl.cpp finds out): layer contexts made after this call round each fragment's depth to
// steps of a `bits`-deep buffer, as that buffer would store it, so that depths that tie there tie
// here. 0, as before any call: the real buffer's own depth.
void QglRoundDepth(int bits);

// Made while the real context is current. Null when a function or a shader the layer needs is
// missing: the platform then has no context to draw with.
QglContext* QglCreateContext(QglProcLoader load);
// The context the program's GL calls now go to; null: none. Sends what the previous one has
// batched to its real context first, so call it while that real context is still current.
void QglMakeCurrent(QglContext* context);
// Frees the layer's own memory and makes no GL call: the real context's objects go with the real
// context, which may already be gone or no longer current.
void QglDeleteContext(QglContext* context);
