// The settings screen: entering, each control with its conditions, no wrap
// round, cancel, OK through the apply sequence, the full-screen pauses and
// the layers with the inactive arrows and the dimmed size row.
#include "app/folders.h"
#include "game/screen_state.h"
#include "tests/ui/ui_screen.h"
#include "ui/settings_screen.h"

namespace ui_test {
namespace {

class SettingsTest : public UiScreen {
 protected:
  // Languages with names of clearly different widths beside en_GB.
  void Languages(const std::vector<std::pair<std::string, std::string>>& extra) {
    for (const auto& [code, name] : extra) {
      auto texts = BaseTexts();
      texts["tLangFileNAME"] = name;
      WriteLanguage(code, texts);
    }
    ASSERT_EQ(EnumerateLanguages(kPack), 1);
  }
  void Enter() {
    RenderTextSprites(1);
    ScreenState = MainMenu;
    EnterSettings();
  }
  int Click(int index, bool fullScreen = false) {
    auto [x, y] = Centre(index);
    return SettingsClick(x, y, fullScreen);
  }
  // The text shown in a strip's window, by its ink width.
  static int ShownWidth(int sprite) { return Ink(Show(sprite, 280, 30), 0, 0, 280, 30).width(); }
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
  PendingLanguage = "junk";
  PendingMusic = 0;
  PendingGameScreen = 2;
  PendingScreenMode = "junk";
  Enter();
  EXPECT_EQ(ScreenState, SettingsScreen);
  EXPECT_EQ(PendingLanguage, "de_DE");
  EXPECT_EQ(PendingMusic, 1);
  EXPECT_EQ(PendingGameScreen, kWindowed);
  EXPECT_EQ(PendingScreenMode, "1920x1080");
  EXPECT_EQ(LanguageIndex, LanguageIndexOf("de_DE"));
  EXPECT_EQ(LanguageList[static_cast<size_t>(LanguageCursor)].code, "de_DE");
  EXPECT_EQ(ScreenModeIndex, 2);
  EXPECT_EQ(ScreenModeCursor, 2);
  EXPECT_NEAR(ShownWidth(kLanguageStrip), Measure(1, "Deutsch mit einem langen Namen"), 6);
  EXPECT_NEAR(ShownWidth(kGameScreenStrip), Measure(1, "A window with a frame"), 6);
  EXPECT_NEAR(ShownWidth(kScreenModeStrip), Measure(1, "1920x1080"), 6);
  EXPECT_NEAR(ShownWidth(kScreenModeDimStrip), Measure(1, "1920x1080"), 6);
}

TEST_F(SettingsTest, TheLanguageArrowsStepThroughTheListWithoutWrapping) {
  Languages({{"de_DE", "Deutsch mit einem langen Namen"}, {"fr_FR", "Fr"}});
  ASSERT_EQ(LanguageList.size(), 3u);
  Language = LanguageList[0].code;
  Enter();
  ASSERT_EQ(LanguageIndex, 0);
  Click(kControlLanguageLeft);
  EXPECT_EQ(LanguageIndex, 0);
  EXPECT_EQ(PendingLanguage, LanguageList[0].code);
  for (size_t i = 1; i < 3; ++i) {
    Click(kControlLanguageRight);
    EXPECT_EQ(LanguageIndex, static_cast<int>(i));
    EXPECT_EQ(LanguageCursor, static_cast<int>(i));
    EXPECT_EQ(PendingLanguage, LanguageList[i].code);
    EXPECT_NEAR(ShownWidth(kLanguageStrip), Measure(1, LanguageList[i].name), 6);
  }
  Click(kControlLanguageRight);  // the end: no wrap round
  EXPECT_EQ(LanguageIndex, 2);
  EXPECT_EQ(PendingLanguage, LanguageList[2].code);
  Click(kControlLanguageLeft);
  EXPECT_EQ(LanguageIndex, 1);
  EXPECT_EQ(PendingLanguage, LanguageList[1].code);
  EXPECT_EQ(Language, LanguageList[0].code);  // only the pending copy changes
}

TEST_F(SettingsTest, WithOneLanguageBothArrowsAreInactiveAndInert) {
  Languages({});
  ASSERT_EQ(LanguageList.size(), 1u);
  Enter();
  Shot s = Screen();
  EXPECT_EQ(s.at(kL + 282, kT + 243), kLeftOff);
  EXPECT_EQ(s.at(kL + 582, kT + 243), kRightOff);
  Click(kControlLanguageLeft);
  Click(kControlLanguageRight);
  EXPECT_EQ(PendingLanguage, "en_GB");
  EXPECT_EQ(LanguageIndex, 0);
  // Two languages, at the first: only the left one is inactive.
  Languages({{"de_DE", "Deutsch"}});
  Language = LanguageList[0].code;
  Enter();
  s = Screen();
  EXPECT_EQ(s.at(kL + 282, kT + 243), kLeftOff);
  EXPECT_EQ(s.at(kL + 582, kT + 243), kRightArrow);
}

TEST_F(SettingsTest, TheWindowSizeCountsOnlyWhenWindowedIsChosen) {
  GameScreen = kFullScreen;
  Enter();
  Click(kControlModeLeft);  // at the first mode already
  EXPECT_EQ(PendingGameScreen, kFullScreen);
  Click(kControlSizeRight);  // the size row is inert
  Click(kControlSizeLeft);
  EXPECT_EQ(PendingScreenMode, "1280x720");
  Shot s = Screen();
  EXPECT_EQ(s.at(kL + 282, kT + 323), kLeftOff);     // window-mode row at its start
  EXPECT_EQ(s.at(kL + 582, kT + 323), kRightArrow);
  EXPECT_EQ(s.at(kL + 282, kT + 363), kLeftOff);     // size row dimmed, both arrows off
  EXPECT_EQ(s.at(kL + 582, kT + 363), kRightOff);
  const int dimInk = Ink(s, kL + 294, kT + 350, kL + 574, kT + 380).darkestGreen;

  Click(kControlModeRight);
  EXPECT_EQ(PendingGameScreen, kWindowed);
  EXPECT_NEAR(ShownWidth(kGameScreenStrip), Measure(1, "A window with a frame"), 6);
  s = Screen();
  EXPECT_EQ(s.at(kL + 282, kT + 363), kLeftArrow);  // the middle size: both arrows work
  EXPECT_EQ(s.at(kL + 582, kT + 363), kRightArrow);
  EXPECT_GT(dimInk, Ink(s, kL + 294, kT + 350, kL + 574, kT + 380).darkestGreen + 15);
  Click(kControlSizeRight);
  EXPECT_EQ(PendingScreenMode, "1920x1080");
  EXPECT_EQ(ScreenModeIndex, 2);
  EXPECT_NEAR(ShownWidth(kScreenModeStrip), Measure(1, "1920x1080"), 6);
  Click(kControlSizeRight);  // no wrap round
  EXPECT_EQ(PendingScreenMode, "1920x1080");
  s = Screen();
  EXPECT_EQ(s.at(kL + 582, kT + 363), kRightOff);
  Click(kControlSizeLeft);
  Click(kControlSizeLeft);
  EXPECT_EQ(PendingScreenMode, "1024x768");
  EXPECT_EQ(ScreenModeIndex, 0);

  Click(kControlModeRight);
  Click(kControlModeRight);  // borderless is the last mode
  EXPECT_EQ(PendingGameScreen, kBorderless);
  EXPECT_NEAR(ShownWidth(kGameScreenStrip), Measure(1, "B"), 6);
  Click(kControlSizeRight);
  EXPECT_EQ(PendingScreenMode, "1024x768");
  s = Screen();
  EXPECT_EQ(s.at(kL + 282, kT + 323), kLeftArrow);
  EXPECT_EQ(s.at(kL + 582, kT + 323), kRightOff);
  EXPECT_EQ(GameScreen, kFullScreen);
  EXPECT_EQ(ScreenMode, "1280x720");
}

TEST_F(SettingsTest, AConfiguredSizeMissingFromTheListShowsTheFirstAndCannotStep) {
  GameScreen = kWindowed;
  ScreenMode = "999x999";
  Enter();
  EXPECT_EQ(ScreenModeIndex, 0);
  EXPECT_EQ(ScreenModeCursor, 2);
  EXPECT_EQ(PendingScreenMode, "999x999");
  EXPECT_NEAR(ShownWidth(kScreenModeStrip), Measure(1, "1024x768"), 6);
  Shot s = Screen();
  EXPECT_EQ(s.at(kL + 282, kT + 363), kLeftOff);
  EXPECT_EQ(s.at(kL + 582, kT + 363), kRightArrow);
  Click(kControlSizeRight);  // the cursor stands on the last entry
  Click(kControlSizeLeft);
  EXPECT_EQ(PendingScreenMode, "999x999");
  EXPECT_EQ(ScreenModeIndex, 0);
}

TEST_F(SettingsTest, CancelDropsThePendingCopiesAndShowsTheSettingsAgain) {
  Languages({{"de_DE", "Deutsch mit einem langen Namen"}});
  Language = LanguageList[0].code;
  const std::string other = LanguageList[1].code;
  Music = 1;
  Enter();
  Click(kControlLanguageRight);
  Click(kControlMusicBox);
  Click(kControlModeRight);
  Click(kControlSizeRight);
  ASSERT_EQ(PendingLanguage, other);
  ASSERT_EQ(PendingScreenMode, "1920x1080");
  EXPECT_EQ(Click(kControlSettingsCancel), 0);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(PendingLanguage, LanguageList[0].code);
  EXPECT_EQ(PendingMusic, 1);
  EXPECT_EQ(PendingGameScreen, kFullScreen);
  EXPECT_EQ(PendingScreenMode, "1280x720");
  EXPECT_EQ(Music, 1);
  EXPECT_EQ(GameScreen, kFullScreen);
  EXPECT_NEAR(ShownWidth(kLanguageStrip), Measure(1, LanguageList[0].name), 6);
  EXPECT_NEAR(ShownWidth(kScreenModeStrip), Measure(1, "1280x720"), 6);
  EXPECT_NEAR(ShownWidth(kGameScreenStrip), Measure(1, "Full screen"), 6);
  // Escape takes the same way.
  EnterSettings();
  Click(kControlMusicBox);
  CancelSettings();
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
  Language = "en_GB";
  Music = 0;
  Enter();
  // The music box twice: no change.
  Click(kControlMusicBox);
  Click(kControlMusicBox);
  EXPECT_EQ(PendingMusic, 0);
  PendingLanguage = "de_DE";
  EXPECT_EQ(Click(kControlSettingsOk), 1);
  EXPECT_EQ(ScreenState, MainMenu);
  EXPECT_EQ(Music, 0);
  EXPECT_EQ(Language, "de_DE");
  EXPECT_EQ(Text("tMenuSTART"), "Neues Spiel");
  EXPECT_EQ(Controls[kControlStart].width, Measure(0, "Neues Spiel"));  // the captions made again

  EnterSettings();
  Click(kControlMusicBox);
  EXPECT_EQ(PendingMusic, 1);
  EXPECT_EQ(Click(kControlSettingsOk), 1);
  EXPECT_EQ(Music, 1);
}

TEST_F(SettingsTest, FullScreenHitsPauseOnlyWhereTheControlActs) {
  Languages({});
  Enter();
  EXPECT_LT(Millis([&] { Click(kControlLanguageLeft, true); }), 100.0);  // inactive
  EXPECT_LT(Millis([&] { Click(kControlModeLeft, true); }), 100.0);      // at full screen
  EXPECT_LT(Millis([&] { Click(kControlSizeRight, true); }), 100.0);     // size row inert
  EXPECT_LT(Millis([&] { Click(kControlMusicBox, false); }), 100.0);     // a window click
  EXPECT_GE(Millis([&] { Click(kControlMusicBox, true); }), 100.0);
  EXPECT_GE(Millis([&] { Click(kControlModeRight, true); }), 100.0);
  EXPECT_GE(Millis([&] { Click(kControlSizeRight, true); }), 100.0);
  EXPECT_GE(Millis([&] { Click(kControlSettingsCancel, true); }), 100.0);
  EXPECT_EQ(ScreenState, MainMenu);
  EnterSettings();
  EXPECT_GE(Millis([&] { Click(kControlSettingsOk, true); }), 100.0);
  EXPECT_EQ(ScreenState, MainMenu);
}

TEST_F(SettingsTest, TheScreenIsDrawnInItsLayers) {
  Music = 1;
  Enter();
  Shot s = Screen();
  EXPECT_TRUE(near(s.at(5, 5), Rgb{0, 100, 0}));
  EXPECT_EQ(s.at(kL + 5, kT + 5), kPanel);
  const int titleLeft = (kW - sprite_width(kSettingsText)) / 2;
  EXPECT_NE(s.at(titleLeft + 1, kT + 141), kPanel);  // the title
  EXPECT_EQ(s.at(titleLeft + 1, kT + 139), kPanel);
  EXPECT_EQ(s.at(kW / 2, kT + 217), kBar);  // over the title
  // The labels block, 530 x 320 at (L + 74, T + 220), with the strips over it.
  EXPECT_EQ(s.at(kL + 75, kT + 221), kTextPanel);
  EXPECT_EQ(s.at(kL + 73, kT + 221), kPanel);
  EXPECT_EQ(s.at(kL + 603, kT + 539), kTextPanel);
  EXPECT_EQ(s.at(kL + 604, kT + 300), kPanel);
  EXPECT_GT(Ink(s, kL + 74, kT + 220, kL + 274, kT + 400).pixels, 200);  // labels
  EXPECT_GT(Ink(s, kL + 294, kT + 310, kL + 574, kT + 340).pixels, 50);  // window mode
  EXPECT_EQ(s.at(kL + 282, kT + 283), kTickedBox);
  // OK at the left, cancel at the right of the panel.
  EXPECT_GT(Ink(s, kL + 100, kT + 540, kL + 100 + sprite_width(kOkText), kT + 580).pixels, 20);
  EXPECT_EQ(s.at(kL + 99, kT + 560), kPanel);
  const int cancelRight = kL + kPanelW - 100;
  EXPECT_GT(Ink(s, cancelRight - sprite_width(kCancelText), kT + 540, cancelRight, kT + 580).pixels, 20);
  EXPECT_EQ(s.at(cancelRight, kT + 560), kPanel);
  Click(kControlMusicBox);
  EXPECT_EQ(Screen().at(kL + 282, kT + 283), kBox);
}

}  // namespace
}  // namespace ui_test
