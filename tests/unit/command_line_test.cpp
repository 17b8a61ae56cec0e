// The program's command line: what each argument asks for, and that the program answers it before
// it starts anything.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "overlay/key_guide.h"
#include "support/image_compare.h"
#include "support/test_support.h"

namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quorvane");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, ReadsEachOption) {
    EXPECT_EQ(Parse({}).action, CommandAction::Run);
    EXPECT_FALSE(Parse({}).fullscreen);
    CommandLine fullscreen = Parse({"--fullscreen"});
    EXPECT_EQ(fullscreen.action, CommandAction::Run);
    EXPECT_TRUE(fullscreen.fullscreen);
    EXPECT_EQ(Parse({"--help"}).action, CommandAction::Help);
    EXPECT_EQ(Parse({"-h"}).action, CommandAction::Help);
    EXPECT_EQ(Parse({"--version"}).action, CommandAction::Version);
    EXPECT_EQ(Parse({"--version", "--help"}).action, CommandAction::Help);
    EXPECT_EQ(Parse({"--fullscreen", "--help"}).action, CommandAction::Help);

    for (std::vector<const char*> wrong : std::vector<std::vector<const char*>>{
             {"--nonsense"}, {"fullscreen"}, {"--fullscreen", "-x"}, {"--help", "extra"}, {""}}) {
        CommandLine command = Parse(wrong);
        EXPECT_EQ(command.action, CommandAction::Misuse) << wrong.back();
        EXPECT_EQ(command.misuse, wrong.back());
        EXPECT_NE(MisuseText(command).find("'" + std::string(wrong.back()) + "'"), std::string::npos);
    }
}

TEST(CommandLine, TheProgramAnswersBeforeLookingForADisplay) {
    // Without any display a run would end at once with a note saying so; an answer to the command
    // line must come before that.
    ScopedEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr),
        driver("SDL_VIDEODRIVER", nullptr);
    const std::string program = std::string(QUORVANE_BINARY_DIR) + "/quorvane";
    std::string output;

    EXPECT_EQ(RunProgram({program, "--help"}, "/", &output), 0);
    EXPECT_EQ(output, HelpText());
    EXPECT_NE(output.find("--fullscreen"), std::string::npos);
    for (int i = 0; i < KeyGuideSize; i++) {
        std::string keys = KeyGuide[i].keys;
        size_t at = output.find("\n  " + keys + " ");
        ASSERT_NE(at, std::string::npos) << keys;
        size_t lineEnd = output.find('\n', at + 1);
        EXPECT_NE(output.substr(at, lineEnd - at).find(KeyGuide[i].detail), std::string::npos) << keys;
    }

    EXPECT_EQ(RunProgram({program, "--version"}, "/", &output), 0);
    EXPECT_EQ(output, VersionText());
    EXPECT_EQ(output.rfind("quorvane ", 0), 0u) << output;

    EXPECT_EQ(RunProgram({program, "--nonsense"}, "/", &output), MisuseExitCode);
    EXPECT_NE(output.find("unknown argument '--nonsense'"), std::string::npos) << output;
    EXPECT_EQ(output.find("display"), std::string::npos) << output;
}

} // namespace
