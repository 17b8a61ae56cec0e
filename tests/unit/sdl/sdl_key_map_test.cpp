// SDL's keys and the virtual-key codes, both ways: the codes every key the scene reads gets, on
// Latin and non-Latin layouts and with NumLock on and off, and scripted input that finds its way
// back to the same code.
#include <gtest/gtest.h>

#include <SDL2/SDL_keyboard.h>

#include "platform/sdl_key_map.h"
#include "platform/virtual_keys.h"

namespace {

TEST(SdlKeyMap, GivesEveryKeyTheCodeWindowsGivesIt) {
    const struct {
        SDL_Keycode key;
        SDL_Scancode position;
        uint16_t mod;
        uint32_t code;
    } rows[] = {
        {SDLK_a, SDL_SCANCODE_A, 0, 'A'},
        {SDLK_z, SDL_SCANCODE_Z, 0, 'Z'},
        {SDLK_0, SDL_SCANCODE_0, 0, '0'},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, VK_ESCAPE},
        {SDLK_TAB, SDL_SCANCODE_TAB, 0, VK_TAB},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0, VK_SHIFT},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 0, VK_SPACE},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0, VK_RETURN},
        {SDLK_UP, SDL_SCANCODE_UP, 0, VK_UP},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0, VK_PRIOR},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 0, VK_ADD},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 0, VK_SUBTRACT},
        {SDLK_F12, SDL_SCANCODE_F12, 0, VK_F12},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0, VK_CONTROL},
        // The keypad's digits follow NumLock.
        {SDLK_KP_8, SDL_SCANCODE_KP_8, KMOD_NUM, VK_NUMPAD8},
        {SDLK_KP_8, SDL_SCANCODE_KP_8, 0, VK_UP},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 0, VK_PRIOR},
        // Russian (de, a, tse, er) and Greek (lambda) letters go by the key's position...
        {0x0434, SDL_SCANCODE_L, 0, 'L'},
        {0x0430, SDL_SCANCODE_F, 0, 'F'},
        {0x0446, SDL_SCANCODE_W, 0, 'W'},
        {0x0440, SDL_SCANCODE_H, 0, 'H'},
        {0x03BB, SDL_SCANCODE_L, 0, 'L'},
        // ... but not away from the letter keys (Russian's zhe, where US has the semicolon).
        {0x0436, SDL_SCANCODE_SEMICOLON, 0, 0},
        // Latin layouts keep their characters: AZERTY's A, Q and M, and its comma where QWERTY has M.
        {SDLK_a, SDL_SCANCODE_Q, 0, 'A'},
        {SDLK_q, SDL_SCANCODE_A, 0, 'Q'},
        {SDLK_m, SDL_SCANCODE_SEMICOLON, 0, 'M'},
        {SDLK_COMMA, SDL_SCANCODE_M, 0, 0xBC},
        // Keys the program has no code for.
        {SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, 0, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(VirtualKeyFromSdl(row.key, row.position, row.mod), row.code) << std::hex << row.key;
}

TEST(SdlKeyMap, ScriptedKeysComeBackAsTheirOwnCode) {
    int mapped = 0;
    for (uint32_t code = 1; code < 256; code++) {
        int32_t keycode = 0;
        uint16_t mod = 0;
        if (!SdlKeyFromVirtualKey(code, keycode, mod)) continue;
        ++mapped;
        EXPECT_EQ(VirtualKeyFromSdl(keycode, 0, mod), code) << std::hex << code;
    }
    // Letters, digits, F1-F12 and the table's own keys.
    EXPECT_GE(mapped, 26 + 10 + 12 + 40);
}

} // namespace
