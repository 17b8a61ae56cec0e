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
// Where the helper writes its answer, and the byte that says it could not be started.
constexpr int AnswerDescriptor = 3;
constexpr unsigned char NotStartedMark = 0xFF;

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

// In the helper, after the fork: the answer pipe on its descriptor, open across the exec.
bool PutAnswerPipeInPlace(int writeEnd) {
    if (writeEnd == AnswerDescriptor) return fcntl(writeEnd, F_SETFD, 0) == 0;
    return dup2(writeEnd, AnswerDescriptor) == AnswerDescriptor;
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
    unsigned char answer = 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        answer = static_cast<unsigned char>(
            ShowWithSdl(argv[4], argv[3], static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10))));
        SDL_Quit();
    }
    exitCode = write(AnswerDescriptor, &answer, 1) == 1 ? 0 : 1;
    return true;
}

SdlMessageBoxOutcome SdlShowMessageBox(const char* text, const char* caption, uint32_t flags) {
    SdlMessageBoxOutcome outcome;
    if (helperAvailable && OpenSignalPipe()) {
        std::string flagText = std::to_string(flags);
        const char* helper[] = {"/proc/self/exe", HelperMarker, flagText.c_str(), caption, text, nullptr};
        outcome = WaitForMessageBoxHelper(helper);
        if (outcome.kind != SdlMessageBoxOutcome::Kind::NotStarted) return outcome;
    }
    // No helper: a box in this process still tells the user, though a signal cannot end it.
    outcome.button = ShowWithSdl(text, caption, flags);
    outcome.kind =
        outcome.button > 0 ? SdlMessageBoxOutcome::Kind::Answered : SdlMessageBoxOutcome::Kind::NotShown;
    return outcome;
}

SdlMessageBoxOutcome WaitForMessageBoxHelper(const char* const* helper) {
    using Kind = SdlMessageBoxOutcome::Kind;
    SdlMessageBoxOutcome outcome;
    outcome.kind = Kind::NotStarted;
    int answerPipe[2];
    if (!OpenSignalPipe() || pipe2(answerPipe, O_CLOEXEC | O_NONBLOCK) != 0) return outcome;
    DrainSignals();
    pid_t parent = getpid();

    // SDL's handlers turn SIGTERM / SIGINT into its quit event, which nobody reads while the box
    // is up: ours note them where the wait below sees them, whichever thread they reach.
    struct sigaction noting {
    }, oldTerm{}, oldInt{};
    noting.sa_handler = NoteSignal;
    sigemptyset(&noting.sa_mask);
    sigaction(SIGTERM, &noting, &oldTerm);
    sigaction(SIGINT, &noting, &oldInt);

    // Everything the child needs is made before the fork: after it, only async-signal-safe calls.
    pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0); // Ctrl+C in a terminal reaches the program, which ends the helper itself
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(0);
        // A background group that writes to a terminal set to `tostop` would be stopped, and the
        // program would wait for an answer that never comes.
        signal(SIGTTOU, SIG_IGN);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (PutAnswerPipeInPlace(answerPipe[1])) execv(helper[0], const_cast<char* const*>(helper));
        unsigned char mark = NotStartedMark;
        ssize_t written = write(answerPipe[1], &mark, 1);
        (void)written;
        _exit(127);
    }
    close(answerPipe[1]);
    bool interrupted = false;
    if (child > 0) {
        setpgid(child, child);
        for (;;) {
            int status = 0;
            pid_t done = waitpid(child, &status, WNOHANG);
            if (done == child || (done < 0 && errno != EINTR)) break;
            pollfd readable{signalPipe[0], POLLIN, 0};
            if (poll(&readable, 1, PollMilliseconds) > 0 && DrainSignals()) {
                interrupted = true;
                kill(-child, SIGKILL);
                while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
                }
                break;
            }
        }
    }
    unsigned char answer = 0;
    bool answered = read(answerPipe[0], &answer, 1) == 1;
    close(answerPipe[0]);
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGINT, &oldInt, nullptr);
    // A signal that came after the helper had ended, but before the handlers were back, is no less
    // a request to close.
    if (DrainSignals()) interrupted = true;

    if (child < 0) {
        outcome.kind = Kind::NotStarted;
    } else if (interrupted) {
        outcome.kind = Kind::Interrupted;
    } else if (answered && (answer == IDOK || answer == IDYES || answer == IDNO)) {
        outcome.kind = Kind::Answered;
        outcome.button = answer;
    } else if (answered && answer == NotStartedMark) {
        outcome.kind = Kind::NotStarted;
    } else {
        outcome.kind = Kind::NotShown;
    }
    return outcome;
}
