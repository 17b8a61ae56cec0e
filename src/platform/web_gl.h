// WebGL 2 as the web platform uses it beside the GL layer: the functions the layer loads.
#pragma once

// The address of the ES 3.0 function `name` ("glClear") that the GL layer asks for; null for any
// other name.
void* WebGlFunction(const char* name);
