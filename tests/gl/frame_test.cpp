// One frame: the triangle and the quad as drawn (read back through GL feedback and from the
// framebuffer), the state the frame leaves for the next, the steps of its own animations, and the
// backdrop's wrap in single precision.
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <cmath>

#include "scene/frame.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

using FrameTest = SceneTest;

// Leaves only the triangle and the quad in view, with the camera at rest: the stars and boxes far
// off to the side, the particles out, the backdrop behind the viewer.
void OnlyTriangleAndQuad() {
    for (Star& s : scene.stars) s.distance = 1e6f;
    for (Cube& c : scene.cubes) c.x = 1e6f;
    for (Particle& p : scene.particles) p.active = false;
    scene.backdropZ = 19.0f;
}

struct Expected {
    float s, t;     // the vertex's texture coordinate, by which it is found
    double x, y, z; // where it belongs, worked out by hand
    float colour[4];
};

// Finds each expected vertex among polygons[first, first + count) by its texture coordinate and
// checks where it was drawn and in which colour. (The triangle's two faces come first in a frame,
// then the quad, which GL may feed back in pieces.)
void ExpectDrawn(const std::vector<FeedbackPolygon>& polygons, size_t first, size_t count,
                 const std::vector<Expected>& vertices, const char* what) {
    ASSERT_GE(polygons.size(), first + count) << what;
    std::vector<FeedbackPolygon> part(polygons.begin() + first, polygons.begin() + first + count);
    for (const Expected& e : vertices) {
        const FeedbackVertex* v = VertexWithTexCoord(part, e.s, e.t);
        SCOPED_TRACE(std::string(what) + ", texture coordinate " + std::to_string(e.s) + ", " +
                     std::to_string(e.t));
        EXPECT_TRUE(DrawnAt(v, e.x, e.y, e.z));
        const float drawn[4] = {v ? v->r : -1, v ? v->g : -1, v ? v->b : -1, v ? v->a : -1};
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(drawn[c], e.colour[c], 1e-3) << "channel " << c;
    }
}

TEST_F(FrameTest, TriangleAndQuadTurnAboutTheirAxesAroundTheGroupPoint) {
    OnlyTriangleAndQuad();
    scene.sceneDepth = -10.0f;
    scene.triangleAngle = 90.0f;
    scene.quadAngle = 180.0f;
    std::vector<FeedbackPolygon> polygons = CaptureFeedback(RenderFrame);
    ASSERT_GE(polygons.size(), 3u);
    ASSERT_EQ(polygons[0].size(), 3u);
    ASSERT_EQ(polygons[1].size(), 3u);
    // The group point is (-5, 5, -40 - 10 - 5). A quarter turn about y takes the triangle's corner
    // (x, y, z), offset by (-1.5, 0, -1), to (z - 1, y, 1.5 - x) from there.
    ExpectDrawn(polygons, 0, 1,
                {{0, 1, -6, 6, -53.5, {1, 0, 0, 1}},
                 {0, 0, -6, 4, -52.5, {0, 1, 0, 1}},
                 {1, 0, -6, 4, -54.5, {0, 0, 1, 1}}},
                "front face");
    ExpectDrawn(polygons, 1, 1,
                {{0, 0, -6, 4, -54.5, {0, 0, 1, 0.5f}},
                 {1, 0, -6, 4, -52.5, {0, 0, 1, 0.5f}},
                 {0.5f, 1, -7, 5, -53.5, {1, 0, 1, 1}}},
                "slanted face");
    // A half turn about (0, 0.5, 1) is the matrix (-1 0 0, 0 -0.6 0.8, 0 0.8 0.6); it takes the
    // quad's corner offset by (1.5, 0, -1) to (-x - 1.5, -0.6 y - 0.8, 0.8 y - 0.6).
    ExpectDrawn(polygons, 2, polygons.size() - 2,
                {{0, 1, -5.5, 3.6, -54.8, {1, 1, 0, 1}},
                 {1, 1, -7.5, 3.6, -54.8, {1, 1, 0, 1}},
                 {1, 0, -7.5, 4.8, -56.4, {1, 1, 0, 1}},
                 {0, 0, -5.5, 4.8, -56.4, {0, 1, 1, 1}}},
                "quad");
}

TEST_F(FrameTest, EachFaceIsLitWithItsOwnNormal) {
    OnlyTriangleAndQuad();
    // Diffuse light alone, from the direction (0, -3, 1): a face's colour is its vertex colour
    // times the dot product of its normal, as given, with that unit direction.
    const GLfloat direction[] = {0, -3, 1, 0}, none[] = {0, 0, 0, 1}, white[] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, direction);
    glLightfv(GL_LIGHT1, GL_AMBIENT, none);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glEnable(GL_LIGHTING);
    std::vector<FeedbackPolygon> polygons = CaptureFeedback(RenderFrame);
    const float facing = 0.316227766f;  // (0, 0, 1): 1 / sqrt(10)
    const float slanted = 0.632455532f; // (0, -1, -1), not of unit length: 2 / sqrt(10)
    // Unturned: the triangle's corners at the group point (-5, 5, -60) plus (-1.5, 0, -1).
    ExpectDrawn(polygons, 0, 1,
                {{0, 1, -6.5, 6, -61, {facing, 0, 0, 1}},
                 {0, 0, -7.5, 4, -61, {0, facing, 0, 1}},
                 {1, 0, -5.5, 4, -61, {0, 0, facing, 1}}},
                "front face");
    ExpectDrawn(polygons, 1, 1,
                {{0, 0, -5.5, 4, -61, {0, 0, slanted, 0.5f}},
                 {1, 0, -7.5, 4, -61, {0, 0, slanted, 0.5f}},
                 {0.5f, 1, -6.5, 5, -62, {slanted, 0, slanted, 1}}},
                "slanted face");
    ExpectDrawn(polygons, 2, polygons.size() - 2,
                {{0, 1, -4.5, 6, -61, {facing, facing, 0, 1}},
                 {1, 1, -2.5, 6, -61, {facing, facing, 0, 1}},
                 {1, 0, -2.5, 4, -61, {facing, facing, 0, 1}},
                 {0, 0, -4.5, 4, -61, {0, facing, facing, 1}}},
                "quad");
}

