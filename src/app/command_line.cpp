#include "app/command_line.h"

#include <cstring>

#include "build_config.h"

#include "overlay/key_guide.h"

namespace {

constexpr size_t KeyColumnWidth = 15;

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine command;
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            command.action = CommandAction::Help;
        } else if (std::strcmp(arg, "--version") == 0) {
            // A request for a text wins over running, but not over a mistake seen before it.
            if (command.action == CommandAction::Run) command.action = CommandAction::Version;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            command.fullscreen = true;
        } else {
            command.action = CommandAction::Misuse;
            command.misuse = arg;
            return command;
        }
    }
    return command;
}

std::string HelpText() {
    std::string text = "Usage: quorvane [--fullscreen]\n"
                       "       quorvane --help | --version\n"
                       "\n"
                       "A real-time 3D scene in one 640 x 480 window, steered from the keyboard and the\n"
                       "mouse. The pictures t1.bmp and star.bmp are read from data/ in the working\n"
                       "directory when it exists, otherwise from the data folder beside the program or\n"
                       "installed with it.\n"
                       "\n"
                       "Options:\n"
                       "  --fullscreen    start in 640 x 480 fullscreen (F1 switches back)\n"
                       "  -h, --help      show this text and exit\n"
                       "  --version       show the version and exit\n"
                       "\n"
                       "Keys (H shows them in the window too, with the scene's current settings):\n";
    for (int i = 0; i < KeyGuideSize; i++) {
        std::string keys = KeyGuide[i].keys;
        if (keys.size() < KeyColumnWidth) keys.resize(KeyColumnWidth, ' ');
        text += "  " + keys + " " + KeyGuide[i].detail + "\n";
    }
    return text;
}

std::string VersionText() {
    return std::string("quorvane ") + QUORVANE_VERSION + "\n";
}

std::string MisuseText(const CommandLine& command) {
    return "quorvane: unknown argument '" + command.misuse +
           "'\n"
           "Usage: quorvane [--fullscreen | --help | --version]\n";
}
