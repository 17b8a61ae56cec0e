// The Windows build draws what the Linux build draws: the same frames from quorvane-capture.exe
// under Wine (WGL, in a window on Xvfb) and from this build's quorvane-capture (SDL's offscreen
// driver), both on Mesa's llvmpipe, within the golden-image tolerance.
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e/xvfb_session.h"
#include "support/image_compare.h"
#include "support/test_support.h"
#include "wine/wine_program.h"

namespace {

struct ParityRun {
    const char* name;
    int frames;
    std::vector<int> shots;
    const char* input;
};

// The default run, and one with lighting, twinkle, a drag and blending (which shows for the one
// frame after B), after the backdrop has jumped back behind the viewer.
const ParityRun Runs[] = {
    {"default", 600, {1, 100, 600}, ""},
    {"keyed", 630, {630}, "602:down:L 603:up:L 610:down:T 611:up:T 620:drag:30,-15 629:down:B 630:up:B"},
};

void PrintTo(const ParityRun& run, std::ostream* out) {
    *out << run.name;
}

std::vector<std::string> CaptureArguments(const ParityRun& run, const std::string& out) {
    std::string shots;
    for (int shot : run.shots) shots += (shots.empty() ? "" : ",") + std::to_string(shot);
    std::vector<std::string> args = {"--frames", std::to_string(run.frames), "--shots", shots, "--out", out};
    if (*run.input) args.insert(args.end(), {"--input", run.input});
    return args;
}

class PixelParity : public ::testing::TestWithParam<ParityRun> {
  protected:
    void SetUp() override { EndWineSession(); }
    void TearDown() override { EndWineSession(); }
};

TEST_P(PixelParity, WindowsFramesMatchTheLinuxBuild) {
    const ParityRun& run = GetParam();
    TempDir linuxFrames, windowsFrames;
    XvfbServer server(1024, 768);
    ASSERT_TRUE(server.Ok()) << server.Error();
    // The pointer out of the way of the window, which opens at the screen's corner.
    ASSERT_TRUE(server.Xdotool({"mousemove", "1000", "700"}));

    // Both builds at once, each on its own core.
    ChildProcess::Options onLinux, onWindows;
    onLinux.args = {std::string(QUORVANE_BINARY_DIR) + "/quorvane-capture"};
    for (const std::string& arg : CaptureArguments(run, linuxFrames.Path())) onLinux.args.push_back(arg);
    onLinux.outputPath = linuxFrames.File("output.txt");
    ProgramCommand wine = UnderWine("quorvane-capture.exe", CaptureArguments(run, windowsFrames.Path()));
    onWindows.args = wine.args;
    onWindows.setEnv = wine.env;
    onWindows.setEnv.emplace_back("DISPLAY", server.Name());
    onWindows.outputPath = windowsFrames.File("output.txt");
    ChildProcess linuxCapture, windowsCapture;
    for (auto [options, child] :
         {std::pair{&onLinux, &linuxCapture}, std::pair{&onWindows, &windowsCapture}}) {
        options->workDir = QUORVANE_SOURCE_DIR;
        std::string error;
        ASSERT_TRUE(child->Start(*options, error)) << error;
    }
    for (auto [options, child] :
         {std::pair{&onLinux, &linuxCapture}, std::pair{&onWindows, &windowsCapture}}) {
        std::optional<ExitStatus> status = child->Wait(200.0);
        ASSERT_TRUE(status && status->exited && status->code == 0)
            << options->args[0] << ": " << (status ? status->Describe() : "still running") << "; output:\n"
            << ReadTextFile(options->outputPath);
    }

    for (int shot : run.shots) {
        std::string name = "frame-" + std::to_string(shot) + ".png";
        RgbPicture linuxFrame, windowsFrame;
        std::string error;
        ASSERT_TRUE(ReadPng(linuxFrames.File(name), linuxFrame, error)) << error;
        ASSERT_TRUE(ReadPng(windowsFrames.File(name), windowsFrame, error)) << error;
        ImageDifference d = CompareImages(windowsFrame, linuxFrame, GoldenChannelThreshold);
        std::printf(
            "%s frame %d: %.4f%% of pixels differ by more than %d, mean difference %.4f, largest %d\n",
            run.name, shot, d.differingShare * 100, GoldenChannelThreshold, d.meanAbsolute, d.largest);
        EXPECT_TRUE(WithinGoldenTolerance(d)) << run.name << " frame " << shot;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, PixelParity, ::testing::ValuesIn(Runs),
                         [](const ::testing::TestParamInfo<ParityRun>& info) { return info.param.name; });

} // namespace
