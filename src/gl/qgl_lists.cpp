// Display lists and bitmaps: glGenLists, glNewList/glEndList, glDeleteLists, glCallList(s) with
// glListBase; glRasterPos through the matrices and the viewport, with the raster colour taken from
// the current colour when the position is set; glBitmap.
// A list records the immediate-mode calls and bitmaps made while it is compiled (what the
// program's cube and font lists hold) and plays them back; other calls made meanwhile take effect
// at once (and raise QglCallWhileCompiling where GL would record them). A bitmap is unpacked when
// it is compiled, into runs of set pixels, and drawn as one window-aligned rectangle per run in the
// raster colour, which covers exactly its pixels. Bitmaps are drawn untextured and unlit, as the
// program draws them.
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

#include "gl/qgl_internal.h"

namespace qgl {

namespace {

constexpr int MaxCallDepth = 64;

DisplayList& CompileTarget(Context& context) {
    return context.compileBuffer;
}

void Execute(Context& context, GLuint name) {
    const auto found = context.lists.find(name);
    if (found == context.lists.end() || context.callDepth >= MaxCallDepth) return;
    context.callDepth++;
    const DisplayList& list = found->second;
    for (size_t i = 0; i < list.commands.size(); i++) {
        const ListCommand& c = list.commands[i];
        switch (c.op) {
        case ListCommand::Begin:
            qglBegin(c.a);
            break;
        case ListCommand::End:
            qglEnd();
            break;
        case ListCommand::Vertex:
            qglVertex3f(c.v[0], c.v[1], c.v[2]);
            break;
        case ListCommand::TexCoord:
            qglTexCoord2f(c.v[0], c.v[1]);
            break;
        case ListCommand::Color:
            qglColor4f(c.v[0], c.v[1], c.v[2], c.v[3]);
            break;
        case ListCommand::Normal:
            qglNormal3f(c.v[0], c.v[1], c.v[2]);
            break;
        case ListCommand::Bitmap:
            DrawBitmap(context, list.runs.data() + c.a, c.b, c.v[0], c.v[1], c.v[2], c.v[3]);
            break;
        case ListCommand::CallList:
            Execute(context, c.a);
            break;
        }
    }
    context.callDepth--;
}

// The offset of entry `i`; false for a type GL 1.1 names that the layer does not take, or none.
bool ListOffset(GLenum type, const GLvoid* lists, GLsizei i, GLuint& offset) {
    switch (type) {
    case GL_BYTE:
        offset = static_cast<GLuint>(static_cast<const GLbyte*>(lists)[i]);
        return true;
    case GL_UNSIGNED_BYTE:
        offset = static_cast<const GLubyte*>(lists)[i];
        return true;
    case GL_SHORT:
        offset = static_cast<GLuint>(static_cast<const GLshort*>(lists)[i]);
        return true;
    case GL_UNSIGNED_SHORT:
        offset = static_cast<const GLushort*>(lists)[i];
        return true;
    case GL_INT:
        offset = static_cast<GLuint>(static_cast<const GLint*>(lists)[i]);
        return true;
    case GL_UNSIGNED_INT:
        offset = static_cast<const GLuint*>(lists)[i];
        return true;
    case GL_FLOAT:
        offset = static_cast<GLuint>(static_cast<const GLfloat*>(lists)[i]);
        return true;
    default:
        return false;
    }
}

void RasterPosition(GLfloat x, GLfloat y, GLfloat z) {
    if (!current) return;
    Context& context = *current;
    RunsWhileCompiling(context);
    Current& c = context.current;
    Matrix mvp;
    Multiply(mvp, context.projection.Top(), context.modelview.Top());
    GLfloat clip[4];
    TransformPoint(mvp, {x, y, z}, clip);
    // A position outside the view volume is invalid: bitmaps then draw nothing and stay put.
    c.rasterValid = clip[3] > 0.0f && std::fabs(clip[0]) <= clip[3] && std::fabs(clip[1]) <= clip[3] &&
                    std::fabs(clip[2]) <= clip[3];
    if (!c.rasterValid) return;
    const GLint* v = context.viewport;
    const GLfloat inverseW = 1.0f / clip[3];
    const GLfloat halfWidth = 0.5f * static_cast<GLfloat>(v[2]),
                  halfHeight = 0.5f * static_cast<GLfloat>(v[3]);
    c.rasterPosition[0] = clip[0] * inverseW * halfWidth + (static_cast<GLfloat>(v[0]) + halfWidth);
    c.rasterPosition[1] = clip[1] * inverseW * halfHeight + (static_cast<GLfloat>(v[1]) + halfHeight);
    c.rasterPosition[2] = clip[2] * inverseW * 0.5f + 0.5f;
    c.rasterPosition[3] = clip[3];
    std::memcpy(c.rasterColor, c.color, sizeof c.rasterColor);
}

} // namespace

bool Recording(Context& context) {
    return context.compiling != 0 && context.callDepth == 0;
}

void RunsWhileCompiling(Context& context) {
    if (Recording(context)) Diverge(QglCallWhileCompiling);
}

void RecordCommand(Context& context, const ListCommand& command) {
    CompileTarget(context).commands.push_back(command);
}

void BitmapToRuns(Context& context, GLsizei width, GLsizei height, const GLubyte* bitmap,
                  std::vector<BitmapRun>& runs) {
    if (width > MaxBitmapSide || height > MaxBitmapSide) return Diverge(QglRefusedValue); // 16-bit runs
    if (!bitmap || width <= 0 || height <= 0) return;
    const PixelStore& store = context.unpack;
    const size_t bits = static_cast<size_t>(store.rowLength > 0 ? store.rowLength : width);
    const size_t alignment = static_cast<size_t>(store.alignment);
    const size_t stride = ((bits + 7) / 8 + alignment - 1) / alignment * alignment;
    for (GLsizei y = 0; y < height; y++) {
        const GLubyte* row = bitmap + (store.skipRows + y) * stride;
        int start = -1;
        for (GLsizei x = 0; x <= width; x++) {
            bool set = false;
            if (x < width) {
                const size_t bit = static_cast<size_t>(store.skipPixels + x);
                const int shift = store.lsbFirst ? static_cast<int>(bit % 8) : 7 - static_cast<int>(bit % 8);
                set = (row[bit / 8] >> shift) & 1;
            }
            if (set && start < 0) start = x;
            if (!set && start >= 0) {
                runs.push_back(BitmapRun{static_cast<int16_t>(start), static_cast<int16_t>(y),
                                         static_cast<int16_t>(x - start)});
                start = -1;
            }
        }
    }
}

void DrawBitmap(Context& context, const BitmapRun* runs, size_t count, GLfloat xorig, GLfloat yorig,
                GLfloat xmove, GLfloat ymove) {
    Current& c = context.current;
    if (!c.rasterValid) return;
    if (count > 0) {
        // The lower-left corner on a whole pixel, with Mesa's allowance for a position just short
        // of one.
        const GLfloat left = std::floor(c.rasterPosition[0] - xorig + 0.0001f);
        const GLfloat bottom = std::floor(c.rasterPosition[1] - yorig + 0.0001f);
        const GLfloat z = 2.0f * c.rasterPosition[2] - 1.0f;
        PrepareSegment(context, true);
        Vertex v = {{0, 0, z},
                    {c.rasterColor[0], c.rasterColor[1], c.rasterColor[2], c.rasterColor[3]},
                    {0, 0, 1},
                    {0, 0}};
        for (size_t i = 0; i < count; i++) {
            const GLfloat x0 = left + runs[i].x, x1 = x0 + runs[i].length;
            const GLfloat y0 = bottom + runs[i].y, y1 = y0 + 1.0f;
            const GLfloat corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
            uint32_t first = 0;
            for (int k = 0; k < 4; k++) {
                v.position[0] = corners[k][0];
                v.position[1] = corners[k][1];
                const uint32_t index = AddVertex(context, v);
                if (k == 0) first = index;
            }
            AddTriangle(context, first, first + 1, first + 2);
            AddTriangle(context, first, first + 2, first + 3);
        }
    }
    c.rasterPosition[0] += xmove;
    c.rasterPosition[1] += ymove;
}

} // namespace qgl

