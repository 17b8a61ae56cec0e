// One frame: the state it leaves for the next, the steps of its own animations, and the backdrop's
// wrap in single precision.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "scene/frame.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

using FrameTest = SceneTest;

TEST_F(FrameTest, EndsUnblendedWithDepthTestAndWritesAndTheStarTextureBound) {
    // Whatever the frame starts with, including what the blend key leaves.
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    RenderFrame();
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), scene.starTexture);
    EXPECT_NE(scene.starTexture, scene.textures[2]);
}

TEST_F(FrameTest, AdvancesEachAnimationOnceAndLeavesTheLightWithTheViewer) {
    scene.cameraYaw = 40.0f;
    scene.cameraX = 3.0f;
    RenderFrame();
    EXPECT_EQ(scene.triangleAngle, 0.2f);
    EXPECT_EQ(scene.quadAngle, -0.15f);
    EXPECT_EQ(scene.textPhaseA, 0.005f);
    EXPECT_EQ(scene.textPhaseB, 0.051f);
    EXPECT_NEAR(scene.starSpin, 0.5f, 1e-5);
    EXPECT_EQ(scene.backdropZ, -40.0f + 0.1f);
    float phaseA = scene.textPhaseA, phaseB = scene.textPhaseB;
    RenderFrame();
    EXPECT_EQ(scene.triangleAngle, 0.2f + 0.2f);
    EXPECT_EQ(scene.quadAngle, -0.15f - 0.15f);

    GLfloat light[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, light);
    EXPECT_TRUE(light[0] == 0 && light[1] == 0 && light[2] == 2 && light[3] == 1)
        << "placed once, under the identity";

    // The particle pass draws under the camera alone.
    Matrix camera = Rotation(40, 0, 1, 0) * Translation(3, 0, 0);
    EXPECT_TRUE(MatricesNear(CurrentModelview(), camera));

    // The text step: a colour from the phases before their step and a raster position one unit in
    // front of the camera; no text.
    GLfloat colour[4], position[4];
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    EXPECT_NEAR(colour[0], std::cos(phaseB), 1e-6);
    EXPECT_NEAR(colour[1], std::sin(phaseA), 1e-6);
    EXPECT_NEAR(colour[2], 1 - 0.5 * std::cos(phaseA + phaseB), 1e-6);
    GLdouble projection[16], x, y, z;
    GLint viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    Matrix text = camera * Translation(0, 0, -1);
    gluProject(-0.45, 0, 0, text.m, projection, viewport, &x, &y, &z);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_NEAR(position[0], x, 1e-3);
    EXPECT_NEAR(position[1], y, 1e-3);
}

TEST_F(FrameTest, BackdropFirstWrapsAtFrame600AndThenEvery1800) {
    // Only the backdrop's arithmetic matters here: skip the particles and the rasterising.
    for (Particle& p : scene.particles) p.active = false;
    NothingDrawn fast;

    std::vector<int> wraps;
    for (int frame = 1; frame <= 2400; ++frame) {
        float before = scene.backdropZ;
        RenderFrame();
        if (scene.backdropZ < before) {
            wraps.push_back(frame);
            EXPECT_EQ(scene.backdropZ, -160.0f);
            EXPECT_GT(before + 0.1f, 20.0f);
        } else {
            EXPECT_EQ(scene.backdropZ, before + 0.1f) << "frame " << frame;
        }
        if (HasFailure()) break;
    }
    EXPECT_EQ(wraps, (std::vector<int>{600, 2400}));

    // Exactly 20.0 is not past the end yet.
    scene.backdropZ = 20.0f - 0.1f;
    ASSERT_EQ(scene.backdropZ + 0.1f, 20.0f);
    RenderFrame();
    EXPECT_EQ(scene.backdropZ, 20.0f);
    RenderFrame();
    EXPECT_EQ(scene.backdropZ, -160.0f);
}

} // namespace
