#include "scene/cube_swarm.h"

#include "gl/opengl.h"

#include "scene/camera.h"
#include "scene/random.h"
#include "scene/scene_state.h"

namespace {

struct CubeVertex {
    GLfloat s, t;
    GLfloat x, y, z;
};

// Bottom, front, back, right and left faces; the box is open at +y.
constexpr CubeVertex CubeVertices[20] = {
    {1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}, // bottom
    {0, 0, -1, -1, 1},  {1, 0, 1, -1, 1},  {1, 1, 1, 1, 1},  {0, 1, -1, 1, 1},  // front
    {1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}, // back
    {1, 0, 1, -1, -1},  {1, 1, 1, 1, -1},  {0, 1, 1, 1, 1},  {0, 0, 1, -1, 1},  // right
    {0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}, // left
};

float RandomSpin() {
    return static_cast<float>(NextRandom() % 10) / 10.0f - 0.5f;
}
float RandomPlace() {
    return static_cast<float>(NextRandom() % 100) / 10.0f - 5.0f;
}

} // namespace

void CreateCubeList() {
    scene.cubeList = glGenLists(1);
    glNewList(scene.cubeList, GL_COMPILE);
    glBegin(GL_QUADS);
    for (const CubeVertex& v : CubeVertices) {
        glTexCoord2f(v.s, v.t);
        glVertex3f(v.x, v.y, v.z);
    }
    glEnd();
    glEndList();
}

void InitCubeSwarm() {
    for (int i = 0; i < CubeCount; ++i) {
        Cube& cube = scene.cubes[i];
        cube.red = NextRandom() % 256;
        cube.green = NextRandom() % 256;
        cube.blue = NextRandom() % 256;
        cube.x = RandomPlace();
        cube.y = RandomPlace();
        cube.z = -10.0f;
        cube.rotX = cube.rotY = cube.rotZ = 0.0f;
        cube.spinX = RandomSpin();
        cube.spinY = RandomSpin();
        cube.spinZ = RandomSpin();
    }
}

void RenderCubeSwarm() {
    glBindTexture(GL_TEXTURE_2D, scene.starTexture);
    for (int i = 0; i < CubeCount; ++i) {
        Cube& cube = scene.cubes[i];
        ApplyCamera();
        glTranslatef(0.0f, 0.0f, scene.sceneDepth);
        glTranslatef(cube.x, cube.y, cube.z);
        glRotatef(cube.rotX, 1.0f, 0.0f, 0.0f);
        glRotatef(cube.rotY, 0.0f, 1.0f, 0.0f);
        glRotatef(cube.rotZ, 0.0f, 0.0f, 1.0f);
        // This frame is drawn with the rotations from before the step.
        cube.rotX += cube.spinX;
        cube.rotY += cube.spinY;
        cube.rotZ += cube.spinZ;
        glColor4ub(static_cast<GLubyte>(cube.red), static_cast<GLubyte>(cube.green),
                   static_cast<GLubyte>(cube.blue), 255);
        glCallList(scene.cubeList);
    }
}
