// Immediate mode: glBegin/glEnd with the current colour, normal and texture coordinate kept across
// vertices, and quads and strips turned into triangles of the batch as llvmpipe splits them.
#include <cmath>

#include "gl/qgl_internal.h"

namespace qgl {

namespace {

bool OutsideView(const GLfloat (&mvp)[16], const GLfloat (&p)[3]) {
    GLfloat c[4];
    for (int i = 0; i < 4; i++)
        c[i] = std::fma(mvp[12 + i], 1.0f,
                        std::fma(mvp[8 + i], p[2], std::fma(mvp[4 + i], p[1], mvp[i] * p[0])));
    return c[0] > c[3] || 0.0f > c[0] + c[3] || c[1] > c[3] || 0.0f > c[1] + c[3] || 0.0f > c[2] + c[3] ||
           c[2] > c[3];
}

// Mesa turns each quad into two triangles: along the diagonal 0-2, (0 1 2) (0 2 3), when it draws
// the quads of a glBegin/glEnd as they are; along 1-3, (0 1 3) (1 2 3), when they come from a
// display list (drawn indexed) or pass through its clipper, which they all do once any vertex of
// the primitive lies outside the view volume.
void EmitQuads(Context& context) {
    const bool diagonal13 = context.fromList || context.outsideView;
    const uint32_t end = context.primitiveFirst + 4 * static_cast<uint32_t>(context.primitiveVertices / 4);
    for (uint32_t q = context.primitiveFirst; q < end; q += 4) {
        if (diagonal13) {
            AddTriangle(context, q, q + 1, q + 3);
            AddTriangle(context, q + 1, q + 2, q + 3);
        } else {
            AddTriangle(context, q, q + 1, q + 2);
            AddTriangle(context, q, q + 2, q + 3);
        }
    }
}

void SetColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!current) return;
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Color, {r, g, b, a}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    GLfloat* color = context.current.color;
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
}
} // namespace

} // namespace qgl

using namespace qgl;

void qglBegin(GLenum mode) {
    if (!current) return;
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Begin, {}, mode, 0});
        if (!context.executeWhileCompiling) return;
    }
    if (mode != GL_TRIANGLES && mode != GL_QUADS && mode != GL_TRIANGLE_STRIP) Diverge(QglRefusedValue);
    if (context.vertices.size() > MaxBatchVertices) Flush(context); // a batch never grows without end
    context.primitive = mode;
    context.primitiveVertices = 0;
    context.inBegin = true;
    context.fromList = context.callDepth > 0;
    context.outsideView = false;
    context.primitiveFirst = static_cast<uint32_t>(context.vertices.size());
    PrepareSegment(context, false);
}

void qglEnd() {
    if (!current) return;
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::End, {}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    if (context.inBegin && context.primitive == GL_QUADS) EmitQuads(context);
    context.inBegin = false; // an unfinished triangle or quad is dropped
}

void qglVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!current) return;
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Vertex, {x, y, z, 0.0f}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    if (!context.inBegin) return;
    const Current& c = context.current;
    Vertex v = {{x, y, z},
                {c.color[0], c.color[1], c.color[2], c.color[3]},
                {c.normal[0], c.normal[1], c.normal[2]},
                {c.texCoord[0], c.texCoord[1]}};
    const uint32_t index = AddVertex(context, v);
    const int n = context.primitiveVertices++;
    uint32_t* held = context.held;
    switch (context.primitive) {
    case GL_TRIANGLES:
        if (n % 3 == 2) AddTriangle(context, index - 2, index - 1, index);
        break;
    case GL_QUADS:
        if (!context.outsideView && OutsideView(context.segments.back().state.mvp, v.position))
            context.outsideView = true;
        break;
    case GL_TRIANGLE_STRIP:
        // Every other triangle swaps its first two vertices, which keeps the strip's winding.
        if (n >= 2) {
            if (n % 2 == 0)
                AddTriangle(context, held[0], held[1], index);
            else
                AddTriangle(context, held[1], held[0], index);
            held[0] = held[1];
            held[1] = index;
        } else {
            held[n] = index;
        }
        break;
    default:
        break;
    }
}

void qglVertex2i(GLint x, GLint y) {
    qglVertex3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0.0f);
}

void qglNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!current) return;
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::Normal, {x, y, z, 0.0f}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    context.current.normal[0] = x;
    context.current.normal[1] = y;
    context.current.normal[2] = z;
}

void qglTexCoord2f(GLfloat s, GLfloat t) {
    if (!current) return;
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::TexCoord, {s, t, 0.0f, 0.0f}, 0, 0});
        if (!context.executeWhileCompiling) return;
    }
    context.current.texCoord[0] = s;
    context.current.texCoord[1] = t;
}

void qglColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    SetColor(red, green, blue, 1.0f);
}

void qglColor3fv(const GLfloat* rgb) {
    SetColor(rgb[0], rgb[1], rgb[2], 1.0f);
}

void qglColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    SetColor(red, green, blue, alpha);
}

void qglColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha) {
    SetColor(red / 255.0f, green / 255.0f, blue / 255.0f, alpha / 255.0f);
}

void qglRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
    qglBegin(GL_QUADS);
    qglVertex2i(x1, y1);
    qglVertex2i(x2, y1);
    qglVertex2i(x2, y2);
    qglVertex2i(x1, y2);
    qglEnd();
}
