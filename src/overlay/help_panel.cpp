#include "overlay/help_panel.h"

#include "gl/opengl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "overlay/frame_rate.h"
#include "overlay/key_guide.h"
#include "scene/scene_state.h"

namespace {

constexpr int FirstCharacter = 32; // the font lists start at the space
constexpr int CharacterCount = 96;
// The line with the frame rate and the frame number changes with every frame; it is drawn anew at
// most this often. Every other line is drawn anew as soon as its text changes.
constexpr double RateLineSeconds = 0.5;

// Layout, in pixels of the window.
constexpr int Margin = 12;
constexpr int Padding = 10;
constexpr int LineHeight = 25;
constexpr int BaselineOffset = 19; // from the top of a line to its baseline
constexpr int ValueLineCount = 6;
constexpr int MaxLines = 16;
constexpr int LineChars = 96;
constexpr GLfloat KeyColour[3] = {1.0f, 0.85f, 0.3f};
constexpr GLfloat ActionColour[3] = {1.0f, 1.0f, 1.0f};
constexpr GLfloat ValueColour[3] = {0.55f, 1.0f, 0.6f};
constexpr GLfloat PanelAlpha = 0.7f; // how much of the frame's light the panel takes away

struct PanelState {
    bool shown = false;

    // The panel's text, drawn with the font lists and kept as a picture in a texture of the
    // rendering context it was made in, line by line. A texture name means nothing in another
    // context: there it may name one of the scene's textures.
    GLuint texture = 0;
    RenderContext context = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    int viewWidth = 0; // the viewport the picture was made for
    int viewHeight = 0;
    bool lineDrawn[MaxLines]{};
    char lineText[MaxLines][LineChars]{}; // the value lines as the picture shows them
    double rateLineTime = 0.0;
};
PanelState panel;

const char* OnOff(bool on) {
    return on ? "on" : "off";
}

int GuideLineCount() {
    int lines = 0;
    for (int i = 0; i < KeyGuideSize; i++) lines += KeyGuide[i].newLine ? 1 : 0;
    return lines;
}

// Where the panel and its lines lie in the current viewport, in window pixels (y upwards).
struct Layout {
    int viewWidth = 0;
    int viewHeight = 0;
    int lines = 0;
    int lineTop[MaxLines] = {}; // the top edge of each line: the key guide, then the values
    int textLeft = 0;
    int textWidth = 0;
    int panelLeft = 0;
    int panelBottom = 0;
    int panelWidth = 0;
    int panelHeight = 0;
};

Layout PanelLayout() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    Layout layout;
    layout.viewWidth = viewport[2];
    layout.viewHeight = viewport[3];
    int panelTop = layout.viewHeight - Margin;
    int guideLines = GuideLineCount();
    int top = panelTop - Padding;
    for (int i = 0; i < guideLines + ValueLineCount && i < MaxLines; i++) {
        if (i == guideLines) top -= Padding; // a gap between the keys and the values
        layout.lineTop[layout.lines++] = top;
        top -= LineHeight;
    }
    layout.panelLeft = Margin;
    layout.panelBottom = top - Padding;
    layout.panelWidth = layout.viewWidth - 2 * Margin;
    layout.panelHeight = panelTop - layout.panelBottom;
    layout.textLeft = Margin + Padding;
    layout.textWidth = layout.panelWidth - 2 * Padding;
    return layout;
}

