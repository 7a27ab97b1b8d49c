// The keyboard on SDL: key events from the event watch kept as 256 key bytes
// indexed by the game's scan codes, and the released-key test on them.
#include "engine/input/input.h"
#include "engine/input/input_sdl.h"

#include <array>
#include <cstdint>

namespace {

struct KeyPair {
  int scan_code;  // standard keyboard scan code; 0x80 and up are extended keys
  SDL_Scancode sdl;
};

// The one table between the two numberings.
constexpr KeyPair kKeyTable[] = {
    {1, SDL_SCANCODE_ESCAPE},
    {2, SDL_SCANCODE_1}, {3, SDL_SCANCODE_2}, {4, SDL_SCANCODE_3}, {5, SDL_SCANCODE_4},
    {6, SDL_SCANCODE_5}, {7, SDL_SCANCODE_6}, {8, SDL_SCANCODE_7}, {9, SDL_SCANCODE_8},
    {10, SDL_SCANCODE_9}, {11, SDL_SCANCODE_0}, {12, SDL_SCANCODE_MINUS},
    {13, SDL_SCANCODE_EQUALS}, {14, SDL_SCANCODE_BACKSPACE}, {15, SDL_SCANCODE_TAB},
    {16, SDL_SCANCODE_Q}, {17, SDL_SCANCODE_W}, {18, SDL_SCANCODE_E}, {19, SDL_SCANCODE_R},
    {20, SDL_SCANCODE_T}, {21, SDL_SCANCODE_Y}, {22, SDL_SCANCODE_U}, {23, SDL_SCANCODE_I},
    {24, SDL_SCANCODE_O}, {25, SDL_SCANCODE_P}, {26, SDL_SCANCODE_LEFTBRACKET},
    {27, SDL_SCANCODE_RIGHTBRACKET}, {28, SDL_SCANCODE_RETURN}, {29, SDL_SCANCODE_LCTRL},
    {30, SDL_SCANCODE_A}, {31, SDL_SCANCODE_S}, {32, SDL_SCANCODE_D}, {33, SDL_SCANCODE_F},
    {34, SDL_SCANCODE_G}, {35, SDL_SCANCODE_H}, {36, SDL_SCANCODE_J}, {37, SDL_SCANCODE_K},
    {38, SDL_SCANCODE_L}, {39, SDL_SCANCODE_SEMICOLON}, {40, SDL_SCANCODE_APOSTROPHE},
    {41, SDL_SCANCODE_GRAVE}, {42, SDL_SCANCODE_LSHIFT}, {43, SDL_SCANCODE_BACKSLASH},
    {44, SDL_SCANCODE_Z}, {45, SDL_SCANCODE_X}, {46, SDL_SCANCODE_C}, {47, SDL_SCANCODE_V},
    {48, SDL_SCANCODE_B}, {49, SDL_SCANCODE_N}, {50, SDL_SCANCODE_M},
    {51, SDL_SCANCODE_COMMA}, {52, SDL_SCANCODE_PERIOD}, {53, SDL_SCANCODE_SLASH},
    {54, SDL_SCANCODE_RSHIFT}, {55, SDL_SCANCODE_KP_MULTIPLY}, {56, SDL_SCANCODE_LALT},
    {57, SDL_SCANCODE_SPACE}, {58, SDL_SCANCODE_CAPSLOCK},
    {59, SDL_SCANCODE_F1}, {60, SDL_SCANCODE_F2}, {61, SDL_SCANCODE_F3}, {62, SDL_SCANCODE_F4},
    {63, SDL_SCANCODE_F5}, {64, SDL_SCANCODE_F6}, {65, SDL_SCANCODE_F7}, {66, SDL_SCANCODE_F8},
    {67, SDL_SCANCODE_F9}, {68, SDL_SCANCODE_F10}, {69, SDL_SCANCODE_NUMLOCKCLEAR},
    {70, SDL_SCANCODE_SCROLLLOCK}, {71, SDL_SCANCODE_KP_7}, {72, SDL_SCANCODE_KP_8},
    {73, SDL_SCANCODE_KP_9}, {74, SDL_SCANCODE_KP_MINUS}, {75, SDL_SCANCODE_KP_4},
    {76, SDL_SCANCODE_KP_5}, {77, SDL_SCANCODE_KP_6}, {78, SDL_SCANCODE_KP_PLUS},
    {79, SDL_SCANCODE_KP_1}, {80, SDL_SCANCODE_KP_2}, {81, SDL_SCANCODE_KP_3},
    {82, SDL_SCANCODE_KP_0}, {83, SDL_SCANCODE_KP_PERIOD}, {86, SDL_SCANCODE_NONUSBACKSLASH},
    {87, SDL_SCANCODE_F11}, {88, SDL_SCANCODE_F12},
    // Extended keys: the prefixed scan code with bit 7 set.
    {0x9C, SDL_SCANCODE_KP_ENTER}, {0x9D, SDL_SCANCODE_RCTRL}, {0xB5, SDL_SCANCODE_KP_DIVIDE},
    {0xB7, SDL_SCANCODE_PRINTSCREEN}, {0xB8, SDL_SCANCODE_RALT}, {0xC5, SDL_SCANCODE_PAUSE},
    {0xC7, SDL_SCANCODE_HOME}, {0xC8, SDL_SCANCODE_UP}, {0xC9, SDL_SCANCODE_PAGEUP},
    {0xCB, SDL_SCANCODE_LEFT}, {0xCD, SDL_SCANCODE_RIGHT}, {0xCF, SDL_SCANCODE_END},
    {0xD0, SDL_SCANCODE_DOWN}, {0xD1, SDL_SCANCODE_PAGEDOWN}, {0xD2, SDL_SCANCODE_INSERT},
    {0xD3, SDL_SCANCODE_DELETE}, {0xDB, SDL_SCANCODE_LGUI}, {0xDC, SDL_SCANCODE_RGUI},
    {0xDD, SDL_SCANCODE_APPLICATION},
};

struct Keyboard {
  bool started = false;
  bool acquired = false;               // set by the first poll
  std::array<bool, 256> live{};        // down now, as the events say
  std::array<bool, 256> went_down{};   // pressed since the last poll
  std::array<uint8_t, 256> polled{};   // the key bytes of the last poll, bit 7 = down
  std::array<bool, 256> seen_down{};   // per key: seen down by key_released
};

Keyboard g_keyboard;

}  // namespace

