// windows.h for the Win32 files only. It defines macros for many names that the platform
// interface shares with the Windows API (CreateWindow, MessageBox, WM_SIZE, MB_OK, VK_F1, ...);
// they are undefined here, so the interface's own declarations and constants (with the same
// values) stay usable, and the Win32 files call the explicit ...A functions.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// Functions the interface names after their Windows counterparts.
#undef CreateWindow
#undef MessageBox
#undef PeekMessage
#undef RegisterClass
#undef UnregisterClass
#undef GetModuleHandle
#undef DispatchMessage
#undef DefWindowProc

// Constants the interface defines itself.
#undef WM_SIZE
#undef WM_ACTIVATE
#undef WM_CLOSE
#undef WM_QUIT
#undef WM_KEYDOWN
#undef WM_KEYUP
#undef WM_SYSKEYDOWN
#undef WM_SYSKEYUP
#undef WM_SYSCOMMAND
#undef WM_MOUSEMOVE
#undef WM_LBUTTONDOWN
#undef WM_LBUTTONUP
#undef WM_RBUTTONDOWN
#undef WM_RBUTTONUP
#undef WM_MBUTTONDOWN
#undef WM_MBUTTONUP
#undef SC_SCREENSAVE
#undef SC_MONITORPOWER
#undef SIZE_RESTORED
#undef SIZE_MINIMIZED
#undef SIZE_MAXIMIZED
#undef WA_INACTIVE
#undef WA_ACTIVE
#undef MK_LBUTTON
#undef MK_RBUTTON
#undef MK_SHIFT
#undef MK_CONTROL
#undef MK_MBUTTON
#undef CS_VREDRAW
#undef CS_HREDRAW
#undef CS_OWNDC
#undef WS_OVERLAPPEDWINDOW
#undef WS_POPUP
#undef WS_CLIPSIBLINGS
#undef WS_CLIPCHILDREN
#undef WS_EX_WINDOWEDGE
#undef WS_EX_APPWINDOW
#undef PFD_DOUBLEBUFFER
#undef PFD_DRAW_TO_WINDOW
#undef PFD_SUPPORT_OPENGL
#undef MB_OK
#undef MB_YESNO
#undef MB_ICONSTOP
#undef MB_ICONEXCLAMATION
#undef MB_ICONINFORMATION
#undef IDOK
#undef IDYES
#undef IDNO
#undef VK_BACK
#undef VK_TAB
#undef VK_CLEAR
#undef VK_RETURN
#undef VK_SHIFT
#undef VK_CONTROL
#undef VK_MENU
#undef VK_PAUSE
#undef VK_CAPITAL
#undef VK_ESCAPE
#undef VK_SPACE
#undef VK_PRIOR
#undef VK_NEXT
#undef VK_END
#undef VK_HOME
#undef VK_LEFT
#undef VK_UP
#undef VK_RIGHT
#undef VK_DOWN
#undef VK_SNAPSHOT
#undef VK_INSERT
#undef VK_DELETE
#undef VK_NUMPAD0
#undef VK_NUMPAD1
#undef VK_NUMPAD2
#undef VK_NUMPAD3
#undef VK_NUMPAD4
#undef VK_NUMPAD5
#undef VK_NUMPAD6
#undef VK_NUMPAD7
#undef VK_NUMPAD8
#undef VK_NUMPAD9
#undef VK_MULTIPLY
#undef VK_ADD
#undef VK_SUBTRACT
#undef VK_DECIMAL
#undef VK_DIVIDE
#undef VK_F1
#undef VK_F10
#undef VK_F12
#undef VK_NUMLOCK
#undef VK_SCROLL
