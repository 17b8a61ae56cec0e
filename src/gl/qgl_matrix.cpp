// The matrix stacks and the viewport: glMatrixMode, glLoadIdentity, glPush/PopMatrix, glTranslatef,
// glRotatef, glOrtho, gluPerspective, glViewport. The arithmetic follows Mesa's fixed-function
// path step for step, in float and in the same order, so that the products handed to the vertex
// shader are the very numbers Mesa hands to its own: vertex positions then match bit for bit.
#include <cmath>
#include <cstring>

#include "gl/qgl_internal.h"

namespace qgl {

namespace {

// Element (row, column) of a column-major matrix.
inline GLfloat& At(GLfloat* m, int row, int column) {
    return m[column * 4 + row];
}
inline GLfloat At(const GLfloat* m, int row, int column) {
    return m[column * 4 + row];
}

constexpr GLfloat Identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr double Pi = 3.14159265358979323846; // M_PI, which not every C library offers

void Multiply4(GLfloat* p, const GLfloat* a, const GLfloat* b) {
    for (int i = 0; i < 4; i++) {
        const GLfloat ai0 = At(a, i, 0), ai1 = At(a, i, 1), ai2 = At(a, i, 2), ai3 = At(a, i, 3);
        for (int j = 0; j < 4; j++)
            At(p, i, j) = ai0 * At(b, 0, j) + ai1 * At(b, 1, j) + ai2 * At(b, 2, j) + ai3 * At(b, 3, j);
    }
}

// Both matrices have (0, 0, 0, 1) as their last row.
void Multiply34(GLfloat* p, const GLfloat* a, const GLfloat* b) {
    for (int i = 0; i < 3; i++) {
        const GLfloat ai0 = At(a, i, 0), ai1 = At(a, i, 1), ai2 = At(a, i, 2), ai3 = At(a, i, 3);
        for (int j = 0; j < 3; j++) At(p, i, j) = ai0 * At(b, 0, j) + ai1 * At(b, 1, j) + ai2 * At(b, 2, j);
        At(p, i, 3) = ai0 * At(b, 0, 3) + ai1 * At(b, 1, 3) + ai2 * At(b, 2, 3) + ai3;
    }
    At(p, 3, 0) = At(p, 3, 1) = At(p, 3, 2) = 0.0f;
    At(p, 3, 3) = 1.0f;
}

// The current matrix times `m`.
void MultiplyCurrent(Context& context, const GLfloat* m, bool general, bool rigid) {
    Matrix factor;
    std::memcpy(factor.m, m, sizeof factor.m);
    factor.general = general;
    factor.rigid = rigid;
    Matrix& top = context.matrixMode == GL_PROJECTION ? context.projection.Top() : context.modelview.Top();
    Multiply(top, top, factor);
    context.stateChanged = true;
}

MatrixStack& CurrentStack(Context& context) {
    return context.matrixMode == GL_PROJECTION ? context.projection : context.modelview;
}

} // namespace

void LoadIdentity(Matrix& matrix) {
    std::memcpy(matrix.m, Identity, sizeof Identity);
    matrix.general = false;
    matrix.rigid = true;
}

void Multiply(Matrix& product, const Matrix& a, const Matrix& b) {
    GLfloat result[16];
    if (a.general || b.general)
        Multiply4(result, a.m, b.m);
    else
        Multiply34(result, a.m, b.m);
    std::memcpy(product.m, result, sizeof result);
    product.general = a.general || b.general;
    product.rigid = a.rigid && b.rigid;
}

void NormalMatrix(const Matrix& matrix, GLfloat (&rows)[9]) {
    const GLfloat* in = matrix.m;
    if (matrix.rigid) {
        // The inverse of a rotation is its transpose, so the inverse transpose is the matrix.
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++) rows[i * 3 + j] = At(in, i, j);
        return;
    }
    // Not reached by the program, which lights only under rotations and translations: the
    // adjugate over the determinant.
    GLfloat det = At(in, 0, 0) * (At(in, 1, 1) * At(in, 2, 2) - At(in, 2, 1) * At(in, 1, 2)) -
                  At(in, 0, 1) * (At(in, 1, 0) * At(in, 2, 2) - At(in, 2, 0) * At(in, 1, 2)) +
                  At(in, 0, 2) * (At(in, 1, 0) * At(in, 2, 1) - At(in, 2, 0) * At(in, 1, 1));
    if (std::fabs(det) < 1e-25f) {
        std::memset(rows, 0, sizeof rows);
        return;
    }
    det = 1.0f / det;
    GLfloat inverse[3][3] = {
        {(At(in, 1, 1) * At(in, 2, 2) - At(in, 2, 1) * At(in, 1, 2)) * det,
         -(At(in, 0, 1) * At(in, 2, 2) - At(in, 2, 1) * At(in, 0, 2)) * det,
         (At(in, 0, 1) * At(in, 1, 2) - At(in, 1, 1) * At(in, 0, 2)) * det},
        {-(At(in, 1, 0) * At(in, 2, 2) - At(in, 2, 0) * At(in, 1, 2)) * det,
         (At(in, 0, 0) * At(in, 2, 2) - At(in, 2, 0) * At(in, 0, 2)) * det,
         -(At(in, 0, 0) * At(in, 1, 2) - At(in, 1, 0) * At(in, 0, 2)) * det},
        {(At(in, 1, 0) * At(in, 2, 1) - At(in, 2, 0) * At(in, 1, 1)) * det,
         -(At(in, 0, 0) * At(in, 2, 1) - At(in, 2, 0) * At(in, 0, 1)) * det,
         (At(in, 0, 0) * At(in, 1, 1) - At(in, 1, 0) * At(in, 0, 1)) * det},
    };
    // Row i of the inverse transpose is column i of the inverse.
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) rows[i * 3 + j] = inverse[j][i];
}

