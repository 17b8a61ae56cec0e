// The star field pass: inward drift with respawn at the rim, the shared spin, and the colours the
// sprites are drawn in (read back through GL feedback).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "scene/random.h"
#include "scene/scene_state.h"
#include "scene/star_field.h"
#include "support/scene_helpers.h"

namespace {

using StarFieldTest = SceneTest;

TEST_F(StarFieldTest, StarZeroRespawnsInTheFirstFrameJustShortOfTheRim) {
    Star before[StarCount];
    std::copy(std::begin(scene.stars), std::end(scene.stars), before);

    RenderStarField();

    // The set-up took 4270 draws; r4271-r4273 = 3480, 12073, 10777.
    const Star& star0 = scene.stars[0];
    EXPECT_FLOAT_EQ(star0.distance, 4.99f);
    EXPECT_LT(star0.distance, 5.0f);
    EXPECT_EQ(star0.red, 152);
    EXPECT_EQ(star0.green, 41);
    EXPECT_EQ(star0.blue, 25);
    EXPECT_EQ(RandomDrawCount(), 4273u) << "only star 0 reaches the axis";
    for (int i = 1; i < StarCount; ++i) {
        EXPECT_EQ(scene.stars[i].distance, before[i].distance - 0.01f);
        EXPECT_FLOAT_EQ(scene.stars[i].angle, i / 50.0f);
        EXPECT_EQ(scene.stars[i].red, before[i].red);
    }
    EXPECT_NEAR(scene.starSpin, 0.5f, 1e-5);
}

TEST_F(StarFieldTest, DistancesStayWithinTheFieldAndStarsRespawnInTheSamePass) {
    NothingDrawn fast;
    for (int pass = 1; pass <= 600; ++pass) {
        Star before[StarCount];
        std::copy(std::begin(scene.stars), std::end(scene.stars), before);
        uint64_t drawn = RandomDrawCount();
        RenderStarField();
        uint64_t respawns = 0;
        for (int i = 0; i < StarCount; ++i) {
            const Star& s = scene.stars[i];
            ASSERT_TRUE(s.distance >= 0.0f && s.distance <= 5.0f) << "star " << i << ", pass " << pass;
            float moved = before[i].distance - 0.01f;
            if (moved < 0.0f) {
                ++respawns;
                EXPECT_EQ(s.distance, moved + 5.0f);
            } else {
                EXPECT_EQ(s.distance, moved);
            }
        }
        ASSERT_EQ(RandomDrawCount() - drawn, 3 * respawns) << "three colour draws per respawn";
    }
    // 0.5 per pass, never wrapped.
    EXPECT_NEAR(scene.starSpin, 300.0f, 0.3f);
}

// The polygons of one pass, grouped per sprite (GL may split each quad into several).
std::vector<FeedbackPolygon> Sprites(const std::vector<FeedbackPolygon>& polygons, size_t sprites) {
    std::vector<FeedbackPolygon> grouped;
    if (polygons.empty() || polygons.size() % sprites != 0) {
        ADD_FAILURE() << polygons.size() << " polygons for " << sprites << " sprites";
        return grouped;
    }
    size_t per = polygons.size() / sprites;
    for (size_t i = 0; i < polygons.size(); i += per) {
        FeedbackPolygon sprite;
        for (size_t k = i; k < i + per; ++k)
            sprite.insert(sprite.end(), polygons[k].begin(), polygons[k].end());
        grouped.push_back(sprite);
    }
    return grouped;
}

::testing::AssertionResult DrawnIn(const FeedbackPolygon& sprite, const Star& colour) {
    for (const FeedbackVertex& v : sprite) {
        int r = static_cast<int>(std::lround(v.r * 255)), g = static_cast<int>(std::lround(v.g * 255)),
            b = static_cast<int>(std::lround(v.b * 255));
        if (r != colour.red || g != colour.green || b != colour.blue || v.a != 1.0f)
            return ::testing::AssertionFailure()
                   << "drawn in " << r << "," << g << "," << b << "," << v.a << " instead of " << colour.red
                   << "," << colour.green << "," << colour.blue << ",255";
    }
    return ::testing::AssertionSuccess();
}

TEST_F(StarFieldTest, TwinkleDrawsTheMirrorStarFirstInItsColourOfThatMoment) {
    Star before[StarCount];
    std::copy(std::begin(scene.stars), std::end(scene.stars), before);
    scene.twinkleOn = true;
    std::vector<FeedbackPolygon> sprites = Sprites(CaptureFeedback(RenderStarField), 2 * StarCount);
    ASSERT_EQ(sprites.size(), 2u * StarCount);

    // Star 0 respawned in this pass, before star 49 lent it its colour.
    ASSERT_FALSE(before[0].red == scene.stars[0].red && before[0].green == scene.stars[0].green &&
                 before[0].blue == scene.stars[0].blue);
    for (int i = 0; i < StarCount; ++i) {
        int mirror = StarCount - 1 - i;
        const Star& lent = i < 25 ? before[mirror] : scene.stars[mirror];
        EXPECT_TRUE(DrawnIn(sprites[2 * i], lent)) << "twinkle sprite of star " << i;
        EXPECT_TRUE(DrawnIn(sprites[2 * i + 1], before[i])) << "sprite of star " << i;
    }

    scene.twinkleOn = false;
    std::copy(std::begin(scene.stars), std::end(scene.stars), before);
    sprites = Sprites(CaptureFeedback(RenderStarField), StarCount);
    ASSERT_EQ(sprites.size(), 1u * StarCount);
    for (int i = 0; i < StarCount; ++i) EXPECT_TRUE(DrawnIn(sprites[i], before[i])) << "star " << i;
}

TEST_F(StarFieldTest, TheSpriteTurnsByTheSpinAndTheTwinkleSpriteDoesNot) {
    // Star 0 alone in view, a quarter of the way round its orbit, in a field tilted to face the
    // viewer: (2, 0, 0) turned by 90 degrees about y and then about x lies at (0, 2, 0).
    for (Star& star : scene.stars) star.distance = 1e6f;
    scene.stars[0].distance = 2.0f;
    scene.stars[0].angle = 90.0f;
    scene.starTilt = 90.0f;
    scene.starSpin = 30.0f;
    scene.twinkleOn = true;
    std::vector<FeedbackPolygon> sprites = Sprites(CaptureFeedback(RenderStarField), 2);
    ASSERT_EQ(sprites.size(), 2u);
    const std::vector<FeedbackPolygon> twinkle{sprites[0]}, own{sprites[1]};
    // The star is at (-5, 5 + 2, -40 - 15). The twinkle sprite lies square to the axes; the star's
    // own sprite is turned by the spin, 30 degrees: its corner (-1, -1) goes to (-0.366, -1.366).
    EXPECT_TRUE(DrawnAt(VertexWithTexCoord(twinkle, 0, 0), -6, 6, -55));
    EXPECT_TRUE(DrawnAt(VertexWithTexCoord(twinkle, 1, 1), -4, 8, -55));
    EXPECT_TRUE(DrawnAt(VertexWithTexCoord(own, 0, 0), -5.3660254, 5.6339746, -55));
    EXPECT_TRUE(DrawnAt(VertexWithTexCoord(own, 1, 0), -3.6339746, 6.6339746, -55));
    EXPECT_TRUE(DrawnAt(VertexWithTexCoord(own, 1, 1), -4.6339746, 8.3660254, -55));
}

} // namespace
