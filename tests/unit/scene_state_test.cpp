#include <gtest/gtest.h>

#include "scene/scene_state.h"

TEST(SceneState, Placeholder) { EXPECT_EQ(scene.starTilt, 90.0f); }
