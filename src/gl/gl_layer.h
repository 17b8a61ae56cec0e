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
// missing (what it made by then is deleted again): the platform then has no context to draw with.
QglContext* QglCreateContext(QglProcLoader load);
// The context the program's GL calls now go to; null: none, and every GL call then does nothing,
// as GL does without a current context. Sends what the previous one has batched to its real
// context first, so call it while that real context is still current.
void QglMakeCurrent(QglContext* context);
// Frees the layer context. With `realContextCurrent` the caller has made its real context current
// (lost or not), and the layer first deletes what it made there: its programs, vertex array and
// buffers, and every texture of its table. Without, the real context could not be made current
// and its objects go with it.
void QglDeleteContext(QglContext* context, bool realContextCurrent);

// What the layer was asked to do and does not do as GL 1.1 would, one flag per kind. Each is
// reported on standard error ("GL layer: ...") the first time it is raised.
enum QglDivergence : unsigned {
    QglFogOn = 1u << 0,                        // fog switched on: drawn without fog
    QglCullFaceOn = 1u << 1,                   // face culling switched on: every face drawn
    QglAlphaTestOn = 1u << 2,                  // the alpha test switched on: every fragment drawn
    QglFlatShading = 1u << 3,                  // flat shading: drawn smooth
    QglLightingWithoutColorMaterial = 1u << 4, // lit without GL_COLOR_MATERIAL: the colour is the material
    QglSecondLight = 1u << 5,                  // lit with two lights on or more: the first one only
    QglTextureEnvironment = 1u << 6,           // an environment other than GL_MODULATE: modulated
    QglCallWhileCompiling = 1u << 7,           // a call GL records in a list, run at once
    QglStackOverflow = 1u << 8,                // a matrix or attribute push past the stack's depth
    QglStackUnderflow = 1u << 9,               // a pop of an empty stack
    QglUnknownName = 1u << 10,                 // a glGet, switch or parameter name it does not know
    QglRefusedFormat = 1u << 11,               // a pixel format or type it does not take
    QglRefusedValue = 1u << 12,                // a value or enum GL refuses, or beyond the layer's limits
};
// The flags raised so far, by every layer context; QglClearDivergences lowers them.
unsigned QglDivergences();
void QglClearDivergences();