using namespace qgl;

GLuint qglGenLists(GLsizei range) {
    if (!current) return 0;
    Context& context = *current;
    if (range < 0) Diverge(QglRefusedValue);
    // Names above every name used are free; 0 when there are not `range` of them left.
    if (range <= 0 || context.nextList + static_cast<uint64_t>(range) > uint64_t{1} << 32) return 0;
    const GLuint base = static_cast<GLuint>(context.nextList);
    context.nextList += static_cast<uint64_t>(range);
    return base;
}

void qglNewList(GLuint list, GLenum mode) {
    if (!current) return;
    Context& context = *current;
    if (list == 0 || context.compiling != 0 || (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE))
        return Diverge(QglRefusedValue);
    context.compiling = list;
    context.executeWhileCompiling = mode == GL_COMPILE_AND_EXECUTE;
    context.compileBuffer.commands.clear();
    context.compileBuffer.runs.clear();
}

void qglEndList() {
    if (!current) return;
    Context& context = *current;
    if (context.compiling == 0) return Diverge(QglRefusedValue);
    if (context.compiling >= context.nextList) context.nextList = uint64_t{context.compiling} + 1;
    DisplayList& list = context.lists[context.compiling];
    list.commands.swap(context.compileBuffer.commands);
    list.runs.swap(context.compileBuffer.runs);
    context.compiling = 0;
}

