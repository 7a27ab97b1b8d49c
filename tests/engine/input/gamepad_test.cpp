// The navigation keys' levels, and game pads through SDL's virtual
// joysticks on the dummy driver: buttons and stick by their mapped names,
// several pads at once, pads plugged and unplugged between polls, and a
// mapping given through SDL_GAMECONTROLLERCONFIG.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "engine/input/input.h"
#include "tests/support/sdl_events.h"

namespace {

class PadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The dummy driver gives no window the keyboard focus, and SDL drops a
    // pad's presses while none of the program's windows has it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(keyboard_start(), 0);
    ASSERT_NE(gamepad_start(), 0);
  }
  void TearDown() override {
    input_shutdown();
    SDL_Quit();
  }

  // A pad laid out as SDL's controller buttons and axes: SDL maps it by that
  // order. Returns its device index.
  static int attach_pad() {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    EXPECT_GE(index, 0) << SDL_GetError();
    return index;
  }
  // The joystick behind a connected pad's device index, opened by the poll.
  static SDL_Joystick* joystick(int index) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)); }

  static void key(SDL_Scancode sc, bool down) { test_events::Key(sc, down); }
};

TEST_F(PadTest, NavigationKeysReadAsLevelsAndATapAsOnePoll) {
  EXPECT_EQ(key_down(kKeyDown), 0);  // nothing polled yet
  const struct {
    SDL_Scancode sdl;
    int code;
  } keys[] = {{SDL_SCANCODE_UP, kKeyUp},         {SDL_SCANCODE_DOWN, kKeyDown},
              {SDL_SCANCODE_LEFT, kKeyLeft},     {SDL_SCANCODE_RIGHT, kKeyRight},
              {SDL_SCANCODE_TAB, kKeyTab},       {SDL_SCANCODE_RETURN, kKeyEnter},
              {SDL_SCANCODE_KP_ENTER, kKeyPadEnter}, {SDL_SCANCODE_LSHIFT, kKeyLeftShift},
              {SDL_SCANCODE_RSHIFT, kKeyRightShift}, {SDL_SCANCODE_LALT, kKeyLeftAlt},
              {SDL_SCANCODE_RALT, kKeyRightAlt}};
  for (const auto& k : keys) {
    key(k.sdl, true);
    keyboard_poll();
    keyboard_poll();
    EXPECT_EQ(key_down(k.code), 1) << "held, scan code " << k.code;
    key(k.sdl, false);
    keyboard_poll();
    EXPECT_EQ(key_down(k.code), 0) << "let go, scan code " << k.code;
  }
  key(SDL_SCANCODE_DOWN, true);
  key(SDL_SCANCODE_DOWN, false);
  keyboard_poll();
  EXPECT_EQ(key_down(kKeyDown), 1);
  keyboard_poll();
  EXPECT_EQ(key_down(kKeyDown), 0);
  EXPECT_EQ(key_down(256), 0);
  EXPECT_EQ(key_down(-1), 0);
}

TEST_F(PadTest, ButtonsAndStickByTheirMappedNames) {
  EXPECT_EQ(gamepad_poll(), 0);
  const int index = attach_pad();
  ASSERT_EQ(gamepad_poll(), 1) << "a pad plugged in is taken at the next poll";
  SDL_Joystick* j = joystick(index);
  ASSERT_NE(j, nullptr);
  const struct {
    SDL_GameControllerButton sdl;
    int button;
  } buttons[] = {{SDL_CONTROLLER_BUTTON_A, kPadSouth},        {SDL_CONTROLLER_BUTTON_B, kPadEast},
                 {SDL_CONTROLLER_BUTTON_START, kPadStart},    {SDL_CONTROLLER_BUTTON_DPAD_UP, kPadUp},
                 {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kPadDown}, {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kPadLeft},
                 {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kPadRight}};
  for (const auto& b : buttons) {
    ASSERT_EQ(SDL_JoystickSetVirtualButton(j, b.sdl, SDL_PRESSED), 0);
    gamepad_poll();
    for (const auto& other : buttons)
      EXPECT_EQ(gamepad_button(other.button), other.button == b.button ? 1 : 0)
          << "button " << b.button << " held, reading " << other.button;
    SDL_JoystickSetVirtualButton(j, b.sdl, SDL_RELEASED);
    gamepad_poll();
    EXPECT_EQ(gamepad_button(b.button), 0);
  }
  // Buttons the game has no use for read as nothing.
  SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_X, SDL_PRESSED);
  gamepad_poll();
  for (const auto& b : buttons) EXPECT_EQ(gamepad_button(b.button), 0);
  EXPECT_EQ(gamepad_button(kPadButtonCount), 0);
  EXPECT_EQ(gamepad_button(-1), 0);

  SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTY, 12000);
  SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_RIGHTX, 32767);  // not read
  gamepad_poll();
  EXPECT_EQ(gamepad_axis(kPadLeftX), -30000);
  EXPECT_EQ(gamepad_axis(kPadLeftY), 12000);
  EXPECT_EQ(gamepad_axis(2), 0);
}

