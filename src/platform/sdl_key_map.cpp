#include "platform/sdl_key_map.h"

#include <SDL2/SDL_keyboard.h>

#include "platform/virtual_keys.h"

namespace {

// Keys whose virtual-key code does not follow from their character. The keypad's digits carry a
// second code, the navigation key they are while NumLock is off. Where two keys give one code
// (Return and keypad Enter, either Shift), the first is the one scripted input presses.
struct KeyMapEntry {
    SDL_Keycode keycode;
    uint32_t virtualKey;
    uint32_t withoutNumLock; // 0: the key ignores NumLock
};

constexpr KeyMapEntry KeyMap[] = {
    {SDLK_BACKSPACE, VK_BACK, 0},
    {SDLK_TAB, VK_TAB, 0},
    {SDLK_RETURN, VK_RETURN, 0},
    {SDLK_KP_ENTER, VK_RETURN, 0},
    {SDLK_ESCAPE, VK_ESCAPE, 0},
    {SDLK_SPACE, VK_SPACE, 0},
    {SDLK_LSHIFT, VK_SHIFT, 0},
    {SDLK_RSHIFT, VK_SHIFT, 0},
    {SDLK_LCTRL, VK_CONTROL, 0},
    {SDLK_RCTRL, VK_CONTROL, 0},
    {SDLK_LALT, VK_MENU, 0},
    {SDLK_RALT, VK_MENU, 0},
    {SDLK_PAUSE, VK_PAUSE, 0},
    {SDLK_CAPSLOCK, VK_CAPITAL, 0},
    {SDLK_PAGEUP, VK_PRIOR, 0},
    {SDLK_PAGEDOWN, VK_NEXT, 0},
    {SDLK_END, VK_END, 0},
    {SDLK_HOME, VK_HOME, 0},
    {SDLK_LEFT, VK_LEFT, 0},
    {SDLK_UP, VK_UP, 0},
    {SDLK_RIGHT, VK_RIGHT, 0},
    {SDLK_DOWN, VK_DOWN, 0},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT, 0},
    {SDLK_INSERT, VK_INSERT, 0},
    {SDLK_DELETE, VK_DELETE, 0},
    {SDLK_LGUI, 0x5B, 0},
    {SDLK_RGUI, 0x5C, 0},
    {SDLK_APPLICATION, 0x5D, 0},
    {SDLK_KP_0, VK_NUMPAD0, VK_INSERT},
    {SDLK_KP_1, VK_NUMPAD1, VK_END},
    {SDLK_KP_2, VK_NUMPAD2, VK_DOWN},
    {SDLK_KP_3, VK_NUMPAD3, VK_NEXT},
    {SDLK_KP_4, VK_NUMPAD4, VK_LEFT},
    {SDLK_KP_5, VK_NUMPAD5, VK_CLEAR},
    {SDLK_KP_6, VK_NUMPAD6, VK_RIGHT},
    {SDLK_KP_7, VK_NUMPAD7, VK_HOME},
    {SDLK_KP_8, VK_NUMPAD8, VK_UP},
    {SDLK_KP_9, VK_NUMPAD9, VK_PRIOR},
    {SDLK_KP_PERIOD, VK_DECIMAL, VK_DELETE},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY, 0},
    {SDLK_KP_PLUS, VK_ADD, 0},
    {SDLK_KP_MINUS, VK_SUBTRACT, 0},
    {SDLK_KP_DIVIDE, VK_DIVIDE, 0},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK, 0},
    {SDLK_SCROLLLOCK, VK_SCROLL, 0},
    {SDLK_SEMICOLON, 0xBA, 0},
    {SDLK_EQUALS, 0xBB, 0},
    {SDLK_COMMA, 0xBC, 0},
    {SDLK_MINUS, 0xBD, 0},
    {SDLK_PERIOD, 0xBE, 0},
    {SDLK_SLASH, 0xBF, 0},
    {SDLK_BACKQUOTE, 0xC0, 0},
    {SDLK_LEFTBRACKET, 0xDB, 0},
    {SDLK_BACKSLASH, 0xDC, 0},
    {SDLK_RIGHTBRACKET, 0xDD, 0},
    {SDLK_QUOTE, 0xDE, 0},
};

} // namespace

uint32_t VirtualKeyFromSdl(int32_t keycode, int32_t scancode, uint16_t modifiers) {
    // Letters follow the layout's character, as Windows does; digits are their own code.
    if (keycode >= 'a' && keycode <= 'z') return static_cast<uint32_t>(keycode - 'a' + 'A');
    // A layout whose letter keys give no Latin letter (Cyrillic, Greek, ...): Windows gives such
    // keys the letter of their position, so the letter controls work on every keyboard. Latin
    // layouts never get here, so AZERTY's A stays where AZERTY has it.
    bool nonLatinCharacter = keycode >= 0x80 && (keycode & SDLK_SCANCODE_MASK) == 0;
    if (nonLatinCharacter && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<uint32_t>('A' + (scancode - SDL_SCANCODE_A));
    if (keycode >= '0' && keycode <= '9') return static_cast<uint32_t>(keycode);
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(keycode - SDLK_F1);
    for (const KeyMapEntry& entry : KeyMap) {
        if (entry.keycode != keycode) continue;
        bool numLockOff = entry.withoutNumLock != 0 && (modifiers & KMOD_NUM) == 0;
        return numLockOff ? entry.withoutNumLock : entry.virtualKey;
    }
    return 0;
}

bool SdlKeyFromVirtualKey(uint32_t virtualKey, int32_t& keycode, uint16_t& modifiers) {
    modifiers = 0;
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        keycode = static_cast<int32_t>(virtualKey - 'A' + 'a');
        return true;
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        keycode = static_cast<int32_t>(virtualKey);
        return true;
    }
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) {
        keycode = SDLK_F1 + static_cast<int32_t>(virtualKey - VK_F1);
        return true;
    }
    for (const KeyMapEntry& entry : KeyMap) {
        if (entry.virtualKey != virtualKey) continue;
        keycode = entry.keycode;
        if (entry.withoutNumLock != 0) modifiers = KMOD_NUM;
        return true;
    }
    return false;
}
