// The settings screen: entering, each control with its conditions, no wrap
// round, cancel, OK through the apply sequence, the full-screen pauses and
// the layers with the inactive arrows and the dimmed size row.
#include "app/folders.h"
#include "app/main_loop.h"
#include "game/screen_state.h"
#include "game/sprites.h"
#include "tests/ui/ui_screen.h"
#include "ui/settings_layout.h"
#include "ui/settings_screen.h"

namespace ui_test {
namespace {

// Points inside the arrows of the three rows and the music box (16-pixel
// pictures), where the screen shows which picture is drawn.
constexpr int kLeftX = kL + kSettingsLeftColumn + 8, kRightX = kL + kSettingsRightColumn + 8;
constexpr int kLanguageY = kT + SettingsPictureTop(kLanguageRow) + 8;
constexpr int kMusicY = kT + SettingsPictureTop(kMusicRow) + 8;
constexpr int kModeY = kT + SettingsPictureTop(kGameScreenRow) + 8;
constexpr int kSizeY = kT + SettingsPictureTop(kScreenModeRow) + 8;
// The ink in a list row's strip, 30 pixels high.
InkBox StripInk(const Shot& s, int row) {
  const int left = kL + kSettingsStripLeft;
  const int top = kT + SettingsRowTop(row);
  return Ink(s, left, top, left + kSettingsStripWidth, top + 30);
}

class SettingsTest : public UiScreen {
 protected:
  // More languages beside en_GB, by code and name, enumerated.
  static void Languages(const std::vector<std::pair<std::string, std::string>>& extra) {
    for (const auto& [code, name] : extra) {
      auto texts = BaseTexts();
      texts["tLangFileNAME"] = name;
      WriteLanguage(code, texts);
    }
    ASSERT_EQ(EnumerateLanguages(kPack), 1);
  }
  static void Enter() {
    RenderTextSprites(1);
    EnterSettings();
  }
  static int Click(int index, bool fullScreen = false) {
    auto [x, y] = Centre(index);
    return SettingsClick(x, y, fullScreen, ApplyPendingSettings);
  }
  // The text shown in a strip's window, by the width of its ink.
  static int Shown(int sprite) { return Ink(Show(sprite, 280, 30), 0, 0, 280, 30).width(); }
  static Shot Screen() {
    Fill(kBoard);
    DrawSettingsScreen();
    return Grab(0, 0, kW, kH);
  }
};

TEST_F(SettingsTest, EnteringCopiesTheSettingsAndShowsThem) {
  Languages({{"de_DE", "Deutsch mit einem langen Namen"}});
  Language = "de_DE";
  Music = 1;
  GameScreen = kWindowed;
  ScreenMode = "1920x1080";
  PendingScreenMode = "junk";
  Enter();
  EXPECT_EQ(ScreenState, SettingsScreen);
  EXPECT_EQ(PendingLanguage, "de_DE");
  EXPECT_EQ(PendingMusic, 1);
  EXPECT_EQ(PendingGameScreen, kWindowed);
  EXPECT_EQ(PendingScreenMode, "1920x1080");
  EXPECT_EQ(LanguageList[static_cast<size_t>(LanguageIndex)].code, "de_DE");
  EXPECT_EQ(ScreenModeIndex, 2);
  EXPECT_NEAR(Shown(kLanguageStrip), Measure(1, "Deutsch mit einem langen Namen"), 6);
  EXPECT_NEAR(Shown(kGameScreenStrip), Measure(1, "A window with a frame"), 6);
  EXPECT_NEAR(Shown(kScreenModeStrip), Measure(1, "1920x1080"), 6);
  EXPECT_NEAR(Shown(kScreenModeDimStrip), Measure(1, "1920x1080"), 6);
}

TEST_F(SettingsTest, TheLanguageArrowsStepWithoutWrappingAndOneLanguageDisablesBoth) {
  Languages({});
  Enter();
  Shot s = Screen();
  EXPECT_EQ(s.at(kLeftX, kLanguageY), kLeftOff);
  EXPECT_EQ(s.at(kRightX, kLanguageY), kRightOff);
  Click(kControlLanguageRight);
  EXPECT_EQ(PendingLanguage, "en_GB");

  Languages({{"de_DE", "Deutsch mit einem langen Namen"}, {"fr_FR", "Fr"}});
  ASSERT_EQ(LanguageList.size(), 3u);
  Language = LanguageList[0].code;
  Enter();
  s = Screen();
  EXPECT_EQ(s.at(kLeftX, kLanguageY), kLeftOff);
  EXPECT_EQ(s.at(kRightX, kLanguageY), kRightArrow);
  Click(kControlLanguageLeft);
  EXPECT_EQ(LanguageIndex, 0);
  struct Step {
    int control;
    size_t index;
  };
  for (Step step : {Step{kControlLanguageRight, 1}, Step{kControlLanguageRight, 2},
                    Step{kControlLanguageRight, 2} /* the end */, Step{kControlLanguageLeft, 1}}) {
    Click(step.control);
    EXPECT_EQ(LanguageIndex, static_cast<int>(step.index));
    EXPECT_EQ(PendingLanguage, LanguageList[step.index].code);
    EXPECT_NEAR(Shown(kLanguageStrip), Measure(1, LanguageList[step.index].name), 6);
  }
  EXPECT_EQ(Language, LanguageList[0].code);  // only the pending copy changes
}

TEST_F(SettingsTest, AnEmptyListShowsItsRightArrowActiveButNeitherSteps) {
  // The right arrow is inactive where the index is the count - 1: never for
  // an empty list, whose index stays 0.
  ASSERT_TRUE(LanguageList.empty());  // no language enumerated
  ScreenModeList.clear();
  GameScreen = kWindowed;
  Enter();
  Shot s = Screen();
  EXPECT_EQ(std::vector<Rgb>({s.at(kLeftX, kLanguageY), s.at(kRightX, kLanguageY), s.at(kLeftX, kSizeY),
                              s.at(kRightX, kSizeY)}),
            std::vector<Rgb>({kLeftOff, kRightArrow, kLeftOff, kRightArrow}));
  for (int c : {kControlLanguageLeft, kControlLanguageRight, kControlSizeLeft, kControlSizeRight}) Click(c);
  EXPECT_EQ(LanguageIndex, 0);
  EXPECT_EQ(ScreenModeIndex, 0);
  EXPECT_EQ(PendingLanguage, Language);
  EXPECT_EQ(PendingScreenMode, ScreenMode);
}

TEST_F(SettingsTest, TheWindowSizeCountsOnlyWhenWindowedIsChosen) {
  Enter();  // full screen
  Click(kControlModeLeft);
  Click(kControlSizeRight);
  Click(kControlSizeLeft);
  EXPECT_EQ(PendingGameScreen, kFullScreen);
  EXPECT_EQ(PendingScreenMode, "1280x720");
  Shot s = Screen();
  EXPECT_EQ(std::vector<Rgb>({s.at(kLeftX, kModeY), s.at(kRightX, kModeY), s.at(kLeftX, kSizeY), s.at(kRightX, kSizeY)}),
            std::vector<Rgb>({kLeftOff, kRightArrow, kLeftOff, kRightOff}));
  const int dimInk = StripInk(s, kScreenModeRow).darkestGreen;

  Click(kControlModeRight);
  EXPECT_EQ(PendingGameScreen, kWindowed);
  EXPECT_NEAR(Shown(kGameScreenStrip), Measure(1, "A window with a frame"), 6);
  s = Screen();
  EXPECT_EQ(s.at(kLeftX, kSizeY), kLeftArrow);
  EXPECT_EQ(s.at(kRightX, kSizeY), kRightArrow);
  EXPECT_GT(dimInk, StripInk(s, kScreenModeRow).darkestGreen + 15);
  Click(kControlSizeRight);
  Click(kControlSizeRight);  // no wrap round
  EXPECT_EQ(PendingScreenMode, "1920x1080");
  EXPECT_EQ(ScreenModeIndex, 2);
  EXPECT_NEAR(Shown(kScreenModeStrip), Measure(1, "1920x1080"), 6);
  EXPECT_EQ(Screen().at(kRightX, kSizeY), kRightOff);
  Click(kControlSizeLeft);
  Click(kControlSizeLeft);
  EXPECT_EQ(PendingScreenMode, "1024x768");

  Click(kControlModeRight);
  Click(kControlModeRight);  // borderless is the last mode
  EXPECT_EQ(PendingGameScreen, kBorderless);
  Click(kControlSizeRight);
  EXPECT_EQ(PendingScreenMode, "1024x768");
  s = Screen();
  EXPECT_EQ(s.at(kLeftX, kModeY), kLeftArrow);
  EXPECT_EQ(s.at(kRightX, kModeY), kRightOff);
  EXPECT_EQ(GameScreen, kFullScreen);
  EXPECT_EQ(ScreenMode, "1280x720");
}

TEST_F(SettingsTest, AConfiguredSizeMissingFromTheListShowsTheFirstAndCannotStep) {
  GameScreen = kWindowed;
  ScreenMode = "999x999";
  Enter();
  EXPECT_EQ(ScreenModeIndex, 0);
  EXPECT_NEAR(Shown(kScreenModeStrip), Measure(1, "1024x768"), 6);
  Shot s = Screen();
  EXPECT_EQ(s.at(kLeftX, kSizeY), kLeftOff);
  EXPECT_EQ(s.at(kRightX, kSizeY), kRightArrow);
  Click(kControlSizeRight);  // shown active, but the size is not in the list
  Click(kControlSizeLeft);
  EXPECT_EQ(PendingScreenMode, "999x999");
  EXPECT_EQ(ScreenModeIndex, 0);
}

TEST_F(SettingsTest, ALanguageMissingFromTheListShowsTheFirstAndCannotStep) {
  Languages({{"de_DE", "Deutsch mit einem langen Namen"}, {"fr_FR", "Fr"}});
  Language = "xx_XX";
  Enter();
  EXPECT_EQ(LanguageIndex, 0);
  EXPECT_NEAR(Shown(kLanguageStrip), Measure(1, LanguageList[0].name), 6);
  Shot s = Screen();
  EXPECT_EQ(s.at(kLeftX, kLanguageY), kLeftOff);
  EXPECT_EQ(s.at(kRightX, kLanguageY), kRightArrow);
  Click(kControlLanguageRight);
  Click(kControlLanguageLeft);
  EXPECT_EQ(PendingLanguage, "xx_XX");
  EXPECT_EQ(LanguageIndex, 0);
  EXPECT_NEAR(Shown(kLanguageStrip), Measure(1, LanguageList[0].name), 6);
}

TEST_F(SettingsTest, CancelAndEscapeDropThePendingCopies) {
  Languages({{"de_DE", "Deutsch mit einem langen Namen"}});
  Language = LanguageList[0].code;
  Music = 1;
  Enter();
  for (int c : {kControlLanguageRight, kControlMusicBox, kControlModeRight, kControlSizeRight}) Click(c);
  ASSERT_EQ(PendingScreenMode, "1920x1080");
  EXPECT_EQ(Click(kControlSettingsCancel), 0);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(PendingLanguage, LanguageList[0].code);
  EXPECT_EQ(PendingMusic, 1);
  EXPECT_EQ(PendingGameScreen, kFullScreen);
  EXPECT_EQ(PendingScreenMode, "1280x720");
  EXPECT_EQ(Music, 1);
  EXPECT_NEAR(Shown(kLanguageStrip), Measure(1, LanguageList[0].name), 6);
  EXPECT_NEAR(Shown(kScreenModeStrip), Measure(1, "1280x720"), 6);
  EXPECT_NEAR(Shown(kGameScreenStrip), Measure(1, "Full screen"), 6);
  EnterSettings();
  Click(kControlMusicBox);
  CancelSettings();  // what Escape does
  EXPECT_EQ(PendingMusic, 1);
  EXPECT_EQ(ScreenState, MainMenu);
}

TEST_F(SettingsTest, OkMakesThePendingValuesCurrent) {
  auto texts = BaseTexts();
  texts["tLangFileNAME"] = "Deutsch";
  texts["tMenuSTART"] = "Neues Spiel";
  WriteLanguage("de_DE", texts);
  ASSERT_EQ(EnumerateLanguages(kPack), 1);
  GameDir = "";  // the language folder lies in the working folder
  Music = 0;
  Enter();
  Click(kControlMusicBox);
  Click(kControlMusicBox);  // twice: as it was
  PendingLanguage = "de_DE";
  EXPECT_EQ(Click(kControlSettingsOk), 1);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(Music, 0);
  EXPECT_EQ(Language, "de_DE");
  EXPECT_EQ(Controls[kControlStart].width, Measure(0, "Neues Spiel"));  // the captions made again
  EnterSettings();
  Click(kControlMusicBox);
  EXPECT_EQ(Click(kControlSettingsOk), 1);
  EXPECT_EQ(Music, 1);
}

TEST_F(SettingsTest, InFullScreenOkGoesOnWithTheClicksOtherTests) {
  // OK applies the settings: a new language places the controls anew, and
  // where the display reopened at another size they move. A window stops
  // this click at OK; the full screen's click goes on through the other
  // tests, on the controls where they are now. Here the music box comes to
  // lie under the click: at 960 x 1280 the panel stands at (80, 340), the
  // box 20 pixels square at (349, 610), inside where OK was (340, 600, its
  // width, 40 high).
  auto texts = BaseTexts();
  texts["tLangFileNAME"] = "Deutsch";
  WriteLanguage("de_DE", texts);
  ASSERT_EQ(EnumerateLanguages(kPack), 1);
  GameDir = "";  // the language folder lies in the working folder
  Music = 0;
  for (bool fullScreen : {false, true}) {
    SCOPED_TRACE(fullScreen ? "full screen" : "window");
    Language = "en_GB";
    ScreenWidth = kW;
    ScreenHeight = kH;
    Enter();
    PendingLanguage = "de_DE";
    ASSERT_EQ(Controls[kControlSettingsOk].left, kL + 100);
    ASSERT_GT(Controls[kControlSettingsOk].width, 359 - (kL + 100));
    ScreenWidth = 960;
    ScreenHeight = 1280;
    const int result = SettingsClick(359, 620, fullScreen, ApplyPendingSettings);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ScreenState, MainMenu);
    EXPECT_EQ(Language, "de_DE");
    EXPECT_EQ(Controls[kControlMusicBox].left, 349);
    EXPECT_EQ(Music, 0);
    EXPECT_EQ(PendingMusic, fullScreen ? 1 : 0);
  }
}

TEST_F(SettingsTest, FullScreenHitsPauseOnlyWhereTheControlActs) {
  Languages({});
  Enter();
  for (int inert : {kControlLanguageLeft, kControlModeLeft, kControlSizeRight})
    EXPECT_LT(Millis([&] { Click(inert, true); }), 100.0) << inert;
  EXPECT_LT(Millis([] { Click(kControlMusicBox, false); }), 100.0);
  for (int active : {kControlMusicBox, kControlModeRight, kControlSizeRight, kControlSettingsCancel})
    EXPECT_GE(Millis([&] { Click(active, true); }), 100.0) << active;
  EnterSettings();
  EXPECT_GE(Millis([] { Click(kControlSettingsOk, true); }), 100.0);
  EXPECT_EQ(ScreenState, MainMenu);
}

TEST_F(SettingsTest, TheScreenIsDrawnInItsLayers) {
  Music = 1;
  Enter();
  Shot s = Screen();
  EXPECT_TRUE(near(s.at(5, 5), kDimmedBoard));
  EXPECT_EQ(s.at(kL + 5, kT + 5), kPanel);
  const int titleLeft = (kW - sprite_width(kSettingsText)) / 2;
  EXPECT_NE(s.at(titleLeft + 1, kT + 141), kPanel);
  EXPECT_EQ(s.at(titleLeft + 1, kT + 139), kPanel);
  EXPECT_EQ(s.at(kW / 2, kT + 217), kBar);  // over the title
  // The labels block, 530 x 320 at (L + 74, T + 220), the strips over it.
  EXPECT_EQ(std::vector<Rgb>({s.at(kL + 73, kT + 221), s.at(kL + 74, kT + 220), s.at(kL + 603, kT + 539),
                              s.at(kL + 604, kT + 300)}),
            std::vector<Rgb>({kPanel, kTextPanel, kTextPanel, kPanel}));
  EXPECT_GT(Ink(s, kL + 74, kT + 220, kL + 274, kT + 400).pixels, 200);  // labels
  EXPECT_GT(StripInk(s, kGameScreenRow).pixels, 50);  // window mode
  EXPECT_EQ(s.at(kLeftX, kMusicY), kTickedBox);
  // OK at the left of the panel, cancel at its right.
  EXPECT_GT(Ink(s, kL + 100, kT + 540, kL + 100 + sprite_width(kOkText), kT + 580).pixels, 20);
  EXPECT_EQ(s.at(kL + 99, kT + 560), kPanel);
  const int cancelRight = kL + kPanelW - 100;
  EXPECT_GT(Ink(s, cancelRight - sprite_width(kCancelText), kT + 540, cancelRight, kT + 580).pixels, 20);
  EXPECT_EQ(s.at(cancelRight, kT + 560), kPanel);
  Click(kControlMusicBox);
  EXPECT_EQ(Screen().at(kLeftX, kMusicY), kBox);
}

}  // namespace
}  // namespace ui_test
