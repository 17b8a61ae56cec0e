#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Polling interval while waiting for a process to end.
constexpr auto PollInterval = std::chrono::milliseconds(5);

[[noreturn]] void FailInChild(const char* what, const std::string& detail) {
    std::string line =
        std::string("child process: ") + what + " " + detail + ": " + std::strerror(errno) + "\n";
    ssize_t ignored = write(STDERR_FILENO, line.data(), line.size());
    (void)ignored;
    _exit(127);
}

} // namespace

std::string ExitStatus::Describe() const {
    if (exited) return "exit code " + std::to_string(code);
    if (signal)
        return std::string("killed by signal ") + std::to_string(signal) + " (" + strsignal(signal) + ")";
    return "no exit status";
}

bool ChildProcess::Start(const Options& options, std::string& error) {
    if (Started()) {
        error = "already started";
        return false;
    }
    if (options.args.empty()) {
        error = "no program given";
        return false;
    }
    pid_t parent = getpid();
    pid_t child = fork();
    if (child < 0) {
        error = std::string("fork failed: ") + std::strerror(errno);
        return false;
    }
    if (child == 0) {
        // Dies with the test program, whatever ends it, so that nothing is left running.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        setpgid(0, 0); // a terminal's Ctrl+C reaches the test program only
        if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0)
            FailInChild("cannot enter", options.workDir);
        for (const std::string& name : options.unsetEnv) unsetenv(name.c_str());
        for (const auto& [name, value] : options.setEnv) setenv(name.c_str(), value.c_str(), 1);
        const char* output = options.outputPath.empty() ? "/dev/null" : options.outputPath.c_str();
        int out = open(output, O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (out < 0) FailInChild("cannot open", output);
        int in = open("/dev/null", O_RDONLY);
        if (in >= 0) dup2(in, STDIN_FILENO);
        int err = out;
        if (!options.errorPath.empty()) {
            err = open(options.errorPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (err < 0) FailInChild("cannot open", options.errorPath);
        }
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        // Only the standard streams and the descriptor asked for go to the child.
        long maxFd = sysconf(_SC_OPEN_MAX);
        if (maxFd < 0 || maxFd > 4096) maxFd = 4096;
        for (int fd = 3; fd < maxFd; ++fd)
            if (fd != options.keepFd) close(fd);
        std::vector<char*> argv;
        for (const std::string& arg : options.args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        FailInChild("cannot run", options.args[0]);
    }
    pid = child;
    return true;
}

bool ChildProcess::Reap(bool block) {
    if (pid <= 0) return true;
    int raw = 0;
    pid_t done;
    do {
        done = waitpid(pid, &raw, block ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0) return false;
    ExitStatus ended;
    if (done == pid && WIFEXITED(raw)) {
        ended.exited = true;
        ended.code = WEXITSTATUS(raw);
    } else if (done == pid && WIFSIGNALED(raw)) {
        ended.signal = WTERMSIG(raw);
    }
    status = ended;
    pid = -1;
    return true;
}

bool ChildProcess::Running() {
    return pid > 0 && !Reap(false);
}

std::optional<ExitStatus> ChildProcess::Wait(double seconds) {
    auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Running()) {
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(PollInterval);
    }
    return status;
}

void ChildProcess::Stop(double graceSeconds) {
    if (!Running()) return;
    kill(pid, SIGTERM);
    if (Wait(graceSeconds)) return;
    kill(pid, SIGKILL);
    Reap(true);
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<ExitStatus> RunToEnd(const ChildProcess::Options& options, double seconds,
                                   std::string& output) {
    char path[] = "/tmp/quorvane-e2e-output-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) {
        output = "cannot create a file for the output";
        return std::nullopt;
    }
    close(fd);
    ChildProcess::Options withOutput = options;
    withOutput.outputPath = path;
    std::optional<ExitStatus> result;
    {
        ChildProcess child;
        std::string error;
        if (child.Start(withOutput, error)) {
            result = child.Wait(seconds);
        } else {
            output = error;
        }
    }
    if (output.empty()) output = ReadTextFile(path);
    unlink(path);
    return result;
}
