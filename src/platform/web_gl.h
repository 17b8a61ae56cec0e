// WebGL 2 as the web platform uses it beside the GL layer: the functions the layer loads, and the
// drawing buffer the frames are drawn into.
#pragma once

#include <cstdint>

// The address of the ES 3.0 function `name` ("glClear") that the GL layer asks for; null for any
// other name.
void* WebGlFunction(const char* name);

// A framebuffer object standing for the window's back buffer. WebGL's own drawing buffer takes no
// depth size, only "a depth buffer or not", and Chromium's has 24 bits. The program's pixel format
// asks for 16, which the desktop gives exactly: star sprites less than a 16-bit step apart then
// tie in the depth test, and the later one is drawn over the earlier. With 24 bits they do not,
// and whole sprites differ from the desktop's frames.
struct WebDrawingBuffer {
    uint32_t framebuffer = 0;
    uint32_t color = 0;        // a renderbuffer
    uint32_t depth = 0;        // a renderbuffer,
    uint32_t depthTexture = 0; // or a texture where a renderbuffer does not keep ties (Firefox)
};

// Made and bound in the current context, `depthBits` deep (none for 0); false when WebGL refuses.
// An engine may keep more bits than asked for: a probe finds out whether depths less than a step
// apart tie, in a depth renderbuffer, then in a depth texture; where neither does, the layer
// contexts made next round each fragment's depth to the buffer's steps in their shaders
// (QglRoundDepth), at a cost.
bool CreateDrawingBuffer(int width, int height, int depthBits, WebDrawingBuffer& buffer);
// Deletes the framebuffer and its renderbuffers in the current context, which must be the one they
// were made in (lost or not): the browser's GL glue keeps every name until it is deleted.
void DeleteDrawingBuffer(WebDrawingBuffer& buffer);
// Copies the frame to the canvas's drawing buffer, which the browser presents once the page
// yields; the drawing buffer stays bound for the next frame.
void PresentDrawingBuffer(const WebDrawingBuffer& buffer, int width, int height);