TEST_F(PadTest, AQuickPressBetweenTwoPollsIsSeenOnce) {
  const int index = attach_pad();
  gamepad_poll();
  SDL_Joystick* j = joystick(index);
  ASSERT_NE(j, nullptr);
  // Down and up again before the next poll: the update between them sees
  // both, as a real pad's driver would deliver them.
  SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
  SDL_JoystickUpdate();
  SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_A, SDL_RELEASED);
  gamepad_poll();
  EXPECT_EQ(gamepad_button(kPadSouth), 1);
  gamepad_poll();
  EXPECT_EQ(gamepad_button(kPadSouth), 0);
}

TEST_F(PadTest, PadsComeAndGoAndAnUnpluggedPadHoldsNothing) {
  const int first = attach_pad();
  const int second = attach_pad();
  ASSERT_EQ(gamepad_poll(), 2);
  SDL_Joystick* a = joystick(first);
  SDL_Joystick* b = joystick(second);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  // Either pad serves; the stick reads from the one pushed furthest.
  SDL_JoystickSetVirtualButton(b, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_PRESSED);
  SDL_JoystickSetVirtualAxis(a, SDL_CONTROLLER_AXIS_LEFTX, 20000);
  SDL_JoystickSetVirtualAxis(b, SDL_CONTROLLER_AXIS_LEFTX, -25000);
  gamepad_poll();
  EXPECT_EQ(gamepad_button(kPadDown), 1);
  EXPECT_EQ(gamepad_axis(kPadLeftX), -25000);

  // The second pad pulled out while its button and stick are held.
  ASSERT_EQ(SDL_JoystickDetachVirtual(second), 0);
  EXPECT_EQ(gamepad_poll(), 1);
  EXPECT_EQ(gamepad_button(kPadDown), 0);
  EXPECT_EQ(gamepad_axis(kPadLeftX), 20000);
  // The first one too: no pads, nothing held, and polling goes on.
  ASSERT_EQ(SDL_JoystickDetachVirtual(first), 0);
  EXPECT_EQ(gamepad_poll(), 0);
  EXPECT_EQ(gamepad_axis(kPadLeftX), 0);
  // Plugged in again, it works as before.
  const int again = attach_pad();
  ASSERT_EQ(gamepad_poll(), 1);
  SDL_Joystick* c = joystick(again);
  ASSERT_NE(c, nullptr);
  SDL_JoystickSetVirtualButton(c, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
  gamepad_poll();
  EXPECT_EQ(gamepad_button(kPadEast), 1);
}

TEST_F(PadTest, WithoutTheServiceThereAreNoPads) {
  input_shutdown();
  EXPECT_EQ(gamepad_poll(), 0);
  EXPECT_EQ(gamepad_button(kPadSouth), 0);
  EXPECT_EQ(gamepad_axis(kPadLeftX), 0);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u) << "shutdown stops the pad service";
  // A pad plugged in meanwhile is not seen until the service starts again.
  SDL_InitSubSystem(SDL_INIT_JOYSTICK);
  attach_pad();
  EXPECT_EQ(gamepad_poll(), 0);
  ASSERT_NE(gamepad_start(), 0);
  EXPECT_EQ(gamepad_poll(), 1);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// A device SDL knows no mapping for, named through SDL_GAMECONTROLLERCONFIG
// before the service starts: its buttons then read by the names given there.
TEST(PadMapping, TheEnvironmentsMappingNamesAnUnknownDevice) {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  // The device's identity, as SDL will give it, from a first plugging in.
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 8, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  char guid[64];
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  // Mappings name devices without the checksum that SDL keeps in digits 4
  // to 7 of the identity.
  for (int i = 4; i < 8; ++i) guid[i] = '0';
  // South on button 5, D-pad down on button 1, the stick's axes swapped.
  const std::string mapping = std::string(guid) +
                              ",Test pad,a:b5,b:b4,start:b0,dpup:b3,dpdown:b1,dpleft:b6,dpright:b7,leftx:a1,lefty:a0,";
  SDL_setenv("SDL_GAMECONTROLLERCONFIG", mapping.c_str(), 1);
  ASSERT_NE(gamepad_start(), 0);
  index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 8, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  EXPECT_EQ(gamepad_poll(), 1) << "the mapped device counts as a pad";
  SDL_Joystick* j = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
  ASSERT_NE(j, nullptr);
  SDL_JoystickSetVirtualButton(j, 5, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(j, 1, SDL_PRESSED);
  SDL_JoystickSetVirtualAxis(j, 0, 21000);
  gamepad_poll();
  EXPECT_EQ(gamepad_button(kPadSouth), 1);
  EXPECT_EQ(gamepad_button(kPadDown), 1);
  EXPECT_EQ(gamepad_button(kPadEast), 0);
  EXPECT_EQ(gamepad_axis(kPadLeftY), 21000);
  EXPECT_EQ(gamepad_axis(kPadLeftX), 0);
  SDL_setenv("SDL_GAMECONTROLLERCONFIG", "", 1);
  input_shutdown();
  SDL_Quit();
}

}  // namespace
