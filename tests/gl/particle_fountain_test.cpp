// The particle fountain: draw, move, accelerate, age and respawn per particle, the Tab burst and
// the Shift scatter, and the keypad gravity with its bound tested before the step.
#include <gtest/gtest.h>

#include "gl/opengl.h"

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
    RenderParticleFountain();

    // The colour left behind is the last particle's as drawn: palette row 0, alpha = full life.
    EXPECT_EQ(CurrentColour(), (std::vector<GLfloat>{1.0f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(RandomDrawCount(), 4270u) << "no particle dies in its first frame";
    // Particle 0 left the set-up with velocity (0, 170, 140) and decay 0.06, particle 999 with
    // (90, 140, -20) and 0.045. The move uses the velocity from before the gravity, divided by
    // slowdown x 1000.
    const Particle& first = scene.particles[0];
    EXPECT_EQ(first.x, 0.0f);
    EXPECT_FLOAT_EQ(first.y, 0.085f);
    EXPECT_FLOAT_EQ(first.z, 0.07f);
    EXPECT_TRUE(first.velX == 0.0f && first.velY == 169.2f && first.velZ == 140.0f);
    EXPECT_FLOAT_EQ(first.life, 0.94f);
    const Particle& last = scene.particles[999];
    EXPECT_FLOAT_EQ(last.x, 0.045f);
    EXPECT_FLOAT_EQ(last.y, 0.07f);
    EXPECT_FLOAT_EQ(last.z, -0.01f);
    EXPECT_TRUE(last.velX == 90.0f && last.velY == 139.2f && last.velZ == -20.0f);
    EXPECT_FLOAT_EQ(last.life, 0.955f);
}

struct RespawnCase {
    const char* name;
    bool tab, shift;
    int draws;                                                       // per particle
    float x, y, z, velX, velY, velZ, gravX, gravY, gravZ, lifeDecay; // particle 0, by hand
};

void PrintTo(const RespawnCase& c, std::ostream* out) {
    *out << c.name;
}

class Respawn : public SceneTest, public ::testing::WithParamInterface<RespawnCase> {};

TEST_P(Respawn, TakesItsDrawsInOrderAndTheCurrentPaletteColour) {
    const RespawnCase& c = GetParam();
    scene.keyDown[VK_TAB] = c.tab;
    scene.keyDown[VK_SHIFT] = c.shift;
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
    RenderParticleFountain();
    EXPECT_EQ(RandomDrawCount(), 4270u + static_cast<uint64_t>(c.draws) * ParticleCount);
    EXPECT_EQ(CurrentColour(), (std::vector<GLfloat>{1.0f, 0.5f, 0.5f, 0.001f})) << "drawn before dying";

    // Particle 0 is reborn first, from r4271 on: 3480, 12073, 10777, 786, 8381, 31785, 522, 18345,
    // 20979, 16085, 15713, 30935, 19735, 30883, 2186, 16096, 20648.
    const Particle& p = scene.particles[0];
    EXPECT_FLOAT_EQ(p.x, c.x);
    EXPECT_FLOAT_EQ(p.y, c.y);
    EXPECT_FLOAT_EQ(p.z, c.z);
    EXPECT_EQ(p.velX, c.velX);
    EXPECT_EQ(p.velY, c.velY);
    EXPECT_EQ(p.velZ, c.velZ);
    EXPECT_EQ(p.gravX, c.gravX);
    EXPECT_EQ(p.gravY, c.gravY);
    EXPECT_EQ(p.gravZ, c.gravZ);
    EXPECT_FLOAT_EQ(p.lifeDecay, c.lifeDecay);
    for (const Particle& q : scene.particles) {
        ASSERT_EQ(q.life, 1.0f);
        ASSERT_TRUE(q.red == 0.5f && q.green == 1.0f && q.blue == 0.75f) << "palette row 5";
        // The scatter's offsets lie between sin(-0.25) and sin(0.24); everything else is reborn at
        // the launch point.
        for (float offset : {q.x, q.y, q.z})
            ASSERT_TRUE(c.shift ? offset >= -0.2475f && offset <= 0.2384f : offset == 0);
    }

    // Reborn particles are first drawn in the next pass, with full alpha in the new colour.
    RenderParticleFountain();
    EXPECT_EQ(CurrentColour(), (std::vector<GLfloat>{0.5f, 1.0f, 0.75f, 1.0f}));
}

// The launch bias (100, -50) counts for an ordinary respawn only; the burst's and the scatter's
// draws are made in turn, so that with both keys the scatter takes the burst's place in the
// sequence; only the scatter gives gravity (0.7, -0.3, 0.2 kept otherwise).
INSTANTIATE_TEST_SUITE_P(
    Keys, Respawn,
    ::testing::Values(RespawnCase{"Neither", false, false, 4, 0, 0, 0, 81, -43, -24, 0.7f, -0.3f, 0.2f,
                                  0.083f},
                      RespawnCase{"Tab", true, false, 7, 0, 0, 0, 50, 100, -30, 0.7f, -0.3f, 0.2f, 0.083f},
                      RespawnCase{"Shift", false, true, 14, 0.0599640065f, 0.0998334166f, -0.0299955002f, 190,
                                  30, 90, 0.5f, -2.5f, -2.5f, 0.0086f},
                      RespawnCase{"TabAndShift", true, true, 17, 0.198669331f, 0.0399893342f, 0.0998334166f,
                                  -130, 90, 90, 0.5f, -1.5f, -1.5f, 0.0051f}),
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
