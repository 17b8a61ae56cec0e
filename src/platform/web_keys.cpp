#include "platform/web_keys.h"

#include <cstring>

#include "platform/virtual_keys.h"

namespace {

struct CodeKey {
    const char* code;
    uint32_t virtualKey;
};

// Keys known by their position alone.
constexpr CodeKey FixedKeys[] = {
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"ShiftLeft", VK_SHIFT},
    {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
    {"AltLeft", VK_MENU},
    {"AltRight", VK_MENU},
    {"Pause", VK_PAUSE},
    {"CapsLock", VK_CAPITAL},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"End", VK_END},
    {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PrintScreen", VK_SNAPSHOT},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"MetaLeft", 0x5B},
    {"MetaRight", 0x5C},
    {"ContextMenu", 0x5D},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadDivide", VK_DIVIDE},
    {"NumLock", VK_NUMLOCK},
    {"ScrollLock", VK_SCROLL},
    {"Semicolon", 0xBA},
    {"Equal", 0xBB},
    {"Comma", 0xBC},
    {"Minus", 0xBD},
    {"Period", 0xBE},
    {"Slash", 0xBF},
    {"Backquote", 0xC0},
    {"BracketLeft", 0xDB},
    {"Backslash", 0xDC},
    {"BracketRight", 0xDD},
    {"Quote", 0xDE},
};

// The keypad's digit keys: their code with NumLock on, and the navigation key they are without it.
struct KeypadKey {
    const char* code;
    uint32_t withNumLock;
    uint32_t withoutNumLock;
};

constexpr KeypadKey KeypadKeys[] = {
    {"Numpad0", VK_NUMPAD0, VK_INSERT},       {"Numpad1", VK_NUMPAD1, VK_END},
    {"Numpad2", VK_NUMPAD2, VK_DOWN},         {"Numpad3", VK_NUMPAD3, VK_NEXT},
    {"Numpad4", VK_NUMPAD4, VK_LEFT},         {"Numpad5", VK_NUMPAD5, VK_CLEAR},
    {"Numpad6", VK_NUMPAD6, VK_RIGHT},        {"Numpad7", VK_NUMPAD7, VK_HOME},
    {"Numpad8", VK_NUMPAD8, VK_UP},           {"Numpad9", VK_NUMPAD9, VK_PRIOR},
    {"NumpadDecimal", VK_DECIMAL, VK_DELETE},
};

bool IsLatinLetter(const char* key) {
    return key[0] != '\0' && key[1] == '\0' &&
           ((key[0] >= 'a' && key[0] <= 'z') || (key[0] >= 'A' && key[0] <= 'Z'));
}

// "KeyA" to "KeyZ" and "Digit0" to "Digit9": the position's letter or digit, or 0.
uint32_t PositionCharacter(const char* code) {
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0')
        return static_cast<uint32_t>(code[3]);
    if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && code[6] == '\0')
        return static_cast<uint32_t>(code[5]);
    return 0;
}

} // namespace

uint32_t VirtualKeyFromDom(const char* key, const char* code) {
    if (!key) key = "";
    if (!code) code = "";
    if (IsLatinLetter(key))
        return VirtualKeyOf(static_cast<char>(key[0] >= 'a' ? key[0] - 'a' + 'A' : key[0]));
    if (uint32_t character = PositionCharacter(code)) return character;
    if (code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        int number = code[1] - '0';
        if (code[2] >= '0' && code[2] <= '9' && code[3] == '\0')
            number = number * 10 + (code[2] - '0');
        else if (code[2] != '\0')
            number = 0;
        if (number >= 1 && number <= 12) return VK_F1 + static_cast<uint32_t>(number - 1);
    }
    for (const KeypadKey& entry : KeypadKeys) {
        if (std::strcmp(entry.code, code) != 0) continue;
        // With NumLock on the key types its character (a digit, or the decimal separator).
        bool numLock = key[0] != '\0' && key[1] == '\0';
        return numLock ? entry.withNumLock : entry.withoutNumLock;
    }
    for (const CodeKey& entry : FixedKeys)
        if (std::strcmp(entry.code, code) == 0) return entry.virtualKey;
    return 0;
}

bool IsSystemKey(uint32_t virtualKey, bool altHeld) {
    return altHeld || virtualKey == VK_MENU || virtualKey == VK_F10;
}

bool KeepFromBrowser(uint32_t virtualKey) {
    switch (virtualKey) {
    case VK_TAB:
    case VK_F1:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_SPACE:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}
