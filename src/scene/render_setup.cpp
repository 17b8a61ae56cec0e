#include "scene/render_setup.h"

#include "gl/opengl.h"

#include <algorithm>

#include "assets/font_lists.h"
#include "assets/textures.h"
#include "scene/cube_swarm.h"
#include "scene/particle_fountain.h"
#include "scene/scene_state.h"
#include "scene/star_field.h"

bool SetupScene() {
    // Without a single picture there is nothing worth drawing; nothing below happens then.
    LoadedTextures made;
    if (!LoadTextures(made)) return false;
    // A name is stored only when its picture loaded; otherwise the field keeps what it held.
    if (made.picture) std::copy(made.textures, made.textures + 3, scene.textures);
    if (made.star) scene.starTexture = made.starTexture;
    CreateCubeList();
    scene.fontBase = CreateFontLists(scene.deviceContext);

    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    // The modelview matrix is the identity here, so the light sits 2 units behind the viewpoint
    // and moves with the camera. Lighting itself stays off until the L key.
    glLightfv(GL_LIGHT1, GL_AMBIENT, SceneState::lightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, SceneState::lightDiffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, SceneState::lightPosition);
    glEnable(GL_LIGHT1);

    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE); // additive, whenever blending is on

    // The three tables draw from the one random sequence in this order: stars, cubes, particles.
    InitStarField();
    InitCubeSwarm();

    glEnable(GL_COLOR_MATERIAL);
    // Fog parameters are set for the fog key, but fog itself is never switched on.
    scene.fogModeIndex = 2;
    glFogi(GL_FOG_MODE, SceneState::fogModes[scene.fogModeIndex]);
    glFogfv(GL_FOG_COLOR, SceneState::fogColor);
    glFogf(GL_FOG_DENSITY, 0.35f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, 5.0f);
    glFogf(GL_FOG_END, 100.0f);

    InitParticleFountain();
    return true;
}