TEST_F(FrameTest, TheFilterKeysTextureIsBoundForTheTriangleAndTheQuad) {
    OnlyTriangleAndQuad();
    // Each of the three textures one plain colour: red, green, blue.
    for (int k = 0; k < 3; ++k) {
        GLubyte texel[3] = {0, 0, 0};
        texel[k] = 255;
        glBindTexture(GL_TEXTURE_2D, scene.textures[k]);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (k < 2)
            glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
        else
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, texel);
    }
    // Near enough for both to cover pixels: the group point 8 units ahead of the viewer.
    scene.cameraX = 5.0f;
    scene.cameraY = -5.0f;
    scene.cameraZ = 52.0f;
    // Pixels of the 64 x 48 window: the middle of the triangle's front face, and a point of the quad
    // near its cyan corner (on the diagonal between its yellow corners there is no blue to show).
    const int triangle[2] = {22, 22}, quad[2] = {37, 20};
    for (uint32_t filter = 0; filter < 3; ++filter) {
        scene.filterIndex = filter;
        RenderFrame();
        for (const int* at : {triangle, quad}) {
            GLubyte pixel[3];
            glReadPixels(at[0], at[1], 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
            for (uint32_t c = 0; c < 3; ++c)
                EXPECT_EQ(pixel[c] > 40, c == filter)
                    << "filter " << filter << ", pixel (" << at[0] << ", " << at[1] << "): " << int(pixel[0])
                    << ", " << int(pixel[1]) << ", " << int(pixel[2]);
        }
    }
}

TEST_F(FrameTest, EndsUnblendedWithDepthTestAndWritesAndTheStarTextureBound) {
    // Whatever the frame starts with, including what the blend key leaves.
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    RenderFrame();
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), scene.starTexture);
    EXPECT_NE(scene.starTexture, scene.textures[2]);
}

TEST_F(FrameTest, AdvancesEachAnimationOnceAndLeavesTheLightWithTheViewer) {
    scene.cameraYaw = 40.0f;
    scene.cameraX = 3.0f;
    RenderFrame();
    EXPECT_EQ(scene.triangleAngle, 0.2f);
    EXPECT_EQ(scene.quadAngle, -0.15f);
    EXPECT_EQ(scene.textPhaseA, 0.005f);
    EXPECT_EQ(scene.textPhaseB, 0.051f);
    EXPECT_NEAR(scene.starSpin, 0.5f, 1e-5);
    EXPECT_EQ(scene.backdropZ, -40.0f + 0.1f);
    float phaseA = scene.textPhaseA, phaseB = scene.textPhaseB;
    RenderFrame();
    EXPECT_EQ(scene.triangleAngle, 0.2f + 0.2f);
    EXPECT_EQ(scene.quadAngle, -0.15f - 0.15f);

    GLfloat light[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, light);
    EXPECT_TRUE(light[0] == 0 && light[1] == 0 && light[2] == 2 && light[3] == 1)
        << "placed once, under the identity";

    // The particle pass draws under the camera alone.
    Matrix camera = Rotation(40, 0, 1, 0) * Translation(3, 0, 0);
    EXPECT_TRUE(MatricesNear(CurrentModelview(), camera));

    // The text step: a colour from the phases before their step and a raster position one unit in
    // front of the camera; no text.
    GLfloat colour[4], position[4];
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    EXPECT_NEAR(colour[0], std::cos(phaseB), 1e-6);
    EXPECT_NEAR(colour[1], std::sin(phaseA), 1e-6);
    EXPECT_NEAR(colour[2], 1 - 0.5 * std::cos(phaseA + phaseB), 1e-6);
    GLdouble projection[16], x, y, z;
    GLint viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    Matrix text = camera * Translation(0, 0, -1);
    gluProject(-0.45, 0, 0, text.m, projection, viewport, &x, &y, &z);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_NEAR(position[0], x, 1e-3);
    EXPECT_NEAR(position[1], y, 1e-3);
}

TEST_F(FrameTest, BackdropFirstWrapsAtFrame600AndThenEvery1800) {
    // Only the backdrop's arithmetic matters here: skip the particles and the rasterising.
    for (Particle& p : scene.particles) p.active = false;
    NothingDrawn fast;

    std::vector<int> wraps;
    for (int frame = 1; frame <= 2400; ++frame) {
        float before = scene.backdropZ;
        RenderFrame();
        if (scene.backdropZ < before) {
            wraps.push_back(frame);
            EXPECT_EQ(scene.backdropZ, -160.0f);
            EXPECT_GT(before + 0.1f, 20.0f);
        } else {
            EXPECT_EQ(scene.backdropZ, before + 0.1f) << "frame " << frame;
        }
        if (HasFailure()) break;
    }
    EXPECT_EQ(wraps, (std::vector<int>{600, 2400}));

    // Exactly 20.0 is not past the end yet.
    scene.backdropZ = 20.0f - 0.1f;
    ASSERT_EQ(scene.backdropZ + 0.1f, 20.0f);
    RenderFrame();
    EXPECT_EQ(scene.backdropZ, 20.0f);
    RenderFrame();
    EXPECT_EQ(scene.backdropZ, -160.0f);
}

} // namespace
