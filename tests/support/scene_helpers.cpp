#include "support/scene_helpers.h"

#include "gl/opengl.h"

#include <cmath>
#include <sstream>

#include "app/main_window.h"
#include "scene/controls.h"
#include "scene/scene_state.h"
#include "scene/render_setup.h"

void SceneTest::SetUp() {
    ResetProgramState();
    scene.deviceContext = gl.Dc(); // the font lists are made with the window's device context
    SetProjection(Width, Height);
    ASSERT_TRUE(SetupScene()) << "data/t1.bmp and data/star.bmp are needed in the working folder";
}

NothingDrawn::NothingDrawn() {
    glSelectBuffer(4, names);
    glRenderMode(GL_SELECT);
}

NothingDrawn::~NothingDrawn() {
    glRenderMode(GL_RENDER);
}

Matrix Identity() {
    Matrix r{};
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0;
    return r;
}

Matrix Translation(double x, double y, double z) {
    Matrix r = Identity();
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}

Matrix Rotation(double degrees, double x, double y, double z) {
    double length = std::sqrt(x * x + y * y + z * z);
    x /= length;
    y /= length;
    z /= length;
    double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a), k = 1.0 - c;
    Matrix r = Identity();
    r.m[0] = x * x * k + c;
    r.m[1] = y * x * k + z * s;
    r.m[2] = x * z * k - y * s;
    r.m[4] = x * y * k - z * s;
    r.m[5] = y * y * k + c;
    r.m[6] = y * z * k + x * s;
    r.m[8] = x * z * k + y * s;
    r.m[9] = y * z * k - x * s;
    r.m[10] = z * z * k + c;
    return r;
}

Matrix operator*(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int i = 0; i < 4; ++i) r.m[col * 4 + row] += a.m[i * 4 + row] * b.m[col * 4 + i];
    return r;
}

Matrix CurrentModelview() {
    GLdouble values[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, values);
    Matrix r;
    for (int i = 0; i < 16; ++i) r.m[i] = values[i];
    return r;
}

::testing::AssertionResult MatricesNear(const Matrix& actual, const Matrix& expected, double tolerance) {
    for (int i = 0; i < 16; ++i) {
        if (std::fabs(actual.m[i] - expected.m[i]) > tolerance) {
            std::ostringstream out;
            out << "element " << i << " (column " << i / 4 << ", row " << i % 4 << "): " << actual.m[i]
                << " instead of " << expected.m[i];
            return ::testing::AssertionFailure() << out.str();
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<FeedbackPolygon> CaptureFeedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackPolygon> polygons;
    // Each vertex: x, y, z, then RGBA, then s, t, r, q.
    constexpr int VertexSize = 11;
    for (GLint i = 0; i < used;) {
        GLfloat token = buffer[i++];
        if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        }
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        int count = static_cast<int>(buffer[i++]);
        FeedbackPolygon polygon;
        for (int v = 0; v < count; ++v, i += VertexSize) {
            const GLfloat* f = &buffer[i];
            polygon.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
        }
        polygons.push_back(polygon);
    }
    return polygons;
}

const FeedbackVertex* VertexWithTexCoord(const std::vector<FeedbackPolygon>& polygons, float s, float t) {
    for (const FeedbackPolygon& polygon : polygons)
        for (const FeedbackVertex& v : polygon)
            if (v.s == s && v.t == t) return &v;
    return nullptr;
}

::testing::AssertionResult DrawnAt(const FeedbackVertex* v, double x, double y, double z) {
    if (!v) return ::testing::AssertionFailure() << "no such vertex was drawn";
    GLdouble projection[16], wx, wy, wz;
    GLint viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, Identity().m, projection, viewport, &wx, &wy, &wz);
    if (std::fabs(v->x - wx) > 1e-3 || std::fabs(v->y - wy) > 1e-3 || std::fabs(v->z - wz) > 1e-5)
        return ::testing::AssertionFailure()
               << "drawn at (" << v->x << ", " << v->y << ", " << v->z << ") in the window instead of (" << wx
               << ", " << wy << ", " << wz << ")";
    return ::testing::AssertionSuccess();
}

void Frames(int count) {
    for (int i = 0; i < count; ++i) HandleFrameControls();
}

void Press(uint32_t key) {
    scene.keyDown[key] = true;
    HandleFrameControls();
    scene.keyDown[key] = false;
    HandleFrameControls();
}
