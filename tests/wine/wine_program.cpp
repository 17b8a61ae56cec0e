#include "wine/wine_program.h"

#include "e2e/child_process.h"

namespace {

const std::string Wine = "/usr/lib/wine/wine64";
const std::string Prefix = std::string(QUORVANE_WINE_FOLDER) + "/prefix";

std::vector<std::pair<std::string, std::string>> WineEnvironment() {
    return {{"WINEPREFIX", Prefix}, {"WINEDEBUG", "-all,+msgbox"}, {"WINEDLLOVERRIDES", "mscoree,mshtml="}};
}

} // namespace

ProgramCommand UnderWine(const std::string& program, const std::vector<std::string>& args) {
    std::string path = program[0] == '/' ? program : std::string(QUORVANE_WINDOWS_BUILD) + "/" + program;
    ProgramCommand command{{Wine, path}, WineEnvironment()};
    command.args.insert(command.args.end(), args.begin(), args.end());
    return command;
}

void EndWineSession() {
    std::string wineserver = Wine.substr(0, Wine.rfind('/')) + "/wineserver";
    for (const char* option : {"-k", "-w"}) {
        ChildProcess::Options options;
        options.args = {wineserver, option};
        options.setEnv = WineEnvironment();
        std::string output;
        RunToEnd(options, 30.0, output);
    }
}

std::vector<std::string> MessageBoxTexts(const std::string& output) {
    // One line per box: trace:msgbox:MSGBOX_OnInit L"text", the text escaped C-style.
    const std::string mark = "MSGBOX_OnInit L\"";
    std::vector<std::string> texts;
    for (size_t at = output.find(mark); at != std::string::npos; at = output.find(mark, at)) {
        at += mark.size();
        std::string text;
        for (; at < output.size() && output[at] != '"' && output[at] != '\n'; ++at) {
            if (output[at] == '\\' && at + 1 < output.size()) {
                char next = output[++at];
                text += next == 'n' ? '\n' : next;
            } else {
                text += output[at];
            }
        }
        texts.push_back(text);
    }
    return texts;
}
