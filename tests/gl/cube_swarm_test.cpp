// The cube swarm: each box drawn with the rotations from before its step, and the open box in the
// display list.
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>
#include <utility>

#include "scene/cube_swarm.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

using CubeSwarmTest = SceneTest;

// Where the pass leaves the modelview matrix: at the last box, as drawn with these rotations.
Matrix LastBox(float rotX, float rotY, float rotZ) {
    const Cube& c = scene.cubes[CubeCount - 1];
    return Translation(0, 0, scene.sceneDepth) * Translation(c.x, c.y, c.z) * Rotation(rotX, 1, 0, 0) *
           Rotation(rotY, 0, 1, 0) * Rotation(rotZ, 0, 0, 1);
}

TEST_F(CubeSwarmTest, RotationsTakeEffectOneFrameAfterTheirStep) {
    scene.sceneDepth = -12.0f;
    const Cube& last = scene.cubes[CubeCount - 1];
    RenderCubeSwarm();
    EXPECT_TRUE(MatricesNear(CurrentModelview(), LastBox(0, 0, 0))) << "the first frame is unrotated";
    EXPECT_EQ(last.rotX, last.spinX);
    RenderCubeSwarm();
    EXPECT_TRUE(MatricesNear(CurrentModelview(), LastBox(last.spinX, last.spinY, last.spinZ)));

    // Every box: about n times its spin after n frames, and an axis with spin 0 never turns.
    Cube start[CubeCount];
    std::copy(std::begin(scene.cubes), std::end(scene.cubes), start);
    for (int frame = 3; frame <= 200; ++frame) RenderCubeSwarm();
    int stillAxes = 0;
    for (int i = 0; i < CubeCount; ++i) {
        const Cube& c = scene.cubes[i];
        using Axis = std::pair<float, float>; // rotation and spin
        for (auto [rot, spin] : {Axis{c.rotX, c.spinX}, Axis{c.rotY, c.spinY}, Axis{c.rotZ, c.spinZ}}) {
            EXPECT_NEAR(rot, 200 * spin, 1e-3) << "cube " << i;
            if (spin == 0.0f) {
                ++stillAxes;
                EXPECT_EQ(rot, 0.0f) << "cube " << i;
            }
        }
        EXPECT_TRUE(c.x == start[i].x && c.y == start[i].y && c.z == start[i].z && c.red == start[i].red);
    }
    EXPECT_GT(stillAxes, 0) << "the start-up table has boxes with a still axis";
}

// A corner of the box: position in the box's own frame and texture coordinate.
using Corner = std::tuple<int, int, int, float, float>;

TEST_F(CubeSwarmTest, TheBoxHasFiveTexturedFacesAndNoneOnTop) {
    // Draw the list alone, unlit and untransformed, under a projection that maps -2..2 onto the
    // viewport, so that feedback coordinates lead back to the box's own.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<FeedbackPolygon> polygons = CaptureFeedback([] { glCallList(scene.cubeList); });

    auto toBox = [](float window, int size) { return static_cast<int>(std::lround(window / size * 4 - 2)); };
    std::vector<std::vector<Corner>> faces;
    for (const FeedbackPolygon& polygon : polygons) {
        std::vector<Corner> corners;
        for (const FeedbackVertex& v : polygon) {
            // Window depth 0..1 stands for eye z 2..-2, that is box z 2..-2 under the identity.
            int z = static_cast<int>(std::lround(2 - v.z * 4));
            corners.emplace_back(toBox(v.x, Width), toBox(v.y, Height), z, v.s, v.t);
        }
        faces.push_back(corners);
    }
    // Merge the pieces GL split each face into: a face is the set of corners on one side.
    auto sideOf = [](const std::vector<Corner>& corners) {
        for (int axis = 0; axis < 3; ++axis)
            for (int value : {-1, 1}) {
                bool all = std::all_of(corners.begin(), corners.end(), [&](const Corner& c) {
                    int coordinate[3] = {std::get<0>(c), std::get<1>(c), std::get<2>(c)};
                    return coordinate[axis] == value;
                });
                if (all) return axis * 2 + (value > 0);
            }
        return -1;
    };
    std::vector<Corner> bySide[6];
    for (const auto& corners : faces) {
        int side = sideOf(corners);
        ASSERT_GE(side, 0) << "a polygon off the box's surface";
        for (const Corner& c : corners)
            if (std::find(bySide[side].begin(), bySide[side].end(), c) == bySide[side].end())
                bySide[side].push_back(c);
    }
    for (auto& corners : bySide) std::sort(corners.begin(), corners.end());

    auto face = [](std::vector<Corner> corners) {
        std::sort(corners.begin(), corners.end());
        return corners;
    };
    // Side index: axis * 2 + (1 for the + side); the corners with their texture coordinates.
    EXPECT_EQ(bySide[2], face({{-1, -1, -1, 1, 1}, {1, -1, -1, 0, 1}, {1, -1, 1, 0, 0}, {-1, -1, 1, 1, 0}}))
        << "bottom";
    EXPECT_EQ(bySide[5], face({{-1, -1, 1, 0, 0}, {1, -1, 1, 1, 0}, {1, 1, 1, 1, 1}, {-1, 1, 1, 0, 1}}))
        << "front";
    EXPECT_EQ(bySide[4], face({{-1, -1, -1, 1, 0}, {-1, 1, -1, 1, 1}, {1, 1, -1, 0, 1}, {1, -1, -1, 0, 0}}))
        << "back";
    EXPECT_EQ(bySide[1], face({{1, -1, -1, 1, 0}, {1, 1, -1, 1, 1}, {1, 1, 1, 0, 1}, {1, -1, 1, 0, 0}}))
        << "right";
    EXPECT_EQ(bySide[0], face({{-1, -1, -1, 0, 0}, {-1, -1, 1, 1, 0}, {-1, 1, 1, 1, 1}, {-1, 1, -1, 0, 1}}))
        << "left";
    EXPECT_TRUE(bySide[3].empty()) << "the box is open at +y";
}

} // namespace
