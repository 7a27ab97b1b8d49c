// The game started in-process on SDL's dummy drivers with the build's real
// packs, then driven pass by pass through the real main loop: input goes in
// as SDL events pushed into the queue, as the system would deliver them, and
// the state, the board, the log and the screen's pixels are read back.
#pragma once

// Through its folder: the program library does not pass SDL's include path on.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/display.h"
#include "app/folders.h"
#include "app/log.h"
#include "app/main_loop.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "engine/image/image_buffer.h"
#include "engine/input/input.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "game/board.h"
#include "game/screen_state.h"
#include "tests/support/screen_fixture.h"
#include "tests/support/screen_probe.h"
#include "tests/support/sdl_events.h"
#include "ui/controls.h"
#include "ui/menu.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/settings_screen.h"

namespace loop_test {

// A scratch installation and one start of the game in it: <cwd>/scratch/
// <name>/prog/ holds the packs and the settings file (so SaveTo is that
// folder), home/ stands in for the user's folders.
class Game {
 public:
  // Starts the game with "/LOG" and a settings file holding `settings`
  // (lines of "Key = value" with CR LF ends).
  static void Start(const std::string& name, const std::string& settings) {
    root_ = std::filesystem::current_path().string() + "/scratch/" + name + "/";
    prog_ = root_ + "prog/";
    const std::string home = root_ + "home/";
    ASSERT_TRUE(folder_remove_all(root_));
    ASSERT_TRUE(folder_make(prog_));
    ASSERT_TRUE(folder_make(home));
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    const char* build = std::getenv("DUSK_BINARY_DIR");
    ASSERT_NE(build, nullptr) << "DUSK_BINARY_DIR is not set";
    for (const char* pack : {"DuskmatchData.pack", "DuskmatchLanguages.pack", "DuskmatchCursor.pack"}) {
      std::error_code error;
      std::filesystem::create_symlink(std::string(build) + "/bin/" + pack, prog_ + pack, error);
      ASSERT_FALSE(error) << pack << ": " << error.message();
    }
    const std::string prefs = "[Settings]\r\n" + settings;
    ASSERT_TRUE(file_write(prog_ + kSettingsFileName, prefs.data(), prefs.size()));
    StartUp({"/LOG"}, prog_);
    ASSERT_EQ(Screen, 1) << "the display did not open";
    log_ = LogFileName(SaveTo, StartStamp);
    started_ = true;
    Unpaced();
  }

  // Everything back to nothing, ready for the next start.
  static void Stop() {
    if (!started_) return;
    ResetProgram();
    started_ = false;
  }

  static const std::string& ProgramFolder() { return prog_; }

  // The pacing of 60 frames per second only slows the tests down; the
  // loop's order of work does not depend on it. Display setup sets it again.
  static void Unpaced() { frame_rate_set(0); }

  // Runs n passes of the main loop.
  static void Pass(int n = 1) {
    for (int i = 0; i < n; ++i) LoopPass();
  }

  // Puts the loop on a screen with the counters at rest and no input
  // pending; for setting a scene up, not for testing a transition.
  static void Scene(int state) {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    ScreenState = state;
    FrameCounter = 0;
    QuitRequested = 0;
  }
  // The settings screen entered from the main menu, with the music setting
  // changed there and not applied yet.
  static void SettingsWithAChange() {
    Scene(MainMenu);
    EnterSettings();
    PendingMusic = 1 - Music;
  }

  // ---- Input as the system delivers it ----

  static void Key(SDL_Scancode code, bool down) { test_events::Key(code, down); }
  // A key pressed in one pass and let go before the next: the loop sees it
  // released in the second pass.
  static void Tap(SDL_Scancode code) {
    Key(code, true);
    Pass();
    Key(code, false);
    Pass();
  }

  static Uint32 WindowId() { return window_system_id(kGameWindow); }

  static void WindowEvent(SDL_WindowEventID event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = static_cast<Uint8>(event);
    SDL_PushEvent(&e);
  }

