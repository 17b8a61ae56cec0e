#include "scene/frame.h"

#include "gl/opengl.h"

#include <cmath>

#include "scene/camera.h"
#include "scene/cube_swarm.h"
#include "overlay/help_panel.h"
#include "scene/particle_fountain.h"
#include "scene/scene_state.h"
#include "scene/star_field.h"

namespace {

constexpr float TriangleStep = 0.2f;
constexpr float QuadStep = 0.15f;
constexpr float TextPhaseStepA = 0.005f;
constexpr float TextPhaseStepB = 0.051f;
constexpr float BackdropHalfSize = 10.5f;
constexpr float BackdropStep = 0.1f;
constexpr float BackdropWrapAt = 20.0f;
constexpr float BackdropRestart = -160.0f;

// The triangle and the quad circle a point up and to the left of the scene's centre.
void ApplyGroupOffset() {
    glTranslatef(-5.0f, 5.0f, -40.0f);
    glTranslatef(0.0f, 0.0f, scene.sceneDepth);
    glTranslatef(0.0f, 0.0f, -5.0f);
}

void DrawTriangles() {
    ApplyCamera();
    ApplyGroupOffset();
    glRotatef(scene.triangleAngle, 0.0f, 1.0f, 0.0f);
    // The offset follows the turn, so the triangle circles the group point instead of spinning.
    glTranslatef(-1.5f, 0.0f, -1.0f);
    glBindTexture(GL_TEXTURE_2D, scene.textures[scene.filterIndex]);
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glColor3f(1.0f, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    // The slanted second face: its normal is deliberately not of unit length.
    glNormal3f(0.0f, -1.0f, -1.0f);
    glColor4f(0.0f, 0.0f, 1.0f, 0.5f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glColor3f(1.0f, 0.0f, 1.0f);
    glTexCoord2f(0.5f, 1.0f);
    glVertex3f(0.0f, 0.0f, -1.0f);
    glEnd();
}

void DrawQuad() {
    ApplyCamera();
    ApplyGroupOffset();
    glRotatef(scene.quadAngle, 0.0f, 0.5f, 1.0f);
    glTranslatef(1.5f, 0.0f, -1.0f);
    // The triangle's texture stays bound.
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glColor3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glEnd();
}

// Sets the colour and raster position for a line of text and advances the colour phases. No text
// is drawn: the font lists stay ready for it.
void TextStep() {
    ApplyCamera();
    glTranslatef(0.0f, 0.0f, -1.0f);
    glColor3f(std::cos(scene.textPhaseB), std::sin(scene.textPhaseA),
              1.0f - 0.5f * std::cos(scene.textPhaseA + scene.textPhaseB));
    glRasterPos2f(-0.45f, 0.0f);
    scene.textPhaseB += TextPhaseStepB;
    scene.textPhaseA += TextPhaseStepA;
}

void DrawBackdrop() {
    glDepthMask(GL_TRUE);
    ApplyCamera();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, scene.textures[2]); // always the mipmapped picture
    glBegin(GL_TRIANGLE_STRIP);
    glColor3f(1.0f, 1.0f, 1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(BackdropHalfSize, BackdropHalfSize, scene.backdropZ);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-BackdropHalfSize, BackdropHalfSize, scene.backdropZ);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(BackdropHalfSize, -BackdropHalfSize, scene.backdropZ);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-BackdropHalfSize, -BackdropHalfSize, scene.backdropZ);
    glEnd();
    scene.backdropZ += BackdropStep;
    if (scene.backdropZ > BackdropWrapAt) scene.backdropZ = BackdropRestart;
}

} // namespace

bool RenderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    PrepareHelpPanel(); // uses the empty frame while the help panel is shown, and clears it again
    DrawTriangles();
    DrawQuad();
    scene.triangleAngle += TriangleStep;
    scene.quadAngle -= QuadStep;
    RenderStarField();
    RenderCubeSwarm();
    TextStep();
    DrawBackdrop();
    // Last of the scene: it leaves blending off, the depth test on and depth writes on for the
    // next frame.
    RenderParticleFountain();
    // Over everything; it puts back whatever GL state it changes.
    DrawHelpPanel();
    return true;
}
