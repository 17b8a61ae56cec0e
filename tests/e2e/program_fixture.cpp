#include "program_fixture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Pixels darker than this (channel sum) count as background.
constexpr int LitThreshold = 60;

// QUORVANE_E2E_TRACE=1 tells how long each step took, for anyone tuning these tests.
void Trace(const std::string& what, const std::string& label, bool reached, int frames,
           std::chrono::steady_clock::time_point begin) {
    if (!std::getenv("QUORVANE_E2E_TRACE")) return;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::fprintf(stderr, "  %s %s: %s after %d new frames, %.2f s\n", what.c_str(), label.c_str(),
                 reached ? "reached" : "NOT reached", frames, seconds);
}

const uint8_t* PixelAt(const RgbPicture& picture, int x, int y) {
    return &picture.pixels[(static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x) * 3];
}

template <typename Select> LightPatch Patch(const RgbPicture& picture, const Box& box, Select select) {
    double weight = 0, sumX = 0, sumY = 0;
    LightPatch patch;
    int x0 = std::max(box.x0, 0), x1 = std::min(box.x1, picture.width);
    int y0 = std::max(box.y0, 0), y1 = std::min(box.y1, picture.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* p = PixelAt(picture, x, y);
            int brightness = p[0] + p[1] + p[2];
            if (brightness <= LitThreshold || !select(p[0], p[1], p[2])) continue;
            double w = brightness;
            weight += w;
            sumX += w * x;
            sumY += w * y;
            ++patch.pixels;
        }
    patch.x = patch.pixels > PatchFloor ? sumX / weight : std::nan("");
    patch.y = patch.pixels > PatchFloor ? sumY / weight : std::nan("");
    return patch;
}

// The spread of the lit pixels that `select` picks, along x or y: the distance between the 10th
// and the 90th percentile, so that a few stray pixels do not count.
template <typename Select> int MiddleSpread(const RgbPicture& picture, bool alongX, Select select) {
    std::vector<long> counts(static_cast<size_t>(alongX ? picture.width : picture.height), 0);
    long total = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = PixelAt(picture, x, y);
            if (p[0] + p[1] + p[2] > LitThreshold && select(p[0], p[1], p[2])) {
                ++counts[static_cast<size_t>(alongX ? x : y)];
                ++total;
            }
        }
    if (total < 10) return 0;
    long seen = 0;
    int low = -1, high = 0;
    for (size_t i = 0; i < counts.size(); ++i) {
        seen += counts[i];
        if (low < 0 && seen > total / 10) low = static_cast<int>(i);
        if (seen <= total * 9 / 10) high = static_cast<int>(i) + 1;
    }
    return high - low;
}

} // namespace

bool IsFountainColour(int red, int green, int blue) {
    return red >= green && std::abs(green - blue) <= 10 + green / 8 && green * 10 >= red * 3;
}

LightPatch FountainLight(const RgbPicture& picture, const Box& box) {
    return Patch(picture, box, IsFountainColour);
}

LightPatch FountainLight(const RgbPicture& picture) {
    return FountainLight(picture, WholePicture(picture));
}

LightPatch SceneObjectLight(const RgbPicture& picture, const Box& box) {
    return Patch(picture, box, [](int r, int g, int b) { return !IsFountainColour(r, g, b); });
}

LightPatch SharpDetail(const RgbPicture& picture) {
    LightPatch patch;
    double sumX = 0, sumY = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x + 1 < picture.width; ++x)
            if (std::abs(Brightness(picture, x, y) - Brightness(picture, x + 1, y)) > 150) {
                sumX += x;
                sumY += y;
                ++patch.pixels;
            }
    if (patch.pixels > 0) {
        patch.x = sumX / patch.pixels;
        patch.y = sumY / patch.pixels;
    }
    return patch;
}

double FromMiddle(const RgbPicture& picture, double x, double y) {
    return std::hypot(x - picture.width / 2.0, y - picture.height / 2.0);
}

int SceneObjectHeight(const RgbPicture& picture) {
    return MiddleSpread(picture, false, [](int r, int g, int b) { return !IsFountainColour(r, g, b); });
}

