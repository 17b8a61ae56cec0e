// Message boxes of the SDL platform, shown by a helper process that a signal can end.
//
// SDL's X11 box runs in a child that SDL forks and waits for, and both keep the program's signal
// handling: SIGTERM and SIGINT would end neither, and a killed program would leave its box behind.
// So the box runs in a helper of the program's own instead: the program itself started again
// with a marker argument, in a process group of its own, which dies with the program. The helper
// writes the button pressed to a pipe; the program waits for that answer or for SIGTERM / SIGINT,
// whichever comes first. On a signal it ends the helper's whole group (the helper and SDL's box)
// and the box counts as answered with No, or OK.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct SdlMessageBoxOutcome {
    enum class Kind {
        Answered,    // `button` holds the button pressed
        Interrupted, // SIGTERM or SIGINT arrived while the box was up: it is gone, unanswered
        NotShown,    // no box could be shown, or the helper ended without an answer
        NotStarted,  // the helper process could not be started
    };
    Kind kind = Kind::NotShown;
    int button = 0;
};

// The entry point's first call. In the helper (argv holds the marker) it shows the box, writes
// the answer for the program, sets `exitCode` and returns true: the entry point then returns
// `exitCode` at once. Otherwise it returns false, and from then on boxes run in helpers; where
// the entry point never calls it (tools, tests), SdlShowMessageBox shows boxes in-process.
bool SdlRunMessageBoxHelper(int argc, char** argv, int& exitCode);

// Shows one box and waits for its answer or for a signal. Where no helper can be started, the box
// is shown in-process.
SdlMessageBoxOutcome SdlShowMessageBox(const char* text, const char* caption, uint32_t flags);

// The waiting itself: starts `helper` (argv, null-terminated, argv[0] a path) in a process group of
// its own, with SIGTTOU ignored so that writing to a terminal never stops it in the background,
// and waits for it to end or for SIGTERM / SIGINT. The helper answers with one byte on descriptor
// 3: the button pressed, or 0 when it could show no box. Anything else (no answer, another byte)
// is a box that failed.
SdlMessageBoxOutcome WaitForMessageBoxHelper(const char* const* helper);
