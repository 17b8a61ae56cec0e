// The program's one way to OpenGL 1.1 and GLU: every file that draws or reads GL state includes
// this header and no other GL header, so that the build can choose what stands behind the names.
// With QUORVANE_GL_LAYER the names are the project's own GL layer on OpenGL ES 3.0 (gl/qgl.h),
// and no system GL header is included at all.
#pragma once

#ifdef QUORVANE_GL_LAYER
#include "gl/qgl.h"
#else

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

#include <GL/gl.h>
#include <GL/glu.h>
#endif
