// The camera: the modelview matrix it builds, and the look movement it folds in once per frame.
#include <gtest/gtest.h>

#include <iomanip>

#include "app/window_proc.h"
#include "support/scripted_platform.h"
#include "scene/camera.h"
#include "scene/frame.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

struct CameraCase {
    float yaw, pitch, x, y, z;
    int32_t deltaX, deltaY;
};

void PrintTo(const CameraCase& c, std::ostream* out) {
    *out << "yaw " << c.yaw << ", pitch " << c.pitch << ", position (" << c.x << ", " << c.y << ", " << c.z
         << "), look movement (" << c.deltaX << ", " << c.deltaY << ")";
}

class CameraMatrix : public SceneTest, public ::testing::WithParamInterface<CameraCase> {};

TEST_P(CameraMatrix, IsTurnThenTiltThenTranslationAndConsumesTheDeltas) {
    const CameraCase& c = GetParam();
    scene.cameraYaw = c.yaw;
    scene.cameraPitch = c.pitch;
    scene.cameraX = c.x;
    scene.cameraY = c.y;
    scene.cameraZ = c.z;
    scene.lookDeltaX = c.deltaX;
    scene.lookDeltaY = c.deltaY;
    glTranslatef(3.0f, 4.0f, 5.0f); // whatever was there before is replaced

    ApplyCamera();
    // The product of the delta and 0.4 is rounded to a float once, then subtracted in float.
    float yaw = c.yaw - static_cast<float>(c.deltaX * 0.4);
    float pitch = c.pitch - static_cast<float>(c.deltaY * 0.4);
    EXPECT_EQ(scene.cameraYaw, yaw) << std::setprecision(9) << scene.cameraYaw << " instead of " << yaw;
    EXPECT_EQ(scene.cameraPitch, pitch)
        << std::setprecision(9) << scene.cameraPitch << " instead of " << pitch;
    EXPECT_EQ(scene.lookDeltaX, 0);
    EXPECT_EQ(scene.lookDeltaY, 0);
    Matrix expected = Rotation(yaw, 0, 1, 0) * Rotation(pitch, 1, 0, 0) * Translation(c.x, c.y, c.z);
    EXPECT_TRUE(MatricesNear(CurrentModelview(), expected));

    // Called again with nothing gathered: the same camera.
    ApplyCamera();
    EXPECT_EQ(scene.cameraYaw, yaw);
    EXPECT_TRUE(MatricesNear(CurrentModelview(), expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, CameraMatrix,
    ::testing::Values(CameraCase{0, 0, 0, 0, 0, 0, 0}, CameraCase{0, 0, 1.5f, -2, 7, 0, 0},
                      CameraCase{30, 0, 0, 0, -3, 0, 0}, CameraCase{0, -45, 0, 2, 0, 0, 0},
                      CameraCase{10, 20, 1, 2, 3, 25, -50}, CameraCase{355, 100, -4, 0, 9, -1000, 7},
                      // 9 x 0.4 rounds to 3.5999999 in single precision; 9 x 0.4f to 3.6000001.
                      CameraCase{0, 0, 0, 0, 0, 9, -9}));

using CameraTest = SceneTest;

TEST_F(CameraTest, MovesBetweenTwoFramesAddUpAndTurnTheViewOnce) {
    ScriptedPlatform defaultHandling; // where the window procedure passes mouse messages on
    SetCurrentPlatform(&defaultHandling);
    auto mouse = [](uint32_t message, int x, int y) {
        MainWindowProc(nullptr, message, 0, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
    };
    mouse(WM_RBUTTONDOWN, 300, 200);
    mouse(WM_MOUSEMOVE, 290, 200); // 10 pixels left
    mouse(WM_MOUSEMOVE, 294, 200); // 4 pixels right
    RenderFrame();
    EXPECT_EQ(scene.cameraYaw, -2.4f);
    EXPECT_EQ(scene.cameraPitch, 0.0f);
    RenderFrame();
    EXPECT_EQ(scene.cameraYaw, -2.4f) << "no movement since the last frame";
    SetCurrentPlatform(nullptr);
}

} // namespace
