// The browser's key events as virtual keys: the same codes as the desktop builds give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <vector>

#include "overlay/key_guide.h"
#include "platform/virtual_keys.h"
#include "platform/web_keys.h"

namespace {

struct KeyCase {
    const char* key;
    const char* code;
    uint32_t virtualKey;
};

TEST(WebKeys, MapsKeyAndCodeAsTheDesktopDoes) {
    const KeyCase cases[] = {
        {"l", "KeyL", 'L'},
        {"L", "KeyL", 'L'}, // the letter, either case
        {"a", "KeyQ", 'A'},
        {"q", "KeyA", 'Q'}, // AZERTY: the layout's letter
        {"\xD0\xB4", "KeyL", 'L'},
        {"\xCF\x82", "KeyW", 'W'}, // Russian, Greek: the position
        {"2", "Digit2", '2'},
        {"\xC3\xA9", "Digit2", '2'}, // digits by position
        {"F1", "F1", VK_F1},
        {"F12", "F12", VK_F12},
        {"F13", "F13", 0},
        {"Escape", "Escape", VK_ESCAPE},
        {"Tab", "Tab", VK_TAB},
        {" ", "Space", VK_SPACE},
        {"Enter", "Enter", VK_RETURN},
        {"Enter", "NumpadEnter", VK_RETURN},
        {"Shift", "ShiftLeft", VK_SHIFT},
        {"Shift", "ShiftRight", VK_SHIFT},
        {"ArrowUp", "ArrowUp", VK_UP},
        {"PageDown", "PageDown", VK_NEXT},
        {"+", "NumpadAdd", VK_ADD},
        {"-", "NumpadSubtract", VK_SUBTRACT},
        {"8", "Numpad8", VK_NUMPAD8},
        {"ArrowUp", "Numpad8", VK_UP}, // NumLock on, off
        {"5", "Numpad5", VK_NUMPAD5},
        {"Clear", "Numpad5", VK_CLEAR},
        {",", "NumpadDecimal", VK_DECIMAL},
        {"Delete", "NumpadDecimal", VK_DELETE},
        {"Alt", "AltLeft", VK_MENU},
        {"Unidentified", "", 0},
        {"", "Lang1", 0},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(VirtualKeyFromDom(c.key, c.code), c.virtualKey) << c.key << " " << c.code;
    EXPECT_EQ(VirtualKeyFromDom(nullptr, nullptr), 0u);
}

TEST(WebKeys, SystemKeysAndTheBrowsersOwnActions) {
    EXPECT_TRUE(IsSystemKey(VK_F10, false));
    EXPECT_TRUE(IsSystemKey(VK_MENU, false));
    EXPECT_TRUE(IsSystemKey('L', true));
    EXPECT_FALSE(IsSystemKey('L', false));
    for (uint32_t vk : {VK_TAB, VK_F1, VK_PRIOR, VK_NEXT, VK_SPACE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})
        EXPECT_TRUE(KeepFromBrowser(vk)) << vk;
    for (uint32_t vk : {VK_ESCAPE, VK_RETURN, uint32_t('L'), VK_F12, VK_ADD})
        EXPECT_FALSE(KeepFromBrowser(vk)) << vk;
}

// The page makes one control per code of the key guide, named by the last names of the entry's
// keys: every entry but the drag has one code per key it names, no key twice, and a letter's or a
// keypad digit's code is the key's own.
TEST(WebKeys, TheKeyGuideNamesTheCodesOfItsKeys) {
    std::set<uint32_t> seen;
    for (int i = 0; i < KeyGuideSize; i++) {
        const KeyGuideEntry& entry = KeyGuide[i];
        std::vector<std::string> names;
        std::istringstream words(entry.keys);
        for (std::string word; words >> word;) names.push_back(word);
        const size_t count = std::find(entry.codes, std::end(entry.codes), 0) - entry.codes;
        EXPECT_EQ(count == 0, std::string(entry.keys) == "Right drag") << entry.keys;
        ASSERT_LE(count, names.size()) << entry.keys;
        for (size_t k = 0; k < count; k++) {
            const std::string& name = names[names.size() - count + k];
            const unsigned char c = name[0];
            const uint32_t own = names[0] == "Keypad" && std::isdigit(c) ? VK_NUMPAD0 + (c - '0')
                                 : name.size() == 1 && std::isalpha(c)   ? VirtualKeyOf(static_cast<char>(c))
                                                                         : entry.codes[k];
            EXPECT_EQ(entry.codes[k], own) << name;
            EXPECT_TRUE(seen.insert(entry.codes[k]).second) << name << " twice";
        }
    }
    EXPECT_EQ(seen.size(), 32u); // Esc and F1, and the 30 keys the scene reads
}

} // namespace
