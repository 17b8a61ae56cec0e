// The fixture of the end-to-end tests: a private X server, the real program in it, the scene
// brought into a known view, and what the tests measure in that view.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture_stats.h"
#include "probe_pictures.h"
#include "quorvane_run.h"
#include "support/test_support.h"

// Where the light of a group of pixels is centred (brightness-weighted) and how many pixels
// there are. Below a floor of pixels it has no centre (NaN): no condition on where it is holds.
struct LightPatch {
    double x = 0;
    double y = 0;
    long pixels = 0;
};
constexpr long PatchFloor = 200;

// The particle fountain as long as it keeps its first palette colour (1, 0.5, 0.5), lit or not:
// red the strongest, green and blue equal. Nothing else in the scene keeps that colour.
bool IsFountainColour(int red, int green, int blue);
LightPatch FountainLight(const RgbPicture& picture, const Box& box);
LightPatch FountainLight(const RgbPicture& picture);
// Every other lit pixel: the triangle, the quad, the stars (and whatever else is in view).
LightPatch SceneObjectLight(const RgbPicture& picture, const Box& box);
// Pixels that differ sharply from their right-hand neighbour. With the checkerboard picture
// (probe_pictures.h) and nearest filtering that is the triangle and the quad, and nothing else:
// the stars and the fountain are soft glows.
LightPatch SharpDetail(const RgbPicture& picture);
// Distance of a point from the middle of the picture, where the line of sight meets it.
double FromMiddle(const RgbPicture& picture, double x, double y);
// Rows between which the middle 80 % of the scene objects' lit pixels lie (the fountain left out).
int SceneObjectHeight(const RgbPicture& picture);
class ProgramTest : public ::testing::Test {
  protected:
    // Starts a private X server with a screen of this size and the program in `workDir` with
    // `args`, and waits for its window.
    ::testing::AssertionResult Launch(int screenWidth = 640, int screenHeight = 480,
                                      const std::string& workDir = QUORVANE_SOURCE_DIR,
                                      const std::vector<std::string>& args = {});
    // Launches the program on pictures of the tests' own (probe_pictures.h).
    ::testing::AssertionResult LaunchWithPictures(bool (*writeT1)(const std::string&),
                                                  bool (*writeStar)(const std::string&));

    // Brings the scene into the view most tests work in. At start the backdrop plane stands 40
    // units ahead, between the viewer and everything but the boxes, and comes 0.1 nearer a frame.
    // Holding W brings the viewer 0.3 nearer a frame, so that the backdrop has passed behind after
    // a little under 100 frames; K meanwhile sends the fountain back, so that it is never drawn huge. The
    // boxes pass behind too. What is left: the triangle, the quad and the star field up to the
    // left, the fountain in the middle, and black around them; the backdrop, now behind the
    // viewer and moving away, stays out of view for well over a thousand frames.
    static constexpr int FlyPastFrames = 102;
    ::testing::AssertionResult FlyPastBackdrop();
    // Launches the program on pictures of the tests' own and flies into that view. By default the
    // particles (and stars) are soft glows, and the triangle, the quad and the backdrop too dark
    // to count in any measure (so that the backdrop does not muddle them when it comes round
    // again, far away behind the fountain, after its jump back).
    ::testing::AssertionResult LaunchAndFlyIn(bool (*writeT1)(const std::string&) = WriteDimPicture,
                                              bool (*writeStar)(const std::string&) = WriteGlowPicture);

    // A screenshot, kept under `label` for the failure report.
    ::testing::AssertionResult Shot(const std::string& label, RgbPicture& picture);
    // Holds `key` until `done` holds for a screenshot (kept under `label`); gives up once the
    // program has drawn `frameLimit` frames. No effect here needs more than about 300 frames,
    // while the scene's own wandering, given many more, could pass a test by chance.
    ::testing::AssertionResult HoldUntil(const std::string& key, const std::string& label,
                                         const std::function<bool(const RgbPicture&)>& done,
                                         int frameLimit = 500);
    // Watches new frames, without touching a key, until `done` holds for one (kept under
    // `label`); gives up once the program has drawn `frameLimit` frames.
    ::testing::AssertionResult WatchUntil(const std::string& label,
                                          const std::function<bool(const RgbPicture&)>& done,
                                          int frameLimit = 500);

    // With plain star sprites, holds Down until the star field, facing the viewer at first, is
    // seen edge on: a band about half as tall as the tallest it was (tilting first turns its upper
    // part towards the viewer) that still shows its stars. `flattest` is its height then.
    ::testing::AssertionResult TiltsEdgeOn(int& flattest);

    // Ends the program with Escape and checks that it returned 0.
    ::testing::AssertionResult QuitWithEscape();
    // Ends it as its close button would (the window manager's close request, WM_DELETE_WINDOW)
    // and checks that it returned 0.
    ::testing::AssertionResult QuitWithCloseRequest();
    // Waits for the program to end by itself (after `after`, for the message) with 0.
    ::testing::AssertionResult EndsWithZero(const std::string& after);

    void TearDown() override;

    // How Launch starts the program: the build's own by default.
    ProgramCommand command = NativeProgram();
    std::unique_ptr<TempDir> dataFolder;
    std::unique_ptr<XvfbServer> server;
    std::unique_ptr<QuorvaneRun> run;
    bool ended = false; // the test ended the program itself
};
