// The program's one way to OpenGL 1.1 and GLU: every file that draws or reads GL state includes
// this header and no other GL header, so that the build can choose what stands behind the names.
#pragma once

#ifdef _WIN32
// Windows' GL headers want two macros of windows.h. They are defined here with windows.h's own
// values (so windows.h, where a Win32 file includes it, redefines them without a warning), and
// windows.h itself, with its macros for names the platform interface shares, stays in the Win32
// files.
#ifndef WINAPI
#define WINAPI __stdcall
#endif
#ifndef APIENTRY
#define APIENTRY WINAPI
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#ifndef DECLSPEC_IMPORT
#define DECLSPEC_IMPORT __declspec(dllimport)
#endif
#ifndef WINGDIAPI
#define WINGDIAPI DECLSPEC_IMPORT
#endif
#endif

#ifdef QUORVANE_GL_LAYER
// The program's gl* and glu* names go to the GL 1.1 layer (the browser build).
#include "gl/gl_layer.h"
#else
#include <GL/gl.h>
#include <GL/glu.h>
#endif