// Text in `colour` from the raster position where the previous text ended: each font list draws
// its glyph there and moves the position on. The colour of bitmaps is taken when the raster
// position is set, so the position is set again, in place, with the new colour.
void Write(const char* text, const GLfloat* colour) {
    GLfloat position[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    glColor3fv(colour);
    glRasterPos2f(position[0], position[1]);
    // List numbers count from `fontBase` (the list base), so that a character outside the 96
    // lists cannot reach some other list.
    GLubyte lists[LineChars];
    int count = 0;
    for (; text[count] && count < LineChars; count++) {
        int code = static_cast<unsigned char>(text[count]) - FirstCharacter;
        lists[count] = static_cast<GLubyte>(code >= 0 && code < CharacterCount ? code : '?' - FirstCharacter);
    }
    glCallLists(count, GL_UNSIGNED_BYTE, lists);
}

// Line `line` of the key guide: its entries, the keys in one colour and what they do in another.
void WriteGuideLine(int line) {
    int at = -1;
    for (int i = 0; i < KeyGuideSize; i++) {
        at += KeyGuide[i].newLine ? 1 : 0;
        if (at != line) continue;
        if (!KeyGuide[i].newLine) Write("   ", ActionColour);
        Write(KeyGuide[i].keys, KeyColour);
        Write(" ", ActionColour);
        Write(KeyGuide[i].action, ActionColour);
    }
}

// The value lines of FormatHelpValues, one to an entry.
void ValueLines(char (&lines)[ValueLineCount][LineChars]) {
    char text[512];
    FormatHelpValues(text, sizeof text);
    const char* from = text;
    for (int i = 0; i < ValueLineCount; i++) {
        const char* end = std::strchr(from, '\n');
        size_t length = end ? static_cast<size_t>(end - from) : std::strlen(from);
        if (length >= LineChars) length = LineChars - 1;
        std::memcpy(lines[i], from, length);
        lines[i][length] = '\0';
        from = end ? end + 1 : from + std::strlen(from);
    }
}

// The state the panel draws in, saved first and restored by EndPanelState: the current colour and
// raster position, the switches, blending, the list base, the bound texture and its environment,
// the matrix mode and both matrices. Plain colours need texturing, lighting, fog and the depth
// test off, for bitmaps as for polygons.
void BeginPanelState(const Layout& layout) {
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIST_BIT | GL_TRANSFORM_BIT |
                 GL_TEXTURE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, layout.viewWidth, 0.0, layout.viewHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
}

void EndPanelState() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

int PowerOfTwoAtLeast(int size) {
    int power = 1;
    while (power < size) power *= 2;
    return power;
}

// The picture is a texture of the current rendering context, made for the current viewport.
bool PictureFits(const Layout& layout) {
    return panel.texture != 0 && panel.context == scene.renderContext &&
           panel.viewWidth == layout.viewWidth && panel.viewHeight == layout.viewHeight;
}

// A black picture of the whole panel, to which the lines are copied.
void MakePicture(const Layout& layout) {
    if (panel.texture == 0 || panel.context != scene.renderContext) {
        glGenTextures(1, &panel.texture);
        panel.context = scene.renderContext;
    }
    GLint largest = 64;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    panel.textureWidth = std::min(PowerOfTwoAtLeast(layout.panelWidth), static_cast<int>(largest));
    panel.textureHeight = std::min(PowerOfTwoAtLeast(layout.panelHeight), static_cast<int>(largest));
    panel.viewWidth = layout.viewWidth;
    panel.viewHeight = layout.viewHeight;
    for (bool& drawn : panel.lineDrawn) drawn = false;
    std::vector<GLubyte> black(size_t(panel.textureWidth) * size_t(panel.textureHeight) * 3, 0);
    glBindTexture(GL_TEXTURE_2D, panel.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, panel.textureWidth, panel.textureHeight, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, black.data());
    glPopClientAttrib();
}

void DrawPanel() {
    Layout layout = PanelLayout();
    BeginPanelState(layout);
    // One pass: the frame under the panel keeps 1 - alpha of its light, and the picture's text is
    // added to it (its black adds nothing).
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, PanelAlpha);
    int right = layout.panelLeft + layout.panelWidth, top = layout.panelBottom + layout.panelHeight;
    if (PictureFits(layout)) {
        float s = static_cast<float>(layout.panelWidth) / static_cast<float>(panel.textureWidth);
        float t = static_cast<float>(layout.panelHeight) / static_cast<float>(panel.textureHeight);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, panel.texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2i(layout.panelLeft, layout.panelBottom);
        glTexCoord2f(s, 0.0f);
        glVertex2i(right, layout.panelBottom);
        glTexCoord2f(s, t);
        glVertex2i(right, top);
        glTexCoord2f(0.0f, t);
        glVertex2i(layout.panelLeft, top);
        glEnd();
    } else {
        glColor4f(0.0f, 0.0f, 0.0f, PanelAlpha);
        glRecti(layout.panelLeft, layout.panelBottom, right, top);
    }
    EndPanelState();
}

} // namespace

