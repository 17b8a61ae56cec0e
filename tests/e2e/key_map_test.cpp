// The keys of the key map, typed on the X server's keyboard by xdotool, so that each goes the whole
// way a real key press goes: keycode, X keymap, SDL's key map, the virtual-key table. Each is shown
// to reach the program by what it does on screen: letters, arrows, page keys, the keypad, Space,
// Enter, Tab and Shift here, Escape and F1 in the main window test. What each control does to the
// scene is the golden runs' and the unit and gl tiers' to check.
//
// Most of these keys steer the particle fountain, which sits in the middle of the view once the
// test has flown past the backdrop. A key is held until the fountain shows its effect; the
// effects of held keys grow with every frame, so this works at any frame rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace {

class KeyMapTest : public ProgramTest {
  protected:
    // A keycode as xdotool takes it. Keypad keys go by keycode: named by key symbol, xdotool
    // would press a modifier of its own to reach the symbol's level (it toggles NumLock for KP_8).
    std::string KeycodeOf(const std::string& keysym) { return std::to_string(server->Keycode(keysym)); }

    // Fountain pixels counted by colour, in the middle part of the window where the fountain is.
    struct Colours {
        long pink = 0;   // the first palette colour, (1, 0.5, 0.5)
        long orange = 0; // (1, 0.75, 0.5): red over green over blue
        long green = 0;  // green the strongest
        long other = 0;  // any other lit pixel
        long Lit() const { return pink + orange + green + other; }
    };
    static Colours FountainColours(const RgbPicture& picture) {
        Colours colours;
        for (int y = picture.height * 4 / 10; y < picture.height; ++y)
            for (int x = picture.width / 4; x < picture.width * 3 / 4; ++x) {
                const uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * picture.width + x) * 3];
                int r = p[0], g = p[1], b = p[2];
                if (r + g + b <= 90) continue;
                if (IsFountainColour(r, g, b))
                    ++colours.pink;
                else if (r >= g && g > b + 25)
                    ++colours.orange;
                else if (g > r + 25)
                    ++colours.green;
                else
                    ++colours.other;
            }
        return colours;
    }
};

// The median of the last few values given: single frames that happen to catch a burst of stray
// particles do not count.
class Smoothed {
  public:
    long Add(long value) {
        recent.push_back(value);
        if (recent.size() > 7) recent.erase(recent.begin());
        std::vector<long> sorted = recent;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }

  private:
    std::vector<long> recent;
};

// Tracks how far a value has moved back from the furthest it went the other way, so that a
// fountain still drifting from before the key was pressed does not count.
class Turn {
  public:
    explicit Turn(double start) : low(start), high(start) {}
    double Rise(double value) {
        low = std::min(low, value);
        return value - low;
    }
    double Fall(double value) {
        high = std::max(high, value);
        return high - value;
    }

  private:
    double low, high;
};

TEST_F(KeyMapTest, KeypadDigitsBendTheFountainWhileNumLockIsOn) {
    // Stars drawn as plain squares, for the last step.
    ASSERT_TRUE(LaunchAndFlyIn(WriteDimPicture, WriteCornerSquaresPicture));
    ASSERT_TRUE(run->Press("Num_Lock"));
    // Keypad 8 and 6 bend every particle's gravity up and to the right, 2 and 4 down and to the
    // left. Particles in flight keep the speed they have, so the fountain turns after a while.
    const std::string up = KeycodeOf("KP_8"), down = KeycodeOf("KP_2");
    const std::string right = KeycodeOf("KP_6"), left = KeycodeOf("KP_4");
    const double Moved = 35; // pixels
    struct Bend {
        std::string vertical, sideways, label;
        double towardsY, towardsX; // the way the fountain's light moves on the screen
    };
    for (const Bend& bend :
         {Bend{up, right, "up-and-right", -1, 1}, Bend{down, left, "down-and-left", 1, -1}}) {
        RgbPicture picture;
        ASSERT_TRUE(Shot("before-" + bend.label, picture));
        LightPatch start = FountainLight(picture);
        ASSERT_GT(start.pixels, 1000) << "the fountain is not in view";
        ASSERT_TRUE(run->KeyDown(bend.sideways));
        Turn vertical(start.y * bend.towardsY), sideways(start.x * bend.towardsX);
        bool turned = static_cast<bool>(HoldUntil(
            bend.vertical, bend.label,
            [&](const RgbPicture& p) {
                LightPatch now = FountainLight(p);
                return vertical.Rise(now.y * bend.towardsY) > Moved &&
                       sideways.Rise(now.x * bend.towardsX) > Moved;
            },
            400));
        ASSERT_TRUE(run->KeyUp(bend.sideways));
        EXPECT_TRUE(turned) << "the keypad did not bend the fountain " << bend.label;
    }

    // Without NumLock keypad 8 would be the Up arrow, which also sends particles upwards: tell
    // them apart by the star field. Down tilts it by half a degree a frame, so that it is seen
    // edge on after 180 frames; were keypad 8 the Up arrow, held with Down it would cancel the
    // tilt and the field would not lie flat.
    ASSERT_TRUE(run->KeyDown(up));
    int flattest = 0;
    ::testing::AssertionResult flat = TiltsEdgeOn(flattest);
    ASSERT_TRUE(run->KeyUp(up));
    EXPECT_TRUE(flat) << "keypad 8 held with Down kept the star field from tilting: it came as the Up arrow";
}

