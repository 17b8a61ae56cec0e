// The scene's controls seen on screen: the lighting, filter and twinkle keys, the movement keys,
// the star tilt and the mouse look. Each test runs the program on pictures of its own
// (probe_pictures.h), flies into the scene (ProgramTest::FlyPastBackdrop), works a control and
// compares screenshots taken before and after. The scene never stands still
// and has no clock, so the comparisons are between frames a few frames apart, or keep a key down
// until the picture shows the effect; none depends on how many frames a second are drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program_test.h"

namespace {

class SceneControlsTest : public ProgramTest {};

std::string Numbered(const std::string& label, int n) {
    return label + "-" + std::to_string(n);
}

TEST_F(SceneControlsTest, LightingKeyChangesTheShading) {
    ASSERT_TRUE(LaunchAndFlyIn());
    // Unlit, the fountain has its palette colour (1, 0.5, 0.5): green is half of red. Lit by the
    // light just behind the viewer, ambient and diffuse light raise green and blue to about 0.8 of
    // red (which stays at its top). The ratio does not depend on how many sprites overlap.
    for (int round = 1; round <= 2; ++round) {
        RgbPicture unlit, lit;
        long unlitSamples = 0, litSamples = 0;
        ASSERT_TRUE(Shot(Numbered("unlit", round), unlit));
        double unlitRatio = FountainGreenToRed(unlit, unlitSamples);
        ASSERT_TRUE(run->Press("l"));
        ASSERT_TRUE(Shot(Numbered("lit", round), lit));
        double litRatio = FountainGreenToRed(lit, litSamples);
        ASSERT_TRUE(run->Press("l"));

        ASSERT_GT(unlitSamples, 300) << "the fountain is not in view";
        ASSERT_GT(litSamples, 300) << "the fountain is not in view";
        EXPECT_LT(unlitRatio, 0.6) << "round " << round;
        EXPECT_GT(litRatio, 0.7) << "round " << round;
    }
}

TEST_F(SceneControlsTest, FilterKeyCyclesTheTriangleAndQuadFilters) {
    // A single-texel checkerboard on the triangle and the quad, soft stars that add no edges.
    ASSERT_TRUE(LaunchAndFlyIn(WriteCheckerPicture, WriteGlowPicture));
    // The triangle and the quad, and nothing sharp but them, are in the upper left quarter.
    struct Look {
        int steps;     // neighbouring pixels clearly apart
        int hardSteps; // neighbouring pixels far apart
    };
    std::vector<Look> looks;
    for (int press = 0; press <= 3; ++press) {
        RgbPicture picture;
        ASSERT_TRUE(Shot(Numbered("filter", press % 3), picture));
        Box upperLeft{0, 0, picture.width / 2, picture.height * 45 / 100};
        looks.push_back({SharpSteps(picture, upperLeft, 40), SharpSteps(picture, upperLeft, 150)});
        if (press < 3) {
            ASSERT_TRUE(run->Press("f"));
        }
    }
    auto describe = [&] {
        std::string text;
        for (const Look& look : looks)
            text += " (" + std::to_string(look.steps) + ", " + std::to_string(look.hardSteps) + ")";
        return "steps, hard steps per look:" + text;
    };
    ASSERT_GT(looks[0].steps, 300) << "the triangle and the quad are not in view; " << describe();
    // Nearest: every pixel is one texel, so the grain is all hard black-and-white steps.
    EXPECT_GT(looks[0].hardSteps, looks[0].steps * 6 / 10) << describe();
    // Linear: neighbouring texels mixed, mostly soft steps.
    EXPECT_LT(looks[1].hardSteps, looks[1].steps * 45 / 100) << describe();
    // Mipmapped: the checkerboard averaged to flat grey.
    int fewestOthers = std::min({looks[0].steps, looks[1].steps, looks[3].steps});
    EXPECT_LT(looks[2].steps, fewestOthers * 4 / 10) << describe();
    // The third press is back at nearest.
    EXPECT_GT(looks[3].hardSteps, looks[3].steps * 6 / 10) << describe();
}

TEST_F(SceneControlsTest, TwinkleKeyAddsTheTwinkleSprites) {
    // Star sprites that are black but for a square in each corner. The twinkle sprite lies under
    // the spun one, unturned, so its corner squares show wherever the spun sprite's black middle
    // does not cover them: the lit area of the star field grows, by how much depending on how far
    // the sprites are turned at that moment.
    ASSERT_TRUE(LaunchAndFlyIn(WriteDimPicture, WriteCornerSquaresPicture));
    auto starLight = [](const RgbPicture& picture) {
        // Above the fountain, where the star field is.
        return LitShare(picture, Box{0, 0, picture.width * 5 / 8, picture.height * 4 / 10});
    };
    // Alternate off and on; each "on" is compared with the "off" pictures on either side, so
    // that slow changes of the scene cancel.
    constexpr int Rounds = 8;
    std::vector<double> gains;
    std::string values;
    RgbPicture picture;
    ASSERT_TRUE(Shot("twinkle-off-0", picture));
    double before = starLight(picture);
    for (int round = 1; round <= Rounds; ++round) {
        ASSERT_TRUE(run->Press("t"));
        ASSERT_TRUE(Shot(Numbered("twinkle-on", round), picture));
        double on = starLight(picture);
        ASSERT_TRUE(run->Press("t"));
        ASSERT_TRUE(Shot(Numbered("twinkle-off", round), picture));
        double after = starLight(picture);
        ASSERT_GT(before, 0.03) << "the star field is not in view";
        gains.push_back(on / ((before + after) / 2) - 1);
        values += " " + std::to_string(on / ((before + after) / 2) - 1);
        before = after;
    }
    double mean = 0;
    for (double gain : gains) mean += gain / Rounds;
    EXPECT_GT(mean, 0.08) << "gain of lit area with twinkle on, per round:" << values;
    EXPECT_GT(*std::min_element(gains.begin(), gains.end()), -0.03) << "per round:" << values;
}

TEST_F(SceneControlsTest, WAndSMoveTheSceneTowardsAndAwayFromTheViewer) {
    // Past the backdrop, the triangle and the quad stand still, up to the left of the line of sight.
    ASSERT_TRUE(LaunchAndFlyIn(WriteCheckerPicture, WriteGlowPicture));
    EXPECT_TRUE(MovesTheGroupNearerAndBack("w", "s"));
}

TEST_F(SceneControlsTest, RightButtonDragTurnsTheView) {
    ASSERT_TRUE(LaunchAndFlyIn());
    // The fountain stands at the centre of the view. Dragging the cursor left turns the view left
    // (0.4 degrees per pixel), so the fountain moves right on the screen, and so on.
    auto fountain = [&](const std::string& label, LightPatch& light) {
        RgbPicture picture;
        if (!Shot(label, picture)) return false;
        light = FountainLight(picture);
        return light.pixels > 200;
    };
    const int cx = 320, cy = 240;
    LightPatch start, left, right, up, down;
    ASSERT_TRUE(fountain("start", start)) << "the fountain is not in view";
    // 50 pixels: 20 degrees, about 210 pixels on the screen.
    ASSERT_TRUE(run->RightDrag(cx, cy, cx - 50, cy));
    ASSERT_TRUE(fountain("turned-left", left)) << "the fountain left the view";
    EXPECT_GT(left.x, start.x + 120);
    ASSERT_TRUE(run->RightDrag(cx, cy, cx + 100, cy));
    ASSERT_TRUE(fountain("turned-right", right)) << "the fountain left the view";
    EXPECT_LT(right.x, start.x - 120);
    ASSERT_TRUE(run->RightDrag(cx, cy, cx - 50, cy));
    // 25 pixels: 10 degrees, about 100 pixels.
    ASSERT_TRUE(run->RightDrag(cx, cy, cx, cy - 25));
    ASSERT_TRUE(fountain("tilted-up", up)) << "the fountain left the view";
    EXPECT_GT(up.y, start.y + 50);
    EXPECT_NEAR(up.x, start.x, 50);
    ASSERT_TRUE(run->RightDrag(cx, cy, cx, cy + 50));
    ASSERT_TRUE(fountain("tilted-down", down)) << "the fountain left the view";
    EXPECT_LT(down.y, start.y - 50);
}

TEST_F(SceneControlsTest, UpAndDownTiltTheStarField) {
    // Plain stars (a square in each corner), and a triangle and quad too dark to count, so that
    // what is measured is the star field alone.
    ASSERT_TRUE(LaunchAndFlyIn(WriteDimPicture, WriteCornerSquaresPicture));
    // Down raises the tilt; Up lowers it again. (Up first would also send the fountain up through
    // the stars, since it raises the launch speed too.)
    int flattest = 0;
    ASSERT_TRUE(TiltsEdgeOn(flattest));
    EXPECT_TRUE(HoldUntil("Up", "facing-again",
                          [&](const RgbPicture& p) { return SceneObjectHeight(p) > flattest * 14 / 10; }))
        << "edge on " << flattest;
}

} // namespace

