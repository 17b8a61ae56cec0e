#include "scene/frame.h"

#include <GL/gl.h>

bool RenderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}
