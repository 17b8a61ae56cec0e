// Helpers for the scene tests: a context with the scene set up in it, 4 x 4 matrices to compare
// with what GL reports, and the primitives a draw call feeds back.
#pragma once

#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <functional>
#include <vector>

#include "support/test_support.h"

// A fresh offscreen context (small: these tests look at state, not at pictures) and the scene set
// up in it as at program start: projection first, then SetupScene.
class SceneTest : public ::testing::Test {
  protected:
    static constexpr int Width = 64;
    static constexpr int Height = 48;
    GlContext gl{Width, Height};
    void SetUp() override;
};

// Selection mode for the lifetime of the object: GL goes through every draw call but rasterises
// nothing, for tests that run many frames only for their arithmetic.
class NothingDrawn {
  public:
    NothingDrawn();
    ~NothingDrawn();

  private:
    GLuint names[4] = {};
};

// A column-major 4 x 4 matrix, as GL stores them.
struct Matrix {
    double m[16];
};
Matrix Identity();
Matrix Translation(double x, double y, double z);
// The matrix glRotate builds: `degrees` about the axis (x, y, z), which is normalised first.
Matrix Rotation(double degrees, double x, double y, double z);
Matrix operator*(const Matrix& a, const Matrix& b);
Matrix CurrentModelview();
::testing::AssertionResult MatricesNear(const Matrix& actual, const Matrix& expected,
                                        double tolerance = 1e-4);

// One primitive as GL feedback reports it: window coordinates, colour and texture coordinates of
// each vertex.
struct FeedbackVertex {
    float x, y, z, r, g, b, a, s, t;
};
using FeedbackPolygon = std::vector<FeedbackVertex>;
// Runs `draw` in feedback mode and returns the polygons it produced, in order.
std::vector<FeedbackPolygon> CaptureFeedback(const std::function<void()>& draw);
// The vertex of `polygons` with texture coordinate (s, t) (the first, if several), or null.
const FeedbackVertex* VertexWithTexCoord(const std::vector<FeedbackPolygon>& polygons, float s, float t);
// Whether GL drew `v` where a point with these eye coordinates belongs under the current projection
// and viewport.
::testing::AssertionResult DrawnAt(const FeedbackVertex* v, double x, double y, double z);

// `count` calls of the frame controls, as after `count` rendered frames.
void Frames(int count);
// A key down for one rendered frame's controls, then up for the next.
void Press(uint32_t key);
