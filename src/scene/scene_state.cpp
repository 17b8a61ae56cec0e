#include "scene/scene_state.h"

SceneState scene;

void ResetSceneState() {
    // The record is large (the particle table alone is 60 KB), so reset it in place rather than
    // through a temporary on the stack.
    static const SceneState initial;
    scene = initial;
}
