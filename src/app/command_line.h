// The program's command line. Without arguments the program runs as it always has; the options
// ask for the help text, the version, or a start in fullscreen. Platform-neutral: each entry point
// shows the texts in its own way (a terminal, or a message box where there is none).
#pragma once

#include <string>

enum class CommandAction {
    Run,     // open the window and run the scene
    Help,    // show HelpText(), exit with 0
    Version, // show VersionText(), exit with 0
    Misuse,  // show MisuseText(), exit with MisuseExitCode; nothing is started
};

struct CommandLine {
    CommandAction action = CommandAction::Run;
    bool fullscreen = false; // start as after F1: the first window asks for the fullscreen mode
    std::string misuse;      // the argument that was not understood
};

constexpr int MisuseExitCode = 2;

// Reads argv[1] to argv[argc - 1]. The first argument that is not an option ends the reading.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// Usage, options and the key table.
std::string HelpText();
// "quorvane VERSION", one line.
std::string VersionText();
// What was wrong, and where to look.
std::string MisuseText(const CommandLine& command);
