// The particle fountain: draw, move, accelerate, age and respawn per particle, the Tab burst and
// the Shift scatter, and the keypad gravity with its bound tested before the step.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "platform/virtual_keys.h"
#include "scene/particle_fountain.h"
#include "scene/random.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

using ParticleTest = SceneTest;

std::vector<GLfloat> CurrentColour() {
    std::vector<GLfloat> colour(4);
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    return colour;
}

TEST_F(ParticleTest, FirstPassDrawsFullLifeThenMovesAcceleratesAndAges) {
    Particle start[ParticleCount];
    std::copy(std::begin(scene.particles), std::end(scene.particles), start);
    uint64_t drawn = RandomDrawCount();
    RenderParticleFountain();

    // The colour left behind is the last particle's as drawn: palette row 0, alpha = full life.
    EXPECT_EQ(CurrentColour(), (std::vector<GLfloat>{1.0f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(RandomDrawCount(), drawn) << "no particle dies in its first frame";
    for (int i = 0; i < ParticleCount; ++i) {
        const Particle& p = scene.particles[i];
        const Particle& s = start[i];
        SCOPED_TRACE("particle " + std::to_string(i));
        // The move uses the velocity from before the gravity, divided by slowdown x 1000.
        ASSERT_TRUE(p.x == s.velX / 2000.0f && p.y == s.velY / 2000.0f && p.z == s.velZ / 2000.0f);
        ASSERT_TRUE(p.velX == s.velX && p.velY == s.velY - 0.8f && p.velZ == s.velZ);
        ASSERT_EQ(p.life, 1.0f - s.lifeDecay);
    }
}

struct RespawnKeys {
    bool tab, shift;
};

void PrintTo(const RespawnKeys& keys, std::ostream* out) {
    *out << (keys.tab ? (keys.shift ? "TabAndShift" : "Tab") : (keys.shift ? "Shift" : "Neither"));
}

class Respawn : public SceneTest, public ::testing::WithParamInterface<RespawnKeys> {};

TEST_P(Respawn, TakesItsDrawsInOrderAndTheCurrentPaletteColour) {
    const RespawnKeys keys = GetParam();
    scene.keyDown[VK_TAB] = keys.tab;
    scene.keyDown[VK_SHIFT] = keys.shift;
    scene.paletteIndex = 5;
    scene.launchSpeedX = 100.0f;
    scene.launchSpeedY = -50.0f;
    for (Particle& p : scene.particles) {
        p.life = 0.001f; // below every decay: all of them die in this pass
        p.x = 3.0f;
        p.gravX = 0.7f;
        p.gravY = -0.3f;
        p.gravZ = 0.2f;
    }
    // Four draws for every respawn, three more for the burst, ten more for the scatter; with
    // both keys the burst's draws are made and then overwritten.
    const int per = 4 + (keys.tab ? 3 : 0) + (keys.shift ? 10 : 0);
    std::vector<int> draws = UpcomingDraws(per * ParticleCount);
    uint64_t drawn = RandomDrawCount();
    RenderParticleFountain();
    EXPECT_EQ(RandomDrawCount() - drawn, static_cast<uint64_t>(per * ParticleCount));
    EXPECT_EQ(CurrentColour(), (std::vector<GLfloat>{1.0f, 0.5f, 0.5f, 0.001f})) << "drawn before dying";

    float low = 1, high = -1;
    for (int i = 0; i < ParticleCount; ++i) {
        const Particle& p = scene.particles[i];
        const int* d = &draws[static_cast<size_t>(i * per)];
        SCOPED_TRACE("particle " + std::to_string(i));
        ASSERT_EQ(p.life, 1.0f);
        ASSERT_TRUE(p.red == 0.5f && p.green == 1.0f && p.blue == 0.75f) << "palette row 5";
        if (keys.shift) {
            const int* s = d + (keys.tab ? 7 : 4);
            ASSERT_FLOAT_EQ(p.x, std::sin((s[0] % 50 - 25) / 100.0));
            ASSERT_FLOAT_EQ(p.y, std::sin((s[1] % 50 - 25) / 100.0));
            ASSERT_FLOAT_EQ(p.z, std::sin((s[2] % 50 - 25) / 100.0));
            ASSERT_EQ(p.velX, (s[3] % 50 - 26) * 10.0f);
            ASSERT_EQ(p.velY, (s[4] % 50 - 26) * 10.0f);
            ASSERT_EQ(p.velZ, (s[5] % 50 - 26) * 10.0f);
            ASSERT_EQ(p.gravX, s[6] % 5 - 2.5f);
            ASSERT_EQ(p.gravY, s[7] % 5 - 2.5f);
            ASSERT_EQ(p.gravZ, s[8] % 5 - 2.5f);
            ASSERT_FLOAT_EQ(p.lifeDecay, (s[9] % 100) / 10000.0 + 0.0003);
            low = std::min({low, p.x, p.y, p.z});
            high = std::max({high, p.x, p.y, p.z});
            continue;
        }
        ASSERT_TRUE(p.x == 0.0f && p.y == 0.0f && p.z == 0.0f) << "back at the launch point";
        ASSERT_FLOAT_EQ(p.lifeDecay, (d[0] % 100) / 1000.0 + 0.003);
        if (keys.tab) {
            ASSERT_EQ(p.velX, (d[4] % 50 - 26) * 10.0f);
            ASSERT_EQ(p.velY, (d[5] % 50 - 25) * 10.0f);
            ASSERT_EQ(p.velZ, (d[6] % 50 - 25) * 10.0f);
        } else {
            ASSERT_EQ(p.velX, d[1] % 60 - 32 + 100.0f);
            ASSERT_EQ(p.velY, d[2] % 60 - 30 - 50.0f);
            ASSERT_EQ(p.velZ, d[3] % 60 - 30.0f);
        }
        ASSERT_TRUE(p.gravX == 0.7f && p.gravY == -0.3f && p.gravZ == 0.2f) << "gravity kept";
    }
    if (keys.shift) {
        EXPECT_GE(low, -0.2475f); // sin(-0.25)
        EXPECT_LE(high, 0.2384f);
    }

    // Reborn particles are first drawn in the next pass, with full alpha in the new colour.
    RenderParticleFountain();
    EXPECT_EQ(CurrentColour(), (std::vector<GLfloat>{0.5f, 1.0f, 0.75f, 1.0f}));
}

INSTANTIATE_TEST_SUITE_P(Keys, Respawn,
                         ::testing::Values(RespawnKeys{false, false}, RespawnKeys{true, false},
                                           RespawnKeys{false, true}, RespawnKeys{true, true}),
                         ::testing::PrintToStringParamName());

TEST_F(ParticleTest, KeypadGravityTestsEachBoundBeforeItsOwnStep) {
    constexpr float Step = 0.01f;
    struct Case {
        std::vector<uint32_t> keys;
        bool onY; // else gravX
        float start, expected;
    };
    const Case cases[] = {
        {{VK_NUMPAD8}, true, 1.495f, 1.495f + Step}, // may end beyond 1.5
        {{VK_NUMPAD8}, true, 1.5f, 1.5f},            // not raised at the bound
        {{VK_NUMPAD2}, true, -1.495f, -1.495f - Step},
        {{VK_NUMPAD2}, true, -1.5f, -1.5f},
        {{VK_NUMPAD8}, true, -2.5f, -2.5f + Step}, // outside the band: the inward key moves it
        {{VK_NUMPAD2}, true, -2.5f, -2.5f},        // and the outward key leaves it
        {{VK_NUMPAD6}, false, 1.49f, 1.49f + Step},
        {{VK_NUMPAD6}, false, 1.5f, 1.5f},
        {{VK_NUMPAD4}, false, 2.5f, 2.5f - Step},
        {{VK_NUMPAD6}, false, 2.5f, 2.5f},
        {{VK_NUMPAD4}, false, -1.5f, -1.5f},
        // 8 before 2 and 6 before 4: the lowering is tested on the value just raised.
        {{VK_NUMPAD8, VK_NUMPAD2}, true, -1.5f, (-1.5f + Step) - Step},
        {{VK_NUMPAD6, VK_NUMPAD4}, false, -1.5f, (-1.5f + Step) - Step},
    };
    for (Particle& p : scene.particles) p.active = false;
    Particle& p = scene.particles[0];
    p.active = true;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        p.gravX = 0.0f;
        p.gravY = -0.8f;
        (c.onY ? p.gravY : p.gravX) = c.start;
        for (uint32_t key : {VK_NUMPAD2, VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD8}) scene.keyDown[key] = false;
        for (uint32_t key : c.keys) scene.keyDown[key] = true;
        RenderParticleFountain();
        EXPECT_EQ(c.onY ? p.gravY : p.gravX, c.expected);
        EXPECT_EQ(c.onY ? p.gravX : p.gravY, c.onY ? 0.0f : -0.8f) << "the other component stays";
    }
}

} // namespace