::testing::AssertionResult ProgramTest::Launch(int screenWidth, int screenHeight, const std::string& workDir,
                                               const std::vector<std::string>& args) {
    server = std::make_unique<XvfbServer>(screenWidth, screenHeight);
    if (!server->Ok()) return ::testing::AssertionFailure() << "no X server: " << server->Error();
    run = std::make_unique<QuorvaneRun>(*server, command);
    std::string error;
    if (!run->Start(workDir, error, args))
        return ::testing::AssertionFailure() << "quorvane did not start: " << error;
    if (!run->WaitForWindow()) {
        std::optional<ExitStatus> status = run->WaitExit(0);
        return ::testing::AssertionFailure()
               << "no window titled Quorvane showing frames ("
               << (status ? status->Describe() : "still running") << "); program output:\n"
               << run->Output();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::LaunchWithPictures(bool (*writeT1)(const std::string&),
                                                           bool (*writeStar)(const std::string&)) {
    dataFolder = std::make_unique<TempDir>();
    if (!MakeDataFolder(dataFolder->Path(), writeT1, writeStar))
        return ::testing::AssertionFailure() << "cannot write pictures in " << dataFolder->Path();
    return Launch(640, 480, dataFolder->Path());
}

::testing::AssertionResult ProgramTest::FlyPastBackdrop() {
    // Counted in frames, not watched on screenshots: a loaded machine takes screenshots slowly and
    // would let the viewer fly on far past the point.
    if (!run->KeyDown("k") || !run->HoldFor("w", FlyPastFrames) || !run->KeyUp("k"))
        return ::testing::AssertionFailure() << "the program stopped drawing, or xdotool failed";
    RgbPicture picture;
    if (!Shot("fly-past", picture)) return ::testing::AssertionFailure() << "no screenshot";
    double lit = LitShare(picture, WholePicture(picture));
    if (lit > 0.9 || lit < 0.001)
        return ::testing::AssertionFailure()
               << "the backdrop has not passed: " << lit * 100 << "% of the window lit";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::LaunchAndFlyIn(bool (*writeT1)(const std::string&),
                                                       bool (*writeStar)(const std::string&)) {
    ::testing::AssertionResult launched = LaunchWithPictures(writeT1, writeStar);
    return launched ? FlyPastBackdrop() : launched;
}

::testing::AssertionResult ProgramTest::Shot(const std::string& label, RgbPicture& picture) {
    if (!run->Shot(picture)) return ::testing::AssertionFailure() << "no screenshot for " << label;
    run->Keep(label, picture);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::HoldUntil(const std::string& key, const std::string& label,
                                                  const std::function<bool(const RgbPicture&)>& done,
                                                  int frameLimit) {
    RgbPicture last;
    int frames = 0;
    auto begin = std::chrono::steady_clock::now();
    bool reached = run->HoldUntil(key, done, last, frameLimit, &frames);
    Trace("held " + key + " until", label, reached, frames, begin);
    if (!last.pixels.empty()) run->Keep(label, last);
    if (!reached) return ::testing::AssertionFailure() << "holding " << key << " did not lead to " << label;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::WatchUntil(const std::string& label,
                                                   const std::function<bool(const RgbPicture&)>& done,
                                                   int frameLimit) {
    RgbPicture picture;
    uint64_t start = run->Frames();
    bool reached = false;
    auto begin = std::chrono::steady_clock::now();
    while (run->Frames() - start < static_cast<uint64_t>(frameLimit) && run->WaitFrames(1) &&
           run->Shot(picture)) {
        if (done(picture)) {
            reached = true;
            break;
        }
    }
    Trace("watched", label, reached, static_cast<int>(run->Frames() - start), begin);
    if (!picture.pixels.empty()) run->Keep(label, picture);
    if (!reached) return ::testing::AssertionFailure() << "no frame showed " << label;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::TiltsEdgeOn(int& flattest) {
    RgbPicture start;
    if (!Shot("facing", start)) return ::testing::AssertionFailure() << "no screenshot";
    int tallest = SceneObjectHeight(start);
    long stars = SceneObjectLight(start, WholePicture(start)).pixels;
    if (tallest <= 40) return ::testing::AssertionFailure() << "the star field is not in view";
    // Edge on after 180 frames; the stars' own wandering could make almost any shape given long
    // enough, hence the limit.
    ::testing::AssertionResult result = HoldUntil(
        "Down", "edge-on",
        [&](const RgbPicture& p) {
            int height = SceneObjectHeight(p);
            tallest = std::max(tallest, height);
            flattest = height;
            return height > 0 && height < tallest * 55 / 100 &&
                   SceneObjectLight(p, WholePicture(p)).pixels > stars * 4 / 10;
        },
        400);
    return result << " (tallest " << tallest << ", last " << flattest << ")";
}

::testing::AssertionResult ProgramTest::EndsWithZero(const std::string& after) {
    ended = true;
    std::optional<ExitStatus> status = run->WaitExit();
    if (!status) return ::testing::AssertionFailure() << "still running after " << after;
    if (!status->exited || status->code != 0)
        return ::testing::AssertionFailure()
               << "after " << after << ": " << status->Describe() << "; output:\n"
               << run->Output();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::QuitWithEscape() {
    ended = true;
    if (!run->KeyDown("Escape")) return ::testing::AssertionFailure() << "xdotool failed";
    ::testing::AssertionResult result = EndsWithZero("Escape");
    run->KeyUp("Escape");
    return result;
}

::testing::AssertionResult ProgramTest::QuitWithCloseRequest() {
    ended = true;
    if (!server->SendCloseRequest(run->Window()))
        return ::testing::AssertionFailure() << "no close request sent";
    return EndsWithZero("the close request");
}

void ProgramTest::TearDown() {
    // Every test ends the way a user would: Escape, and the program says 0. A program that has
    // ended by itself, even after the last screenshot (a crash in its teardown, say), fails.
    if (run && !ended) {
        if (!run->Running()) {
            std::optional<ExitStatus> status = run->WaitExit(0);
            ADD_FAILURE() << "the program ended by itself: " << (status ? status->Describe() : "?")
                          << "; output:\n"
                          << run->Output();
        } else if (!HasFailure()) {
            EXPECT_TRUE(QuitWithEscape());
        }
    }
    // QUORVANE_E2E_SCREENSHOTS=1 keeps them for passing tests too, for looking at.
    if (run && (HasFailure() || std::getenv("QUORVANE_E2E_SCREENSHOTS"))) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        std::string folder = SaveScreenshots(name, run->Kept());
        std::string output = run->Output();
        std::fprintf(stderr, "Screenshots of %s are in %s (%s-*.png).\n%s%s", name.c_str(), folder.c_str(),
                     name.c_str(), output.empty() ? "" : "Program output:\n", output.c_str());
    }
    run.reset();
    server.reset();
    dataFolder.reset();
}
