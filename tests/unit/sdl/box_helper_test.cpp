// How the program reads the answer of a message box's helper process, with small shell scripts
// standing in for the helper: only the answer it writes counts, a signal that comes while the box
// is up is the user's close however late it comes, a helper that writes to a terminal in the
// background is not stopped, and a helper that cannot start is told apart from a failed box.
#include <gtest/gtest.h>

#include "platform/sdl_message_box.h"

namespace {

using Kind = SdlMessageBoxOutcome::Kind;

TEST(BoxHelper, OnlyTheHelpersWrittenAnswerCounts) {
    const struct {
        const char* name;
        const char* program;
        const char* script;
        Kind kind;
        int button;
    } rows[] = {
        {"answers Yes", "/bin/sh", "printf '\\006' >&3", Kind::Answered, 6},
        {"finds no display", "/bin/sh", "printf '\\000' >&3", Kind::NotShown, 0},
        // An exit status is no answer: 1, 6 and 7 would read as OK, Yes and No.
        {"exits with status 1", "/bin/sh", "exit 1", Kind::NotShown, 0},
        {"exits with status 6", "/bin/sh", "exit 6", Kind::NotShown, 0},
        // SIGTERM just before the helper answers and ends: the program still closes.
        {"is signalled as it answers", "/bin/sh", "kill -TERM $PPID; printf '\\007' >&3", Kind::Interrupted,
         0},
        // Writing to a terminal from a background group stops nothing when SIGTTOU is ignored.
        {"gets SIGTTOU", "/bin/sh", "kill -TTOU $$; printf '\\007' >&3", Kind::Answered, 7},
        {"cannot start", "/nonexistent/quorvane-helper", "", Kind::NotStarted, 0},
    };
    for (const auto& row : rows) {
        const char* helper[] = {row.program, "-c", row.script, nullptr};
        for (int round = 0; round < 5; round++) {
            SdlMessageBoxOutcome outcome = WaitForMessageBoxHelper(helper);
            EXPECT_EQ(outcome.kind, row.kind) << row.name;
            EXPECT_EQ(outcome.button, row.button) << row.name;
        }
    }
}

} // namespace
