// The capture tool's input script: what people type on the command line.
#include <gtest/gtest.h>

#include "common/input_script.h"
#include "platform/virtual_keys.h"

namespace {

TEST(InputScript, ParsesKeysAndDragsInOrder) {
    std::vector<InputEvent> events;
    std::string error;
    ASSERT_TRUE(
        ParseInputScript("  2:down:TAB 2:down:L  10:up:0x4C 7:drag:-10,4\t9:down:NUMPAD8 ", events, error))
        << error;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].frame, 2);
    EXPECT_EQ(events[0].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(events[0].virtualKey, VK_TAB);
    EXPECT_EQ(events[1].virtualKey, 'L');
    EXPECT_EQ(events[2].kind, InputEvent::Kind::KeyUp);
    EXPECT_EQ(events[2].virtualKey, 'L');
    EXPECT_EQ(events[3].kind, InputEvent::Kind::Drag);
    EXPECT_EQ(events[3].dx, -10);
    EXPECT_EQ(events[3].dy, 4);
    EXPECT_EQ(events[4].virtualKey, VK_NUMPAD8);
    EXPECT_TRUE(ParseInputScript("", events, error));
}

TEST(InputScript, KeyNames) {
    EXPECT_EQ(VirtualKeyFromName("F1"), VK_F1);
    EXPECT_EQ(VirtualKeyFromName("F12"), VK_F12);
    EXPECT_EQ(VirtualKeyFromName("ESCAPE"), VK_ESCAPE);
    EXPECT_EQ(VirtualKeyFromName("PRIOR"), VK_PRIOR);
    EXPECT_EQ(VirtualKeyFromName("NEXT"), VK_NEXT);
    EXPECT_EQ(VirtualKeyFromName("ADD"), VK_ADD);
    EXPECT_EQ(VirtualKeyFromName("SUBTRACT"), VK_SUBTRACT);
    EXPECT_EQ(VirtualKeyFromName("RETURN"), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromName("0x6b"), VK_ADD);
    for (const char* bad : {"", "a", "F0", "F13", "NUMPAD", "0x", "0x100", "0xZZ", "ESC"})
        EXPECT_EQ(VirtualKeyFromName(bad), 0u) << bad;
}

TEST(InputScript, RefusesMalformedEventsWithTheirText) {
    for (const char* bad : {"down:A", "0:down:A", "x:down:A", "3:press:A", "3:down:WHAT", "3:drag:10",
                            "3:drag:a,b", "3:drag:1,2,3", "3"}) {
        std::vector<InputEvent> events;
        std::string error;
        EXPECT_FALSE(ParseInputScript(bad, events, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
}

TEST(InputScript, NumbersOutOfRangeAreRefusedNeverWrapped) {
    std::vector<InputEvent> events;
    std::string error;
    // The edges of each range are accepted.
    ASSERT_TRUE(ParseInputScript("1000000000:down:A 1:drag:-640,480 1:drag:640,-480", events, error))
        << error;
    EXPECT_EQ(events[0].frame, 1000000000);
    EXPECT_EQ(events[1].dx, -640);
    EXPECT_EQ(events[2].dy, -480);
    // 99999999999 would wrap to 1215752191 as a 32-bit int, 4294967297 to 1.
    for (const char* bad : {"1000000001:down:A", "99999999999:down:A", "4294967297:up:A", "-1:down:A",
                            "2:drag:641,0", "2:drag:0,-481", "2:drag:4294967297,0", "2:drag:+-1,0"}) {
        EXPECT_FALSE(ParseInputScript(bad, events, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
    EXPECT_FALSE(ParseInputScript("99999999999:down:A", events, error));
    EXPECT_NE(error.find("out of range (1 to 1000000000)"), std::string::npos) << error;
}

} // namespace
