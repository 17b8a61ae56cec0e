#include "scene/help_overlay.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/virtual_keys.h"
#include "scene/scene_state.h"

const KeyGuideEntry KeyGuide[] = {
    {true, "Esc", "quit"},
    {false, "F1", "fullscreen"},
    {false, "H", "this help"},
    {true, "L", "lighting"},
    {false, "F", "filter"},
    {false, "B", "blending"},
    {false, "T", "twinkle"},
    {true, "G", "fog mode"},
    {false, "Enter", "colour cycle"},
    {true, "Space", "next colour"},
    {false, "Tab", "burst"},
    {false, "Shift", "scatter"},
    {true, "Up Down", "tilt, launch y"},
    {false, "Left Right", "launch x"},
    {true, "PgUp PgDn", "scene depth"},
    {false, "J K", "fountain depth"},
    {true, "Keypad + -", "speed"},
    {false, "Keypad 8 2 6 4", "gravity"},
    {true, "W S A D Q E", "move camera"},
    {true, "Right drag", "turn view"},
};
const int KeyGuideSize = static_cast<int>(sizeof KeyGuide / sizeof KeyGuide[0]);

namespace {

constexpr uint32_t HelpKey = VirtualKeyOf('H');
constexpr int FirstCharacter = 32; // the font lists start at the space
constexpr int TimeSlots = 1024;    // frame times kept for the frame rate
constexpr double AveragingSeconds = 1.0;

// Layout, in pixels of the window.
constexpr float Margin = 12.0f;
constexpr float Padding = 10.0f;
constexpr float LineHeight = 25.0f;
constexpr float BaselineOffset = 19.0f; // from the top of a line to its baseline
constexpr GLfloat KeyColour[3] = {1.0f, 0.85f, 0.3f};
constexpr GLfloat ActionColour[3] = {1.0f, 1.0f, 1.0f};
constexpr GLfloat ValueColour[3] = {0.55f, 1.0f, 0.6f};
constexpr GLfloat PanelColour[4] = {0.0f, 0.0f, 0.05f, 0.7f};

struct OverlayState {
    bool shown = false;
    bool latch = false;
    uint64_t frames = 0;       // frames drawn since program start
    double times[TimeSlots]{}; // time of frame k in slot k % TimeSlots, in seconds
    double steppedRate = 0.0;  // frames per second of the stepped clock; 0 for real time
};
OverlayState overlay;

double Now() {
    if (overlay.steppedRate > 0.0) return static_cast<double>(overlay.frames) / overlay.steppedRate;
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double TimeOfFrame(uint64_t frame) {
    return overlay.times[frame % TimeSlots];
}

// Frames per second over the last second, or over the last TimeSlots frames when more were drawn
// in it. A frame that alone took longer than the second counts by its own length.
double FramesPerSecond() {
    if (overlay.frames < 2) return 0.0;
    double newest = TimeOfFrame(overlay.frames);
    uint64_t oldest = overlay.frames;
    uint64_t reach = overlay.frames - 1 < TimeSlots - 1 ? overlay.frames - 1 : TimeSlots - 1;
    while (overlay.frames - oldest < reach && newest - TimeOfFrame(oldest - 1) <= AveragingSeconds) --oldest;
    if (oldest == overlay.frames) --oldest;
    double span = newest - TimeOfFrame(oldest);
    return span > 0.0 ? static_cast<double>(overlay.frames - oldest) / span : 0.0;
}

const char* OnOff(bool on) {
    return on ? "on" : "off";
}

// Text in `colour` from the raster position where the previous text ended: each font list draws
// its glyph there and moves the position on. The colour of bitmaps is taken when the raster
// position is set, so the position is set again, in place, with the new colour.
void Write(const char* text, int length, const GLfloat* colour) {
    GLfloat position[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    glColor3fv(colour);
    glRasterPos2f(position[0], position[1]);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
}

void Write(const char* text, const GLfloat* colour) {
    Write(text, static_cast<int>(std::strlen(text)), colour);
}

void StartLine(float left, float& top) {
    glRasterPos2f(left, top - BaselineOffset);
    top -= LineHeight;
}

int GuideLines() {
    int lines = 0;
    for (int i = 0; i < KeyGuideSize; i++) lines += KeyGuide[i].newLine ? 1 : 0;
    return lines;
}

int CountLines(const char* text) {
    int lines = 0;
    for (; *text; text++) lines += *text == '\n' ? 1 : 0;
    return lines;
}

// The key guide, several entries to a line, then the value lines, from `top` down.
void WritePanelText(float left, float top, const char* values) {
    for (int i = 0; i < KeyGuideSize; i++) {
        if (KeyGuide[i].newLine)
            StartLine(left, top);
        else
            Write("   ", ActionColour);
        Write(KeyGuide[i].keys, KeyColour);
        Write(" ", ActionColour);
        Write(KeyGuide[i].action, ActionColour);
    }
    top -= Padding;
    for (const char* line = values; *line;) {
        const char* end = std::strchr(line, '\n');
        int length = end ? static_cast<int>(end - line) : static_cast<int>(std::strlen(line));
        StartLine(left, top);
        Write(line, length, ValueColour);
        line += length + (end ? 1 : 0);
    }
}

void DrawPanel() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    float width = static_cast<float>(viewport[2]), height = static_cast<float>(viewport[3]);
    char values[512];
    FormatHelpValues(values, sizeof values);
    float textHeight = static_cast<float>(GuideLines() + CountLines(values)) * LineHeight + Padding;
    float panelTop = height - Margin;
    float panelBottom = panelTop - textHeight - 2.0f * Padding;

    // Everything the panel changes comes back with the attribute stack and the two matrix stacks.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // Bitmaps are textured, fogged and depth-tested like any fragment: plain colours need all of it
    // off.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glColor4fv(PanelColour);
    glRectf(Margin, panelBottom, width - Margin, panelTop);
    if (scene.fontBase != 0) {
        glListBase(scene.fontBase - FirstCharacter);
        WritePanelText(Margin + Padding, panelTop - Padding, values);
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

} // namespace

void HandleHelpKey() {
    if (!scene.keyDown[HelpKey]) {
        overlay.latch = false;
        return;
    }
    if (overlay.latch) return;
    overlay.latch = true;
    overlay.shown = !overlay.shown;
}

void DrawHelpOverlay() {
    ++overlay.frames;
    overlay.times[overlay.frames % TimeSlots] = Now();
    if (overlay.shown) DrawPanel();
}

bool HelpOverlayShown() {
    return overlay.shown;
}

void UseSteppedHelpClock(double framesPerSecond) {
    overlay.steppedRate = framesPerSecond;
}

void ResetHelpOverlay() {
    overlay = OverlayState{};
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
                  FramesPerSecond(), static_cast<unsigned long long>(overlay.frames), OnOff(scene.lightingOn),
                  OnOff(scene.blendOn), OnOff(scene.twinkleOn), FilterNames[scene.filterIndex % 3],
                  FogNames[scene.fogModeIndex % 3], scene.paletteIndex, OnOff(scene.rainbowOn),
                  scene.particleSlowdown, scene.launchSpeedX, scene.launchSpeedY, scene.cameraX,
                  scene.cameraY, scene.cameraZ);
}
