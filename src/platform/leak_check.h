// The leak check of a sanitizer build, run when the program chooses.
#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVANE_LEAK_CHECK 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(QUORVANE_LEAK_CHECK)
#define QUORVANE_LEAK_CHECK 1
#endif
#ifdef QUORVANE_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

// Under LeakSanitizer: the process's leak check, now instead of at exit. A program calls it just
// before it unloads the GL driver (SDL's video ends), while the driver is still loaded: blocks that
// only the driver's data still pointed to would afterwards be reported with no module to name.
// Without LeakSanitizer it does nothing.
inline void CheckLeaksNow() {
#ifdef QUORVANE_LEAK_CHECK
    __lsan_do_leak_check();
#endif
}