void qglDeleteLists(GLuint list, GLsizei range) {
    if (!current) return;
    Context& context = *current;
    if (range < 0) return Diverge(QglRefusedValue);
    // The names from `list` up, none past the last name.
    const uint64_t end = uint64_t{list} + static_cast<uint64_t>(range);
    for (auto it = context.lists.begin(); it != context.lists.end();)
        it = it->first >= list && it->first < end ? context.lists.erase(it) : std::next(it);
}

void qglCallList(GLuint list) {
    if (!current) return;
    Context& context = *current;
    if (Recording(context)) {
        RecordCommand(context, ListCommand{ListCommand::CallList, {}, list, 0});
        if (!context.executeWhileCompiling) return;
    }
    Execute(context, list);
}

void qglCallLists(GLsizei count, GLenum type, const GLvoid* lists) {
    if (!current) return;
    // A list records each list called with the base of the moment, where GL records the call.
    RunsWhileCompiling(*current);
    const GLuint base = current->listBase;
    GLuint offset = 0;
    if (count < 0 || (count > 0 && !ListOffset(type, lists, 0, offset))) return Diverge(QglRefusedValue);
    for (GLsizei i = 0; i < count; i++) {
        ListOffset(type, lists, i, offset);
        qglCallList(base + offset);
    }
}

void qglListBase(GLuint base) {
    if (!current) return;
    RunsWhileCompiling(*current);
    current->listBase = base;
}

void qglRasterPos2f(GLfloat x, GLfloat y) {
    RasterPosition(x, y, 0.0f);
}

void qglRasterPos2i(GLint x, GLint y) {
    RasterPosition(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0.0f);
}

void qglBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
               const GLubyte* bitmap) {
    if (!current) return;
    Context& context = *current;
    if (width < 0 || height < 0) return Diverge(QglRefusedValue);
    if (Recording(context)) {
        DisplayList& list = CompileTarget(context);
        const size_t first = list.runs.size();
        BitmapToRuns(context, width, height, bitmap, list.runs);
        const size_t count = list.runs.size() - first;
        RecordCommand(context, ListCommand{ListCommand::Bitmap,
                                           {xorig, yorig, xmove, ymove},
                                           static_cast<uint32_t>(first),
                                           static_cast<uint32_t>(count)});
        if (!context.executeWhileCompiling) return;
        DrawBitmap(context, list.runs.data() + first, count, xorig, yorig, xmove, ymove);
        return;
    }
    context.immediateRuns.clear();
    BitmapToRuns(context, width, height, bitmap, context.immediateRuns);
    DrawBitmap(context, context.immediateRuns.data(), context.immediateRuns.size(), xorig, yorig, xmove,
               ymove);
}
