// Browser keys as the program's virtual keys. Pure functions of the DOM event's `key` and `code`
// strings, so that the map can be tested without a browser.
#pragma once

#include <cstdint>

// The virtual-key code for a DOM key event, or 0 for a key the program has no code for, with the
// codes the desktop builds give: a letter follows the layout's character where that is a Latin
// letter (`key`), otherwise the key's position (`code`), so that Russian or Greek layouts still
// reach the letter controls. Keypad digits give VK_NUMPAD0-9 while NumLock is on, which the
// browser shows as a digit in `key`, and the navigation codes while it is off.
uint32_t VirtualKeyFromDom(const char* key, const char* code);

// Keys whose message is a system key on the desktop: Alt itself, keys pressed with Alt, and F10.
bool IsSystemKey(uint32_t virtualKey, bool altHeld);

// Keys that the scene uses and that the browser would otherwise act on itself (move the focus,
// open help, scroll the page).
bool KeepFromBrowser(uint32_t virtualKey);
