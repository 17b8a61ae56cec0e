#include "platform/sdl_message_box.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char HelperMarker[] = "--quorvane-message-box";
// How often the wait looks whether the helper has ended, at the latest.
constexpr int PollMilliseconds = 20;

bool helperAvailable = false; // the entry point hands helper runs to SdlRunMessageBoxHelper
int signalPipe[2] = {-1, -1}; // SIGTERM / SIGINT while a box is up, as one byte each

// The box itself, with SDL's own implementation, in the calling process.
int ShowWithSdl(const char* text, const char* caption, uint32_t flags) {
    bool yesNo = (flags & 0xF) == MB_YESNO;
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"},
    };
    SDL_MessageBoxData data{};
    uint32_t icon = flags & 0xF0;
    data.flags = icon == MB_ICONSTOP          ? SDL_MESSAGEBOX_ERROR
                 : icon == MB_ICONEXCLAMATION ? SDL_MESSAGEBOX_WARNING
                 : icon == MB_ICONINFORMATION ? SDL_MESSAGEBOX_INFORMATION
                                              : 0;
    data.title = caption;
    data.message = text;
    data.numbuttons = yesNo ? 2 : 1;
    data.buttons = yesNo ? yesNoButtons : okButton;
    int pressed = 0;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed <= 0) return 0;
    return pressed;
}

void NoteSignal(int signal) {
    int saved = errno;
    char byte = static_cast<char>(signal);
    ssize_t written = write(signalPipe[1], &byte, 1);
    (void)written; // a full pipe already says that a signal came
    errno = saved;
}

// In the helper: a signal, or the program's death (PR_SET_PDEATHSIG), ends the whole group, the
// box that SDL forked included.
void EndGroup(int) {
    kill(0, SIGKILL);
}

bool OpenSignalPipe() {
    if (signalPipe[0] >= 0) return true;
    return pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0;
}

// Reads what the handlers wrote; true when SIGTERM or SIGINT was among it.
bool DrainSignals() {
    bool seen = false;
    char bytes[16];
    ssize_t n;
    while ((n = read(signalPipe[0], bytes, sizeof bytes)) > 0) seen = true;
    return seen;
}

} // namespace

bool SdlRunMessageBoxHelper(int argc, char** argv, int& exitCode) {
    if (argc != 5 || std::strcmp(argv[1], HelperMarker) != 0) {
        helperAvailable = true;
        return false;
    }
    struct sigaction action {};
    action.sa_handler = EndGroup;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&unblock, signal);
    sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    // With its video started SDL shows the box with the window system's own implementation; without
    // it SDL may try other ways first (zenity) and give up.
    SDL_SetMainReady();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return exitCode = 0, true;
    exitCode = ShowWithSdl(argv[4], argv[3], static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    SDL_Quit();
    return true;
}

SdlMessageBoxOutcome SdlShowMessageBox(const char* text, const char* caption, uint32_t flags) {
    SdlMessageBoxOutcome outcome;
    if (!helperAvailable || !OpenSignalPipe()) {
        outcome.button = ShowWithSdl(text, caption, flags);
        outcome.kind =
            outcome.button > 0 ? SdlMessageBoxOutcome::Kind::Answered : SdlMessageBoxOutcome::Kind::NotShown;
        return outcome;
    }
    DrainSignals();

    // Everything the child needs is made before the fork: after it, only async-signal-safe calls.
    std::string flagText = std::to_string(flags);
    const char* args[] = {"/proc/self/exe", HelperMarker, flagText.c_str(), caption, text, nullptr};
    pid_t parent = getpid();

    // SDL's handlers turn SIGTERM / SIGINT into its quit event, which nobody reads while the box
    // is up: ours note them where the wait below sees them, whichever thread they reach.
    struct sigaction noting {
    }, oldTerm{}, oldInt{};
    noting.sa_handler = NoteSignal;
    sigemptyset(&noting.sa_mask);
    sigaction(SIGTERM, &noting, &oldTerm);
    sigaction(SIGINT, &noting, &oldInt);

    pid_t helper = fork();
    if (helper == 0) {
        setpgid(0, 0); // Ctrl+C in a terminal reaches the program, which ends the helper itself
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(0);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execv(args[0], const_cast<char* const*>(args));
        _exit(127);
    }
    if (helper > 0) {
        setpgid(helper, helper);
        bool interrupted = false;
        int status = 0;
        for (;;) {
            pid_t done = waitpid(helper, &status, WNOHANG);
            if (done == helper || (done < 0 && errno != EINTR)) break;
            pollfd readable{signalPipe[0], POLLIN, 0};
            if (poll(&readable, 1, PollMilliseconds) > 0 && DrainSignals()) {
                interrupted = true;
                kill(-helper, SIGKILL);
                while (waitpid(helper, &status, 0) < 0 && errno == EINTR) {
                }
                break;
            }
        }
        int code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
        if (interrupted) {
            outcome.kind = SdlMessageBoxOutcome::Kind::Interrupted;
        } else if (code == IDOK || code == IDYES || code == IDNO) {
            outcome.kind = SdlMessageBoxOutcome::Kind::Answered;
            outcome.button = code;
        }
    }
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGINT, &oldInt, nullptr);
    return outcome;
}
