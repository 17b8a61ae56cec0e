// SDL's keys and the Windows virtual-key codes of the key messages, in both directions, from one
// table: events become messages with it, and scripted input becomes SDL events with it.
#pragma once

#include <cstdint>

// The virtual-key code for an SDL key (keycode, scancode, modifier state), or 0 for a key the
// program has no code for. Letters follow the layout's character; a key at a letter position whose
// character is not a Latin letter (a Russian or Greek layout) gives the letter of its position.
// Keypad digits give VK_NUMPAD0-9 while NumLock is on and the navigation codes while it is off.
uint32_t VirtualKeyFromSdl(int32_t keycode, int32_t scancode, uint16_t modifiers);

// The SDL key that gives `virtualKey`, with the modifier state it needs (NumLock for the keypad's
// digits); false for a code that no key gives.
bool SdlKeyFromVirtualKey(uint32_t virtualKey, int32_t& keycode, uint16_t& modifiers);
