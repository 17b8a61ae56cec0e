#include "scene/render_setup.h"

#include <GL/gl.h>

bool SetupScene() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    return true;
}