TEST_F(KeyMapTest, KeypadPlusAndMinusChangeTheFountainSpeed) {
    ASSERT_TRUE(LaunchAndFlyIn());
    // The particles' slowdown divides every movement, so the fountain's size follows it: above
    // all its tail, the particles falling well below the launch point (where no star comes).
    // Keypad - raises the slowdown from 2 towards 4: the tail shrinks. Keypad + lowers it again,
    // towards 1: the tail grows back, and further. The tail takes a particle's longest life, some
    // 330 frames, to grow in full (while it grows, it would hide what keypad - does): wait first.
    ASSERT_TRUE(run->WaitFrames(250));
    auto tail = [](const RgbPicture& p) {
        return FountainLight(p, Box{0, p.height * 6 / 10, p.width, p.height}).pixels;
    };
    RgbPicture picture;
    Smoothed grown;
    long start = 0;
    for (int shot = 0; shot < 7; ++shot) {
        ASSERT_TRUE(run->WaitFrames(1));
        ASSERT_TRUE(Shot("start", picture));
        start = grown.Add(tail(picture));
    }
    long now = start;
    ASSERT_GT(start, 300) << "the fountain is not in view";
    Smoothed slower;
    EXPECT_TRUE(HoldUntil("KP_Subtract", "slower",
                          [&](const RgbPicture& p) {
                              now = slower.Add(tail(p));
                              return now > start / 5 && now < start * 65 / 100;
                          }))
        << "tail at the start " << start << ", last " << now;
    long shortest = now;
    Smoothed faster;
    EXPECT_TRUE(HoldUntil("KP_Add", "faster",
                          [&](const RgbPicture& p) {
                              now = faster.Add(tail(p));
                              shortest = std::min(shortest, now);
                              return now > shortest * 18 / 10;
                          }))
        << "tail at least " << shortest << ", last " << now;
}

TEST_F(KeyMapTest, ArrowsSpaceEnterTabAndShiftChangeHowParticlesAreReborn) {
    ASSERT_TRUE(LaunchAndFlyIn());
    RgbPicture picture;
    ASSERT_TRUE(Shot("start", picture));
    LightPatch start = FountainLight(picture);
    ASSERT_GT(start.pixels, 1000) << "the fountain is not in view";

    // Right and Left add to the sideways speed each particle is launched with. (Up and Down do the
    // same upwards and downwards; they also tilt the star field, which the scene controls test
    // shows.)
    const double Moved = 25;
    Turn rightward(start.x);
    EXPECT_TRUE(HoldUntil("Right", "launched-right",
                          [&](const RgbPicture& p) { return rightward.Rise(FountainLight(p).x) > Moved; }));
    ASSERT_TRUE(Shot("right", picture));
    Turn leftward(FountainLight(picture).x);
    EXPECT_TRUE(HoldUntil("Left", "launched-left",
                          [&](const RgbPicture& p) { return leftward.Fall(FountainLight(p).x) > Moved; }));

    // Space steps the colour given to reborn particles from (1, 0.5, 0.5) to (1, 0.75, 0.5): the
    // fountain, with next to no orange before, turns orange as its particles are reborn. Enter
    // starts the automatic cycling, which soon reaches the greens.
    ASSERT_TRUE(Shot("pink", picture));
    ASSERT_LT(FountainColours(picture).orange, FountainColours(picture).pink / 5);
    ASSERT_TRUE(run->Press("space"));
    EXPECT_TRUE(WatchUntil("orange", [&](const RgbPicture& p) {
        Colours now = FountainColours(p);
        return now.orange > now.pink / 2 && now.orange > 1000;
    }));
    ASSERT_TRUE(Shot("before-cycling", picture));
    long green = FountainColours(picture).green;
    ASSERT_TRUE(run->Press("Return"));
    EXPECT_TRUE(WatchUntil("cycling", [&](const RgbPicture& p) {
        Colours now = FountainColours(p);
        return now.green > green + 2000 && now.green > now.pink;
    }));

    // Particles reborn while Tab is held fly off fast in every direction; while Shift is held they
    // are scattered, with a gravity of their own and a long life. Either way the fountain soon
    // covers far more of the window (whatever its colour by now).
    auto spread = [](const RgbPicture& p) { return FountainColours(p).Lit(); };
    ASSERT_TRUE(Shot("before-burst", picture));
    long before = spread(picture);
    EXPECT_TRUE(HoldUntil("Tab", "burst", [&](const RgbPicture& p) { return spread(p) > before * 2; }));
    // The burst dies down: its particles live a few hundred frames at most.
    EXPECT_TRUE(WatchUntil("burst-over", [&](const RgbPicture& p) {
        return spread(p) > before / 3 && spread(p) < before * 3 / 2;
    }));
    ASSERT_TRUE(Shot("before-scatter", picture));
    before = spread(picture);
    EXPECT_TRUE(
        HoldUntil("Shift_L", "scattered", [&](const RgbPicture& p) { return spread(p) > before * 2; }));
}