namespace {

// Pixels of the help panel's key colour (1, 0.85, 0.3): nothing in the scene drawn on the tests'
// own pictures has it.
long KeyColourPixels(const RgbPicture& picture) {
    long count = 0;
    for (size_t i = 0; i + 2 < picture.pixels.size(); i += 3)
        count += picture.pixels[i] > 230 && picture.pixels[i + 1] > 190 && picture.pixels[i + 1] < 240 &&
                 picture.pixels[i + 2] > 50 && picture.pixels[i + 2] < 100;
    return count;
}

TEST_F(SceneControlsTest, HShowsAndHidesTheHelpPanel) {
    ASSERT_TRUE(LaunchWithPictures(WriteDimPicture, WriteGlowPicture));
    RgbPicture hidden, shown, hiddenAgain;
    ASSERT_TRUE(Shot("hidden", hidden));
    ASSERT_TRUE(run->Press("h"));
    ASSERT_TRUE(Shot("shown", shown));
    ASSERT_TRUE(run->Press("h"));
    ASSERT_TRUE(Shot("hidden-again", hiddenAgain));
    EXPECT_EQ(KeyColourPixels(hidden), 0);
    EXPECT_GT(KeyColourPixels(shown), 2000) << "no key guide on screen";
    EXPECT_EQ(KeyColourPixels(hiddenAgain), 0);
}

} // namespace