void TransformPoint(const Matrix& matrix, const GLfloat (&point)[3], GLfloat (&result)[4]) {
    for (int i = 0; i < 4; i++)
        result[i] = At(matrix.m, i, 0) * point[0] + At(matrix.m, i, 1) * point[1] +
                    At(matrix.m, i, 2) * point[2] + At(matrix.m, i, 3);
}

} // namespace qgl

using namespace qgl;

void qglMatrixMode(GLenum mode) {
    if (!current) return;
    RunsWhileCompiling(*current);
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION)
        current->matrixMode = mode;
    else
        Diverge(QglRefusedValue);
}

void qglLoadIdentity() {
    if (!current) return;
    RunsWhileCompiling(*current);
    LoadIdentity(CurrentStack(*current).Top());
    current->stateChanged = true;
}

void qglPushMatrix() {
    if (!current) return;
    RunsWhileCompiling(*current);
    MatrixStack& stack = CurrentStack(*current);
    if (stack.top + 1 >= MatrixDepth) return Diverge(QglStackOverflow);
    stack.entries[stack.top + 1] = stack.entries[stack.top];
    stack.top++;
}

void qglPopMatrix() {
    if (!current) return;
    RunsWhileCompiling(*current);
    MatrixStack& stack = CurrentStack(*current);
    if (stack.top == 0) return Diverge(QglStackUnderflow);
    stack.top--;
    current->stateChanged = true;
}

void qglTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (!current) return;
    RunsWhileCompiling(*current);
    // Only the last column changes; Mesa works it out in place, without a multiplication.
    Matrix& top = CurrentStack(*current).Top();
    GLfloat* m = top.m;
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
    current->stateChanged = true;
}

void qglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (!current) return;
    RunsWhileCompiling(*current);
    if (angle == 0.0f) return; // no multiplication at all, as in Mesa
    // The angle is turned into radians in double and rounded to float for sinf and cosf.
    const GLfloat radians = static_cast<GLfloat>(angle * Pi / 180.0);
    const GLfloat s = std::sin(radians), c = std::cos(radians);
    GLfloat m[16];
    std::memcpy(m, Identity, sizeof m);
    // A turn about one axis puts sine and cosine in place; any other axis is normalised first.
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        At(m, 0, 0) = c;
        At(m, 1, 1) = c;
        At(m, 0, 1) = z < 0.0f ? s : -s;
        At(m, 1, 0) = z < 0.0f ? -s : s;
    } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
        At(m, 0, 0) = c;
        At(m, 2, 2) = c;
        At(m, 0, 2) = y < 0.0f ? -s : s;
        At(m, 2, 0) = y < 0.0f ? s : -s;
    } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
        At(m, 1, 1) = c;
        At(m, 2, 2) = c;
        At(m, 1, 2) = x < 0.0f ? s : -s;
        At(m, 2, 1) = x < 0.0f ? -s : s;
    } else {
        const GLfloat length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1.0e-4f) return;
        x /= length;
        y /= length;
        z /= length;
        const GLfloat xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
        const GLfloat xs = x * s, ys = y * s, zs = z * s, oneMinusC = 1.0f - c;
        At(m, 0, 0) = (oneMinusC * xx) + c;
        At(m, 0, 1) = (oneMinusC * xy) - zs;
        At(m, 0, 2) = (oneMinusC * zx) + ys;
        At(m, 1, 0) = (oneMinusC * xy) + zs;
        At(m, 1, 1) = (oneMinusC * yy) + c;
        At(m, 1, 2) = (oneMinusC * yz) - xs;
        At(m, 2, 0) = (oneMinusC * zx) - ys;
        At(m, 2, 1) = (oneMinusC * yz) + xs;
        At(m, 2, 2) = (oneMinusC * zz) + c;
    }
    MultiplyCurrent(*current, m, false, true);
}

void qglOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) {
    if (!current) return;
    RunsWhileCompiling(*current);
    // In float, from the arguments rounded to float.
    const GLfloat l = static_cast<GLfloat>(left), r = static_cast<GLfloat>(right);
    const GLfloat b = static_cast<GLfloat>(bottom), t = static_cast<GLfloat>(top);
    const GLfloat n = static_cast<GLfloat>(zNear), f = static_cast<GLfloat>(zFar);
    if (l == r || b == t || n == f) return Diverge(QglRefusedValue);
    GLfloat m[16] = {};
    At(m, 0, 0) = 2.0f / (r - l);
    At(m, 0, 3) = -(r + l) / (r - l);
    At(m, 1, 1) = 2.0f / (t - b);
    At(m, 1, 3) = -(t + b) / (t - b);
    At(m, 2, 2) = -2.0f / (f - n);
    At(m, 2, 3) = -(f + n) / (f - n);
    At(m, 3, 3) = 1.0f;
    MultiplyCurrent(*current, m, false, false);
}

void qgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    if (!current) return;
    RunsWhileCompiling(*current);
    // GLU works in double and hands the matrix over as doubles, which GL rounds to float.
    const double radians = fovy / 2 * Pi / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    double d[16] = {};
    d[0] = cotangent / aspect;
    d[5] = cotangent;
    d[10] = -(zFar + zNear) / deltaZ;
    d[11] = -1;
    d[14] = -2 * zNear * zFar / deltaZ;
    GLfloat m[16];
    for (int i = 0; i < 16; i++) m[i] = static_cast<GLfloat>(d[i]);
    MultiplyCurrent(*current, m, true, false);
}

void qglViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (!current) return;
    RunsWhileCompiling(*current);
    if (width < 0 || height < 0) return Diverge(QglRefusedValue);
    current->viewport[0] = x;
    current->viewport[1] = y;
    current->viewport[2] = width;
    current->viewport[3] = height;
    current->stateChanged = true;
}
