#include "scene/camera.h"

#include "gl/opengl.h"

#include "scene/scene_state.h"

void ApplyCamera() {
    glLoadIdentity();
    int32_t deltaX = scene.lookDeltaX;
    int32_t deltaY = scene.lookDeltaY;
    scene.lookDeltaX = 0;
    scene.lookDeltaY = 0;
    // Only the first call of a frame finds movement; the others rebuild the same camera.
    // Each product is worked out exactly enough and rounded to a float once, before it is taken
    // off the angle.
    scene.cameraYaw -= static_cast<float>(deltaX * LookDegreesPerPixel);
    scene.cameraPitch -= static_cast<float>(deltaY * LookDegreesPerPixel);
    glRotatef(scene.cameraYaw, 0.0f, 1.0f, 0.0f);
    glRotatef(scene.cameraPitch, 1.0f, 0.0f, 0.0f);
    glTranslatef(scene.cameraX, scene.cameraY, scene.cameraZ);
}