void PrepareHelpPanel() {
    if (!panel.shown || scene.fontBase == 0) return;
    Layout layout = PanelLayout();
    if (layout.textWidth <= 0 || layout.panelBottom < 0) return;

    // Which lines need drawing: all of them in a new picture, otherwise those whose text changed
    // (the frame rate's line only every RateLineSeconds).
    bool fresh = !PictureFits(layout);
    int guideLines = GuideLineCount();
    char values[ValueLineCount][LineChars];
    ValueLines(values);
    double now = NewestFrameTime(frameRate);
    bool redraw[MaxLines] = {};
    bool any = false;
    for (int line = 0; line < layout.lines; line++) {
        bool drawn = !fresh && panel.lineDrawn[line];
        if (line >= guideLines) {
            const char* text = values[line - guideLines];
            bool rateLine = line == guideLines;
            bool changed = std::strcmp(text, panel.lineText[line]) != 0;
            if (changed && !(rateLine && drawn && now - panel.rateLineTime < RateLineSeconds)) drawn = false;
        }
        redraw[line] = !drawn;
        any = any || !drawn;
    }
    if (!any) return;

    // The lines are drawn into the frame just cleared, where nothing else is yet, and copied into
    // the picture; then the frame is cleared again, as it was.
    BeginPanelState(layout);
    if (fresh) MakePicture(layout);
    glBindTexture(GL_TEXTURE_2D, panel.texture);
    glListBase(scene.fontBase);
    for (int line = 0; line < layout.lines; line++) {
        if (!redraw[line]) continue;
        glRasterPos2i(layout.textLeft, layout.lineTop[line] - BaselineOffset);
        if (line < guideLines) {
            WriteGuideLine(line);
        } else {
            Write(values[line - guideLines], ValueColour);
            std::strcpy(panel.lineText[line], values[line - guideLines]);
        }
    }
    for (int line = 0; line < layout.lines; line++) {
        if (!redraw[line]) continue;
        int bottom = layout.lineTop[line] - LineHeight;
        int y = bottom - layout.panelBottom;
        int width = std::min(layout.textWidth, panel.textureWidth - Padding);
        if (width > 0 && y + LineHeight <= panel.textureHeight)
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, Padding, y, layout.textLeft, bottom, width, LineHeight);
        panel.lineDrawn[line] = true;
    }
    if (redraw[guideLines]) panel.rateLineTime = now;
    EndPanelState();
    glClear(GL_COLOR_BUFFER_BIT);
}

void ToggleHelpPanel() {
    panel.shown = !panel.shown;
}

bool HelpPanelShown() {
    return panel.shown;
}

void DrawHelpPanel() {
    if (panel.shown) DrawPanel();
}

void ReleaseHelpPanel() {
    if (panel.texture != 0 && panel.context == scene.renderContext) glDeleteTextures(1, &panel.texture);
    panel.texture = 0;
    panel.context = nullptr;
}

void ResetHelpPanel() {
    panel = PanelState{};
}

void FormatHelpValues(char* text, int size) {
    static const char* const FilterNames[3] = {"nearest", "linear", "mipmap"};
    static const char* const FogNames[3] = {"exp", "exp2", "linear"};
    std::snprintf(text, static_cast<size_t>(size),
                  "%.1f fps   frame %llu\n"
                  "lighting %s   blending %s   twinkle %s\n"
                  "filter %s   fog %s\n"
                  "palette %u   rainbow %s   slowdown %.2f\n"
                  "launch speed %.0f, %.0f\n"
                  "camera %.1f, %.1f, %.1f\n",
                  FramesPerSecond(frameRate), static_cast<unsigned long long>(frameRate.frames + 1),
                  OnOff(scene.lightingOn), OnOff(scene.blendOn), OnOff(scene.twinkleOn),
                  FilterNames[scene.filterIndex % 3], FogNames[scene.fogModeIndex % 3], scene.paletteIndex,
                  OnOff(scene.rainbowOn), scene.particleSlowdown, scene.launchSpeedX, scene.launchSpeedY,
                  scene.cameraX, scene.cameraY, scene.cameraZ);
}
