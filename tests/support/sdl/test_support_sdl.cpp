// The test support that differs by platform, for the SDL build on POSIX systems.
#include "support/test_support.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#define SDL_MAIN_HANDLED
#include <SDL2/SDL.h>

#include "platform/sdl_platform.h"

extern char** environ;

void StartRealPlatform() {
    static bool started = false;
    if (started) return;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    std::string error;
    if (!SdlPlatform::StartVideo(true, error)) {
        std::fprintf(stderr, "offscreen video: %s\n", error.c_str());
        std::abort();
    }
    started = true;
}

bool RunningUnderWine() {
    return false;
}

std::unique_ptr<Platform> NewRealPlatform() {
    // SDL's events reach the window procedure only through PeekMessage, which the tests never
    // call on it.
    StartRealPlatform();
    return std::make_unique<SdlPlatform>();
}

RenderContext CreateTestContext(Platform& platform, DeviceContext dc, bool shareWithCurrent) {
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, shareWithCurrent ? 1 : 0);
    RenderContext context = platform.CreateContext(dc);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    return context;
}

int RunProgram(const std::vector<std::string>& argv, const std::string& directory, std::string* output,
               double seconds) {
    char outputName[] = "/tmp/quorvane-run-XXXXXX";
    int outputFd = mkstemp(outputName);
    if (outputFd < 0) return -1;
    unlink(outputName);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    posix_spawn_file_actions_adddup2(&actions, outputFd, 2);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    // posix_spawn has no working-directory action in this libc: change it around the spawn.
    char previous[4096];
    if (!getcwd(previous, sizeof previous) || chdir(directory.c_str()) != 0) {
        close(outputFd);
        return -1;
    }
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    if (chdir(previous) != 0) std::perror("chdir");
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        close(outputFd);
        return -1;
    }
    // The program gets a deadline of its own, well inside the test's, so that a hang is reported
    // as this program's and its output is still read.
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    pid_t ended = 0;
    while ((ended = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    if (output) {
        output->clear();
        lseek(outputFd, 0, SEEK_SET);
        char buffer[4096];
        ssize_t n;
        while ((n = read(outputFd, buffer, sizeof buffer)) > 0)
            output->append(buffer, static_cast<size_t>(n));
    }
    close(outputFd);
    if (ended == 0 && output) *output += "\n(killed: still running after " + std::to_string(seconds) + " s)";
    return ended != 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
