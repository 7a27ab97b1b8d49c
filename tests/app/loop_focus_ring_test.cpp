// The focus ring as drawn by the real loop in each window mode, measured on
// the screen's pixels: round every card on each background with each card
// set, and round every control of every menu screen; its two colours, each
// a closed band, and their contrast against every pixel of the card backs,
// the background and the panel that the ring lies on or beside. Then the
// window mode changed by the keyboard alone.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/input/input.h"

#include "tests/app/navigation_harness.h"
#include "tests/support/screen_probe.h"
#include "ui/focus_ring.h"
#include "ui/settings_screen.h"

namespace {

using loop_test::Game;

// Relative luminance and contrast ratio as the web's accessibility
// guidelines define them, of 0x00RRGGBB colours.
double Luminance(uint32_t rgb) {
  auto channel = [](uint32_t v) {
    const double c = static_cast<double>(v & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(rgb >> 16) + 0.7152 * channel(rgb >> 8) + 0.0722 * channel(rgb);
}
double Contrast(uint32_t a, uint32_t b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Rect {
  int left, top, width, height;
};

// How far outside the rectangle a pixel lies (0 inside), counted as the
// ring's square corners count it.
int Outside(const Rect& r, int x, int y) {
  const int dx = x < r.left ? r.left - x : (x >= r.left + r.width ? x - (r.left + r.width - 1) : 0);
  const int dy = y < r.top ? r.top - y : (y >= r.top + r.height ? y - (r.top + r.height - 1) : 0);
  return std::max(dx, dy);
}

std::string ModeName(const ::testing::TestParamInfo<int>& info);

class FocusRing : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    Game::Start("FocusRing." + ModeName(::testing::TestParamInfo<int>(GetParam(), 0)),
                "Language = en_GB\r\nMusic = 0\r\nGameScreen = " + std::to_string(GetParam()) +
                    "\r\nScreenMode = 1280x720\r\n");
    ASSERT_EQ(Screen, 1);
    width_ = screen_width();
    height_ = screen_height();
    PointerAway();
  }

  // The full screen draws its own pointer over everything: it goes to the
  // bottom-right corner, out of the way of the rings.
  void PointerAway() {
    Game::Pass();
    if (screen_in_window() == 0) {
      Game::MouseMove(width_, height_);
      Game::Pass();
    }
  }
  bool UnderPointer(int x, int y) const {
    return screen_in_window() == 0 && x >= mouse_x() && y >= mouse_y();
  }
  void TearDown() override {
    Game::Stop();
    if (checked_ > 0) {
      printf("  mode %d: %d rings, %lld pixels beside them; lowest contrast %.2f, between the ring's colours %.2f\n",
             GetParam(), checked_, static_cast<long long>(surface_), lowest_, between_);
    }
  }

  // What the screen shows now.
  std::vector<uint32_t> Read(const Rect& r) const {
    std::vector<uint32_t> px(static_cast<size_t>(r.width) * static_cast<size_t>(r.height));
    EXPECT_NE(screen_read_pixels(r.left, r.top, r.width, r.height, px.data()), 0);
    for (uint32_t& p : px) p &= 0xFFFFFF;
    return px;
  }
  Rect Whole() const { return {0, 0, width_, height_}; }

  // The ring round target, drawn over plain (the whole screen without it):
  // the pixels 2 to 4 outside the target one light colour, 5 and 6 one dark
  // colour, all the way round, nothing else changed; and against every
  // pixel under the ring and next to it (the surface), one of the two
  // colours stands at least 3 to 1.
  void CheckRing(const Rect& target, const std::vector<uint32_t>& plain, const char* what) {
    SCOPED_TRACE(what);
    const int reach = kFocusRingReach + 1;
    Rect area{std::max(0, target.left - reach), std::max(0, target.top - reach), 0, 0};
    area.width = std::min(width_, target.left + target.width + reach) - area.left;
    area.height = std::min(height_, target.top + target.height + reach) - area.top;
    const std::vector<uint32_t> now = Read(area);
    auto at = [&](int x, int y) { return now[static_cast<size_t>(y - area.top) * area.width + (x - area.left)]; };
    auto under = [&](int x, int y) { return plain[static_cast<size_t>(y) * width_ + x]; };
    // The colours, from the middle of the top side (or the bottom one when
    // the top is off the screen).
    const int mx = std::clamp(target.left + target.width / 2, 0, width_ - 1);
    const bool top = target.top - kFocusRingReach >= 0;
    const int ly = top ? target.top - 3 : target.top + target.height + 2;
    const int dy = top ? target.top - 6 : target.top + target.height + 5;
    if (light_ == 0 && dark_ == 0) {
      light_ = at(mx, ly);
      dark_ = at(mx, dy);
      between_ = Contrast(light_, dark_);
      ASSERT_GE(between_, 9.0) << "two colours this far apart stand 3 to 1 against any third";
    }
    int wrong = 0;
    for (int y = area.top; y < area.top + area.height; ++y)
      for (int x = area.left; x < area.left + area.width; ++x) {
        const int d = Outside(target, x, y);
        const uint32_t expect = d >= 2 && d <= 4 ? light_ : (d >= 5 && d <= 6 ? dark_ : under(x, y));
        if (UnderPointer(x, y)) continue;
        if (at(x, y) != expect && wrong++ < 3) {
          ADD_FAILURE() << "pixel " << x << "," << y << " (" << d << " outside) is " << std::hex << at(x, y)
                        << ", not " << expect;
        }
        // The surface: what the ring covers and what touches it on either
        // side (the card's edge or the panel inside, the background or the
        // panel outside).
        if (d >= 0 && d <= kFocusRingReach + 1) {
          const uint32_t s = under(x, y);
          const double best = std::max(Contrast(light_, s), Contrast(dark_, s));
          lowest_ = std::min(lowest_, best);
          ++surface_;
          if (best < 3.0 && wrong++ < 3) ADD_FAILURE() << "only " << best << " against " << std::hex << s;
        }
      }
    ++checked_;
  }

  int width_ = 0;
  int height_ = 0;
  uint32_t light_ = 0;
  uint32_t dark_ = 0;
  double between_ = 0;
  double lowest_ = 1e9;
  int64_t surface_ = 0;
  int checked_ = 0;
};

TEST_P(FocusRing, RoundEveryCardOnEveryBackgroundAndCardSet) {
  for (int set = 0; set < 2; ++set)
    for (int background = 0; background < 4; ++background) {
      Game::Scene(MainMenu);
      GameInProgress = 0;
      HideFocus();
      Game::ClickControl(kControlStart);
      ASSERT_EQ(ScreenState, Playing);
      SetIndex = set;
      BackgroundIndex = background;
      PointerAway();
      const std::vector<uint32_t> plain = Read(Whole());
      Game::Tap(SDL_SCANCODE_TAB);  // shows the focus on the top-left card
      for (int card = 0; card < kBoardCards; ++card) {
        BoardPos at;
        ASSERT_TRUE(nav_test::FocusedCard(&at));
        ASSERT_EQ(at.Row * kBoardColumns + at.Column, card);
        const BoardCard& c = CardAt(at);
        const std::string what = "set " + std::to_string(set) + ", background " + std::to_string(background) +
                                 ", card " + std::to_string(card);
        CheckRing({c.X, c.Y, CardSize, CardSize}, plain, what.c_str());
        if (HasFatalFailure()) return;
        Game::Tap(SDL_SCANCODE_TAB);
      }
    }
}

TEST_P(FocusRing, RoundEveryControlOnThePanel) {
  ScreenModeList = {"1024x768", "1280x720", "1920x1080"};
  ScreenMode = "1280x720";
  GameInProgress = 1;
  for (int screen : {MainMenu, NewGameQuestion, QuitQuestion, SettingsScreen, CreditsScreen}) {
    Game::Scene(screen);
    if (screen == SettingsScreen) {
      Game::Scene(MainMenu);
      EnterSettings();
      PendingGameScreen = kWindowed;  // every arrow active
    }
    HideFocus();
    Game::Pass();
    const std::vector<uint32_t> plain = Read(Whole());
    Game::Tap(SDL_SCANCODE_TAB);
    const std::vector<FocusTarget> targets = FocusTargets(ScreenState);
    ASSERT_FALSE(targets.empty());
    for (const FocusTarget& t : targets) {
      ASSERT_EQ(nav_test::FocusedControl(), t.index);
      const std::string what = "screen " + std::to_string(screen) + ", control " + std::to_string(t.index);
      CheckRing({t.left, t.top, t.width, t.height}, plain, what.c_str());
      if (HasFatalFailure()) return;
      Game::Tap(SDL_SCANCODE_TAB);
    }
  }
  Game::Scene(MainMenu);
}

// The window mode changed and applied with the keyboard alone: the display
// reopens, and the focus goes on, ring and all, on the new screen.
TEST_P(FocusRing, TheWindowModeChangedByTheKeyboardAlone) {
  const int from = GetParam();
  const int to = from == kBorderless ? kWindowed : from + 1;
  Game::Scene(MainMenu);
  HideFocus();
  Game::Tap(SDL_SCANCODE_DOWN);
  ASSERT_TRUE(nav_test::WalkToControl(nav_test::Device::Keyboard, kControlSettings));
  Game::Tap(SDL_SCANCODE_RETURN);
  ASSERT_EQ(ScreenState, SettingsScreen);
  const int arrow = to > from ? kControlModeRight : kControlModeLeft;
  ASSERT_TRUE(nav_test::WalkToControl(nav_test::Device::Keyboard, arrow));
  Game::Tap(SDL_SCANCODE_RETURN);
  EXPECT_EQ(PendingGameScreen, to);
  ASSERT_TRUE(nav_test::WalkToControl(nav_test::Device::Keyboard, kControlSettingsOk));
  Game::Tap(SDL_SCANCODE_RETURN);
  ASSERT_EQ(Screen, 1);
  EXPECT_EQ(GameScreen, to);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_TRUE(FocusShown()) << "a new window is no movement of the mouse";
  EXPECT_EQ(nav_test::FocusedControl(), kControlStart);
  EXPECT_EQ(screen_in_window(), to == kFullScreen ? 0 : 1);
  EXPECT_GE(Game::LogIndex("Opening screen (" + std::string(to == kFullScreen ? "Fullscreen" : to == kWindowed
                                                                                                ? "Windowed"
                                                                                                : "Borderless") +
                           "):\t\tOK"),
            0);
  // The ring on the reopened screen, round the main menu's first entry.
  width_ = screen_width();
  height_ = screen_height();
  Game::Unpaced();
  HideFocus();
  PointerAway();
  Game::Pass();
  const std::vector<uint32_t> plain = Read(Whole());
  Game::Tap(SDL_SCANCODE_DOWN);
  ASSERT_TRUE(FocusShown());
  const FocusTarget start = ControlTarget(kControlStart);
  CheckRing({start.left, start.top, start.width, start.height}, plain, "after the reopen");
  // And the keyboard plays on: the credits and back.
  ASSERT_TRUE(nav_test::WalkToControl(nav_test::Device::Keyboard, kControlCredits));
  Game::Tap(SDL_SCANCODE_RETURN);
  EXPECT_EQ(ScreenState, CreditsScreen);
  Game::Tap(SDL_SCANCODE_RETURN);
  EXPECT_EQ(ScreenState, MainMenu);
}

std::string ModeName(const ::testing::TestParamInfo<int>& info) {
  return info.param == kFullScreen ? "FullScreen" : info.param == kWindowed ? "Windowed" : "Borderless";
}

INSTANTIATE_TEST_SUITE_P(Modes, FocusRing, ::testing::Values(kFullScreen, kWindowed, kBorderless), ModeName);

}  // namespace