int input_scan_code_from_sdl(SDL_Scancode sc) {
  for (const KeyPair& k : kKeyTable)
    if (k.sdl == sc) return k.scan_code;
  return 0;
}

void input_keyboard_event(const SDL_Event& e) {
  if (!g_keyboard.started || (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP)) return;
  int code = input_scan_code_from_sdl(e.key.keysym.scancode);
  if (code <= 0 || code > 255) return;
  bool down = e.type == SDL_KEYDOWN;
  g_keyboard.live[static_cast<size_t>(code)] = down;
  if (down) g_keyboard.went_down[static_cast<size_t>(code)] = true;
}

void input_keyboard_reset() { g_keyboard = Keyboard{}; }

int keyboard_start() {
  if (!input_watch_start()) return 0;
  g_keyboard.started = true;
  return 1;
}

int keyboard_poll() {
  if (!g_keyboard.started) return 0;
  SDL_PumpEvents();  // lets the system's pending key events reach the watch
  // A key pressed and let go between two polls still counts as down in this
  // poll, so a quick tap is not lost; it reads as released on the next one.
  for (size_t i = 0; i < 256; ++i) {
    bool down = g_keyboard.live[i] || g_keyboard.went_down[i];
    g_keyboard.polled[i] = down ? 0x80 : 0;
    g_keyboard.went_down[i] = false;
  }
  g_keyboard.acquired = true;
  return 1;
}

namespace {

int released_once(size_t code) {
  if (g_keyboard.polled[code] & 0x80) {
    g_keyboard.seen_down[code] = true;
    return 0;
  }
  if (!g_keyboard.seen_down[code]) return 0;
  g_keyboard.seen_down[code] = false;
  return 1;
}

}  // namespace

int key_released(int scan_code) {
  if (!g_keyboard.acquired) return 0;
  if (scan_code == -1) {
    // Every key is tested, so each released key is reported here and not
    // again by a test of that key alone.
    int any = 0;
    for (size_t code = 0; code < 255; ++code) any |= released_once(code);
    return any;
  }
  if (scan_code < 0 || scan_code > 255) return 0;
  return released_once(static_cast<size_t>(scan_code));
}

int key_down(int scan_code) {
  if (!g_keyboard.acquired || scan_code < 0 || scan_code > 255) return 0;
  return (g_keyboard.polled[static_cast<size_t>(scan_code)] & 0x80) ? 1 : 0;
}
