// A program started by a test: its own process, its own environment and working folder, its output
// in a file, and always gone when the object is (even when the test fails half-way).
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ExitStatus {
    bool exited = false; // ended by itself, with `code`
    int code = -1;
    int signal = 0; // ended by this signal instead
    std::string Describe() const;
};

class ChildProcess {
  public:
    struct Options {
        std::vector<std::string> args;                           // args[0]: a path, or a name on PATH
        std::vector<std::pair<std::string, std::string>> setEnv; // added to (or replacing in) ours
        std::vector<std::string> unsetEnv;                       // removed from ours
        std::string workDir;                                     // empty: ours
        std::string outputPath;                                  // stdout (and stderr); empty: /dev/null
        std::string errorPath;                                   // stderr apart from stdout
        int keepFd = -1;                                         // a descriptor the child inherits
    };

    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const Options& options, std::string& error);
    pid_t Pid() const { return pid; }
    bool Started() const { return pid > 0 || status.has_value(); }
    // True while the process has not ended (it is reaped as soon as it has).
    bool Running();
    // The exit status once the process has ended, or nothing if it is still running after `seconds`.
    std::optional<ExitStatus> Wait(double seconds);
    // Asks the process to end (SIGTERM), then kills it if it is still there after `graceSeconds`.
    void Stop(double graceSeconds = 3.0);

  private:
    bool Reap(bool block);

    pid_t pid = -1;
    std::optional<ExitStatus> status;
};

// Runs a program to its end, with a deadline; its output (stdout and stderr) in `output`.
std::optional<ExitStatus> RunToEnd(const ChildProcess::Options& options, double seconds, std::string& output);

std::string ReadTextFile(const std::string& path);
