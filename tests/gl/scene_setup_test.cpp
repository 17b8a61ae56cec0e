// The render set-up on a real context: the fixed GL state it leaves, the tables it fills from the
// random source, and a failed set-up that touches nothing.
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/main_window.h"
#include "scene/random.h"
#include "scene/render_setup.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

std::vector<GLfloat> Floats(GLenum name, int count) {
    std::vector<GLfloat> values(count);
    glGetFloatv(name, values.data());
    return values;
}
std::vector<GLfloat> Light1(GLenum name) {
    std::vector<GLfloat> values(4);
    glGetLightfv(GL_LIGHT1, name, values.data());
    return values;
}
GLint Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

using SetUpState = SceneTest;

TEST_F(SetUpState, FixedGlState) {
    struct Switch {
        GLenum capability;
        bool on;
    };
    for (Switch s : {Switch{GL_TEXTURE_2D, true}, Switch{GL_DEPTH_TEST, true}, Switch{GL_LIGHT1, true},
                     Switch{GL_LIGHTING, false}, Switch{GL_BLEND, false}, Switch{GL_COLOR_MATERIAL, true},
                     Switch{GL_FOG, false}, Switch{GL_CULL_FACE, false}})
        EXPECT_EQ(glIsEnabled(s.capability), s.on ? GL_TRUE : GL_FALSE)
            << "capability 0x" << std::hex << s.capability;

    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(Floats(GL_COLOR_CLEAR_VALUE, 4), (std::vector<GLfloat>{0, 0, 0, 0}));
    EXPECT_EQ(Floats(GL_DEPTH_CLEAR_VALUE, 1)[0], 1.0f);
    EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);

    EXPECT_EQ(Light1(GL_AMBIENT), (std::vector<GLfloat>{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(Light1(GL_DIFFUSE), (std::vector<GLfloat>{1, 1, 1, 1}));
    // Given under the identity, so in eye coordinates: 2 units behind the viewpoint.
    EXPECT_EQ(Light1(GL_POSITION), (std::vector<GLfloat>{0, 0, 2, 1}));

    EXPECT_EQ(Integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(Integer(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
    EXPECT_EQ(Integer(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
    EXPECT_EQ(Floats(GL_CURRENT_COLOR, 4), (std::vector<GLfloat>{1, 1, 1, 0.5f}));

    EXPECT_EQ(scene.fogModeIndex, 2u);
    EXPECT_EQ(Integer(GL_FOG_MODE), GL_LINEAR);
    EXPECT_EQ(Floats(GL_FOG_COLOR, 4), (std::vector<GLfloat>{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(Floats(GL_FOG_DENSITY, 1)[0], 0.35f);
    EXPECT_EQ(Floats(GL_FOG_START, 1)[0], 5.0f);
    EXPECT_EQ(Floats(GL_FOG_END, 1)[0], 100.0f);
    EXPECT_EQ(Integer(GL_FOG_HINT), GL_NICEST);

    EXPECT_EQ(glIsList(scene.cubeList), GL_TRUE);
    EXPECT_EQ(glIsList(scene.fontBase), GL_TRUE);
    EXPECT_EQ(glIsList(scene.fontBase + 95), GL_TRUE);
}

TEST(SetUpWithoutPictures, FailsAndTouchesNothing) {
    GlContext gl;
    ResetProgramState();
    SetProjection(640, 480);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    SceneState before = scene;

    TempDir empty;
    ScopedChdir inEmpty(empty.Path());
    EXPECT_FALSE(SetupScene());

    EXPECT_EQ(std::memcmp(&before, &scene, sizeof(SceneState)), 0) << "no field may change";
    EXPECT_EQ(RandomDrawCount(), 0u);
    EXPECT_EQ(glIsList(1), GL_FALSE);
    EXPECT_EQ(glIsTexture(1), GL_FALSE);
    for (GLenum capability : {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHT1, GL_COLOR_MATERIAL})
        EXPECT_EQ(glIsEnabled(capability), GL_FALSE) << "capability 0x" << std::hex << capability;
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ZERO);
    EXPECT_EQ(Integer(GL_FOG_MODE), GL_EXP);
    EXPECT_EQ(Floats(GL_COLOR_CLEAR_VALUE, 4), (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_EQ(Floats(GL_CURRENT_COLOR, 4), (std::vector<GLfloat>{1, 1, 1, 1}));
}

TEST(SetUpStores, OnlyTheNamesOfThePicturesThatLoaded) {
    GlContext gl;
    ResetProgramState();
    scene.deviceContext = gl.Dc();
    const GLuint held[3] = {901, 902, 903};
    std::copy(held, held + 3, scene.textures);
    scene.starTexture = 904;
    TempDir dir;
    std::filesystem::create_directory(dir.File("data"));
    std::filesystem::copy_file(std::string(QUORVANE_SOURCE_DIR) + "/data/star.bmp",
                               dir.File("data/star.bmp"));
    ScopedChdir inside(dir.Path());

    ASSERT_TRUE(SetupScene());
    EXPECT_TRUE(std::equal(held, held + 3, scene.textures)) << "t1.bmp is missing: its names stay";
    EXPECT_NE(scene.starTexture, 904u);
    EXPECT_EQ(glIsTexture(scene.starTexture), GL_TRUE);
    EXPECT_EQ(glIsList(scene.fontBase + 95), GL_TRUE);
}

void ExpectStar(const Star& s, int red, int green, int blue, float distance) {
    EXPECT_EQ(s.red, red);
    EXPECT_EQ(s.green, green);
    EXPECT_EQ(s.blue, blue);
    EXPECT_FLOAT_EQ(s.distance, distance);
    EXPECT_EQ(s.angle, 0.0f);
}

void ExpectCube(const Cube& c, int red, int green, int blue, float x, float y, float spinX, float spinY,
                float spinZ) {
    EXPECT_EQ(c.red, red);
    EXPECT_EQ(c.green, green);
    EXPECT_EQ(c.blue, blue);
    EXPECT_FLOAT_EQ(c.x, x);
    EXPECT_FLOAT_EQ(c.y, y);
    EXPECT_EQ(c.z, -10.0f);
    EXPECT_TRUE(c.rotX == 0.0f && c.rotY == 0.0f && c.rotZ == 0.0f);
    EXPECT_FLOAT_EQ(c.spinX, spinX);
    EXPECT_FLOAT_EQ(c.spinY, spinY);
    EXPECT_FLOAT_EQ(c.spinZ, spinZ);
}

void ExpectParticle(const Particle& p, float lifeDecay, float velX, float velY, float velZ) {
    EXPECT_FLOAT_EQ(p.lifeDecay, lifeDecay);
    EXPECT_EQ(p.velX, velX);
    EXPECT_EQ(p.velY, velY);
    EXPECT_EQ(p.velZ, velZ);
}

// Records worked out by hand from the random sequence (r1 = 41, r2 = 18467, ...): the set-up
// draws 3 per star, then 8 per cube, then 4 per particle, each record's in the order of its fields.
TEST(SetUpTables, DrawStarsThenCubesThenParticlesAndContinueTheSequence) {
    GlContext gl;
    ResetProgramState();
    ASSERT_TRUE(SetupScene());
    EXPECT_EQ(RandomDrawCount(), 4270u);
    // r1-r3 = 41, 18467, 6334; r148-r150 = 30, 157, 156 (mod 256).
    ExpectStar(scene.stars[0], 41, 35, 190, 0.0f);
    ExpectStar(scene.stars[49], 30, 157, 156, 4.9f);
    // r151-r158 = 6422, 24946, 27506, 13030, 16413, 29168, 900, 32591.
    ExpectCube(scene.cubes[0], 22, 114, 114, -2.0f, -3.7f, 0.3f, -0.5f, -0.4f);
    // r263-r270 = 23844, 1416, 21881, 31998, 10322, 18651, 10021, 5699.
    ExpectCube(scene.cubes[14], 36, 136, 121, 4.8f, -2.8f, -0.4f, -0.4f, 0.4f);
    // r271-r274 = 3557, 28476, 27892, 24389; r4267-r4270 = 17442, 21735, 32389, 20373.
    ExpectParticle(scene.particles[0], 0.06f, 0.0f, 170.0f, 140.0f);
    ExpectParticle(scene.particles[999], 0.045f, 90.0f, 140.0f, -20.0f);
    for (const Particle& p : scene.particles) {
        ASSERT_TRUE(p.active && p.life == 1.0f);
        ASSERT_TRUE(p.red == 1.0f && p.green == 0.5f && p.blue == 0.5f) << "palette row 0";
        ASSERT_TRUE(p.gravX == 0.0f && p.gravY == -0.8f && p.gravZ == 0.0f);
    }

    // From program start again: the same scene.
    SceneState first = scene;
    ResetProgramState();
    ASSERT_TRUE(SetupScene());
    EXPECT_EQ(std::memcmp(first.stars, scene.stars, sizeof(scene.stars)), 0);
    EXPECT_EQ(std::memcmp(first.cubes, scene.cubes, sizeof(scene.cubes)), 0);
    EXPECT_EQ(std::memcmp(first.particles, scene.particles, sizeof(scene.particles)), 0);

    // A second set-up (as after F1) goes on where the first left the sequence (r4271-r4273 =
    // 3480, 12073, 10777), and leaves the particles where they are.
    scene.particles[7].x = 1.5f;
    scene.particles[7].z = -2.0f;
    ASSERT_TRUE(SetupScene());
    EXPECT_EQ(RandomDrawCount(), 2 * 4270u);
    ExpectStar(scene.stars[0], 152, 41, 25, 0.0f);
    EXPECT_EQ(scene.particles[7].x, 1.5f);
    EXPECT_EQ(scene.particles[7].z, -2.0f);
}

} // namespace
