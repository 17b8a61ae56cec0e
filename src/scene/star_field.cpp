#include "scene/star_field.h"

#include "gl/opengl.h"

#include "scene/camera.h"
#include "scene/random.h"
#include "scene/scene_state.h"

namespace {

constexpr float FieldRadius = 5.0f;
constexpr float InwardStep = 0.01f;
constexpr float SpinStep = 0.01f; // after every star, so 0.5 per frame

void RandomColour(Star& star) {
    star.red = NextRandom() % 256;
    star.green = NextRandom() % 256;
    star.blue = NextRandom() % 256;
}

// A 2 x 2 textured square in the local x-y plane; no colour or normal of its own.
void DrawStarQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
}

void SetColour(const Star& star) {
    glColor4ub(static_cast<GLubyte>(star.red), static_cast<GLubyte>(star.green),
               static_cast<GLubyte>(star.blue), 255);
}

} // namespace

void InitStarField() {
    for (int i = 0; i < StarCount; ++i) {
        Star& star = scene.stars[i];
        star.angle = 0.0f;
        star.distance = static_cast<float>(i) / StarCount * FieldRadius;
        RandomColour(star);
    }
}

void RenderStarField() {
    glBindTexture(GL_TEXTURE_2D, scene.starTexture);
    for (int i = 0; i < StarCount; ++i) {
        Star& star = scene.stars[i];
        ApplyCamera();
        glTranslatef(-5.0f, 5.0f, -40.0f);
        glTranslatef(0.0f, 0.0f, scene.sceneDepth);
        // Out to the star on its orbit, then turn back so that every sprite faces the same way.
        glRotatef(scene.starTilt, 1.0f, 0.0f, 0.0f);
        glRotatef(star.angle, 0.0f, 1.0f, 0.0f);
        glTranslatef(star.distance, 0.0f, 0.0f);
        glRotatef(-star.angle, 0.0f, 1.0f, 0.0f);
        glRotatef(-scene.starTilt, 1.0f, 0.0f, 0.0f);
        if (scene.twinkleOn) {
            // The mirror star lends its colour; past the middle it has already moved this frame.
            SetColour(scene.stars[StarCount - 1 - i]);
            DrawStarQuad();
        }
        glRotatef(scene.starSpin, 0.0f, 0.0f, 1.0f);
        SetColour(star);
        DrawStarQuad();

        scene.starSpin += SpinStep;
        star.angle += static_cast<float>(i) / StarCount;
        star.distance -= InwardStep;
        if (star.distance < 0.0f) {
            // Back at the rim, a little short of it, with a new colour.
            star.distance += FieldRadius;
            RandomColour(star);
        }
    }
}
