#include "scene/particle_fountain.h"

#include "gl/opengl.h"

#include <cmath>

#include "platform/virtual_keys.h"
#include "scene/camera.h"
#include "scene/random.h"
#include "scene/scene_state.h"

namespace {

constexpr float HalfSize = 0.5f;
constexpr float GravityStep = 0.01f;
constexpr float GravityBand = 1.5f;

float RandomLifeDecay() {
    return static_cast<float>(NextRandom() % 100) / 1000.0f + 0.003f;
}

// The fast spray of the set-up and the burst: x one of -260 ... 230, the other two -250 ... 240.
float SprayComponent(int offset) {
    return static_cast<float>((NextRandom() % 50 - offset) * 10);
}

void SetColour(Particle& p, uint32_t row) {
    p.red = SceneState::particlePalette[row][0];
    p.green = SceneState::particlePalette[row][1];
    p.blue = SceneState::particlePalette[row][2];
}

void Respawn(Particle& p, bool burst, bool scatter) {
    p.life = 1.0f;
    p.lifeDecay = RandomLifeDecay();
    p.x = p.y = p.z = 0.0f;
    p.velX = static_cast<float>(NextRandom() % 60 - 32) + scene.launchSpeedX;
    p.velY = static_cast<float>(NextRandom() % 60 - 30) + scene.launchSpeedY;
    p.velZ = static_cast<float>(NextRandom() % 60 - 30);
    SetColour(p, scene.paletteIndex);
    if (burst) {
        p.velX = SprayComponent(26);
        p.velY = SprayComponent(25);
        p.velZ = SprayComponent(25);
    }
    if (scatter) {
        // Tested after the burst, so with both keys held the scatter wins; the burst's draws
        // have still been made.
        p.x = static_cast<float>(std::sin((NextRandom() % 50 - 25) / 100.0));
        p.y = static_cast<float>(std::sin((NextRandom() % 50 - 25) / 100.0));
        p.z = static_cast<float>(std::sin((NextRandom() % 50 - 25) / 100.0));
        p.velX = SprayComponent(26);
        p.velY = SprayComponent(26);
        p.velZ = SprayComponent(26);
        p.gravX = static_cast<float>(NextRandom() % 5) - 2.5f;
        p.gravY = static_cast<float>(NextRandom() % 5) - 2.5f;
        p.gravZ = static_cast<float>(NextRandom() % 5) - 2.5f;
        p.lifeDecay = static_cast<float>(NextRandom() % 100) / 10000.0f + 0.0003f;
    }
    // An ordinary respawn and the burst keep the particle's gravity.
}

} // namespace

void InitParticleFountain() {
    for (int i = 0; i < ParticleCount; ++i) {
        Particle& p = scene.particles[i];
        p.active = true;
        p.life = 1.0f;
        p.lifeDecay = RandomLifeDecay();
        SetColour(p, 0);
        p.velX = SprayComponent(26);
        p.velY = SprayComponent(25);
        p.velZ = SprayComponent(25);
        p.gravX = 0.0f;
        p.gravY = -0.8f;
        p.gravZ = 0.0f;
    }
}

void RenderParticleFountain() {
    // Depth-tested but writing no depth: hidden by solid geometry, never by one another.
    glDepthMask(GL_FALSE);
    ApplyCamera();
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, scene.starTexture);
    const float divisor = scene.particleSlowdown * 1000.0f;
    for (int i = 0; i < ParticleCount; ++i) {
        Particle& p = scene.particles[i];
        if (!p.active) continue;

        float depth = scene.particleDepth + p.z;
        glColor4f(p.red, p.green, p.blue, p.life);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(p.x + HalfSize, p.y + HalfSize, depth);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(p.x - HalfSize, p.y + HalfSize, depth);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(p.x + HalfSize, p.y - HalfSize, depth);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(p.x - HalfSize, p.y - HalfSize, depth);
        glEnd();

        // Move with the velocity from before this frame's gravity.
        p.x += p.velX / divisor;
        p.y += p.velY / divisor;
        p.z += p.velZ / divisor;
        p.velX += p.gravX;
        p.velY += p.gravY;
        p.velZ += p.gravZ;
        p.life -= p.lifeDecay;
        if (p.life < 0.0f) Respawn(p, scene.keyDown[VK_TAB], scene.keyDown[VK_SHIFT]);

        // Each bound is tested before its own step, so a component may end 0.01 beyond it.
        if (scene.keyDown[VK_NUMPAD8] && p.gravY < GravityBand) p.gravY += GravityStep;
        if (scene.keyDown[VK_NUMPAD2] && p.gravY > -GravityBand) p.gravY -= GravityStep;
        if (scene.keyDown[VK_NUMPAD6] && p.gravX < GravityBand) p.gravX += GravityStep;
        if (scene.keyDown[VK_NUMPAD4] && p.gravX > -GravityBand) p.gravX -= GravityStep;
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