  // The pointer moved to (x, y) of the game window and a button released
  // there: one click event for the next pass.
  static void PushWindowClick(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = WindowId();
    move.motion.x = x;
    move.motion.y = y;
    SDL_PushEvent(&move);
    SDL_Event up{};
    up.type = SDL_MOUSEBUTTONUP;
    up.button.windowID = WindowId();
    up.button.button = button;
    up.button.state = SDL_RELEASED;
    up.button.clicks = 1;
    up.button.x = x;
    up.button.y = y;
    SDL_PushEvent(&up);
  }
  static void WindowClick(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    PushWindowClick(x, y, button);
    Pass();
  }

  // The middle of a control's hit area, clicked through the input path of
  // the open screen: a window event, or the polled mouse of the full screen
  // (a pass to take the mouse, one with the button down, and its release
  // pushed for the next poll).
  static void ClickControl(int index) {
    const Control& c = Controls[static_cast<size_t>(index)];
    ASSERT_GT(c.width, 0) << "control " << index << " cannot be hit";
    const int x = c.left + c.width / 2;
    const int y = c.top + ControlHeight(index) / 2;
    if (screen_in_window() != 0) {
      WindowClick(x, y);
      return;
    }
    Pass();
    MouseMove(x - mouse_x(), y - mouse_y());
    MouseButton(SDL_BUTTON_LEFT, true);
    Pass();
    MouseButton(SDL_BUTTON_LEFT, false);
  }

  // Relative motion and buttons of the tracked full-screen mouse.
  static void MouseMove(int dx, int dy) { test_events::MouseMotion(screen_system_window_id(), 0, 0, dx, dy); }
  static void MouseButton(Uint8 button, bool down) {
    test_events::MouseButton(screen_system_window_id(), button, down);
  }

  // ---- Reading back ----

  // The centre of the card at a column and row, on the screen.
  static int CardCentreX(int column, int row) { return CardAt(column, row).X + CardSize / 2; }
  static int CardCentreY(int column, int row) { return CardAt(column, row).Y + CardSize / 2; }

  // The lines of the log, without their CR LF ends.
  static std::vector<std::string> LogLines() { return test_screen::CrLfLines(log_); }
  // Position of the first log line equal to `line` at or after `from`; -1 when none.
  static int LogIndex(const std::string& line, int from = 0) {
    std::vector<std::string> lines = LogLines();
    for (int i = from; i < static_cast<int>(lines.size()); ++i)
      if (lines[static_cast<size_t>(i)] == line) return i;
    return -1;
  }

  // What the last pass drew (the back buffer), read through a screen grab
  // saved as PNG and decoded again.
  static ImageBuffer Grab() {
    constexpr int kGrabSprite = 99;
    return test_screen::GrabScreen(kGrabSprite, 0, 0, screen_width(), screen_height(), root_ + "grab.png");
  }
  static ImageBuffer DecodeFile(const std::string& path) { return test_screen::DecodePicture(path); }
  // Colour 0x00RRGGBB of a pixel.
  static uint32_t Pixel(const ImageBuffer& image, int x, int y) { return test_screen::ImagePixel(image, x, y); }
  // Whether two grabs agree on every pixel of a rectangle.
  static bool SameArea(const ImageBuffer& a, const ImageBuffer& b, int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i)
        if (Pixel(a, i, j) != Pixel(b, i, j)) return false;
    return true;
  }
  static bool Same(const ImageBuffer& a, const ImageBuffer& b) {
    return a.width == b.width && a.height == b.height && SameArea(a, b, 0, 0, a.width, a.height);
  }

  // Covers the screen with one colour, so that a pass that draws nothing
  // shows.
  static void PaintScreen(int bgr) {
    constexpr int kPaintSprite = 98;
    ASSERT_NO_FATAL_FAILURE(test_screen::CoverScreen(kPaintSprite, bgr));
    sprite_free(kPaintSprite);
  }

  // The other card with the same face as the card at pos.
  static BoardPos Partner(BoardPos pos) {
    for (int c = 0; c < kBoardColumns; ++c)
      for (int r = 0; r < kBoardRows; ++r)
        if ((c != pos.Column || r != pos.Row) && CardAt(c, r).Face == CardAt(pos).Face) return {c, r};
    ADD_FAILURE() << "card " << pos.Column << "," << pos.Row << " has no partner";
    return pos;
  }

 private:
  static inline std::string root_;
  static inline std::string prog_;
  static inline std::string log_;
  static inline bool started_ = false;
};

}  // namespace loop_test
