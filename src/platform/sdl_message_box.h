// Message boxes of the SDL platform, shown by a helper process that a signal can end.
//
// SDL's X11 box runs in a child that SDL forks and waits for, and both keep the program's signal
// handling: SIGTERM and SIGINT would end neither, and a killed program would leave its box behind.
// So the box runs in a helper of the program's own instead: the program itself started again
// with a marker argument, in a process group of its own, which dies with the program. The program
// waits for the helper's answer or for SIGTERM / SIGINT, whichever comes first; on a signal it
// ends the helper's whole group (the helper and SDL's box) and the box counts as answered with
// No, or OK.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct SdlMessageBoxOutcome {
    enum class Kind {
        Answered,    // `button` holds the button pressed
        Interrupted, // SIGTERM or SIGINT arrived while the box was up: it is gone, unanswered
        NotShown,    // no box could be shown
    };
    Kind kind = Kind::NotShown;
    int button = 0;
};

// The entry point's first call. In the helper (argv holds the marker) it shows the box, sets
// `exitCode` to the button pressed (0: none) and returns true: the entry point then returns
// `exitCode` at once. Otherwise it returns false, and from then on boxes run in helpers; where
// the entry point never calls it (tools, tests), SdlShowMessageBox shows boxes in-process.
bool SdlRunMessageBoxHelper(int argc, char** argv, int& exitCode);

// Shows one box and waits for its answer or for a signal.
SdlMessageBoxOutcome SdlShowMessageBox(const char* text, const char* caption, uint32_t flags);