TEST_F(KeyMapTest, PageKeysAndLettersMoveTheSceneTheFountainAndTheViewer) {
    // The checkerboard picture makes the triangle and the quad the only sharp things in view.
    ASSERT_TRUE(LaunchAndFlyIn(WriteCheckerPicture, WriteGlowPicture));
    RgbPicture picture;
    ASSERT_TRUE(Shot("start", picture));
    auto fountain = [](const RgbPicture& p) { return FountainLight(p); };
    LightPatch group = SharpDetail(picture);
    ASSERT_GT(group.pixels, 100) << "the triangle and the quad are not in view";
    ASSERT_GT(fountain(picture).pixels, 1000) << "the fountain is not in view";
    double offset = FromMiddle(picture, group.x, group.y);

    // Page Down brings the triangle and the quad (and the stars and boxes) nearer: they move out
    // from the middle of the window. Page Up takes them back. The fountain stays where it is.
    EXPECT_TRUE(HoldUntil("Next", "scene-nearer", [&](const RgbPicture& p) {
        LightPatch now = SharpDetail(p);
        return now.pixels > group.pixels && FromMiddle(p, now.x, now.y) > offset * 1.3;
    }));
    EXPECT_TRUE(HoldUntil("Prior", "scene-farther", [&](const RgbPicture& p) {
        LightPatch now = SharpDetail(p);
        return now.pixels > 50 && FromMiddle(p, now.x, now.y) < offset * 0.9;
    }));

    // J brings the fountain nearer, K sends it away.
    ASSERT_TRUE(Shot("fountain", picture));
    long fountainSize = fountain(picture).pixels;
    EXPECT_TRUE(HoldUntil("j", "fountain-nearer",
                          [&](const RgbPicture& p) { return fountain(p).pixels > fountainSize * 3 / 2; }));
    EXPECT_TRUE(HoldUntil("k", "fountain-farther", [&](const RgbPicture& p) {
        return fountain(p).pixels > fountainSize / 4 && fountain(p).pixels < fountainSize;
    }));

    // A and D move the viewer sideways: the whole scene shifts right and left on the screen. Q and
    // E move it up and down, held for 14 and 28 frames: held until a picture showed it, the fountain
    // flew out of view while a busy machine took the shot. A star passing close may hide it a while.
    const double Moved = 60;
    ASSERT_TRUE(Shot("centred", picture));
    LightPatch centred = fountain(picture);
    EXPECT_TRUE(HoldUntil("a", "shifted-right",
                          [&](const RgbPicture& p) { return fountain(p).x > centred.x + Moved; }));
    EXPECT_TRUE(HoldUntil("d", "shifted-left",
                          [&](const RgbPicture& p) { return fountain(p).x < centred.x - Moved; }));
    EXPECT_TRUE(
        HoldUntil("a", "shifted-back", [&](const RgbPicture& p) { return fountain(p).x > centred.x; }));
    EXPECT_TRUE(run->HoldFor("q", 14) && WatchUntil("shifted-up", [&](const RgbPicture& p) {
                    return fountain(p).y < centred.y - Moved;
                }));
    EXPECT_TRUE(run->HoldFor("e", 28) && WatchUntil("shifted-down", [&](const RgbPicture& p) {
                    return fountain(p).y > centred.y + Moved;
                }));
}

} // namespace
