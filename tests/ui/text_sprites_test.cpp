// The text-sprite pass: captions cut to their texts with controls placed
// beside them, the caps, empty texts, the short pass after a language
// change, the list strips and their windows, the questions, the settings
// block and the pass without a screen.
#include "tests/ui/ui_screen.h"

namespace ui_test {
namespace {

struct Expected {
  int index, sprite, left, top, width;
};

void ExpectControls(const std::vector<Expected>& table) {
  for (const Expected& e : table) {
    const Control& c = Controls[static_cast<size_t>(e.index)];
    SCOPED_TRACE("control " + std::to_string(e.index));
    EXPECT_EQ(c.sprite, e.sprite);
    EXPECT_EQ(c.left, e.left);
    EXPECT_EQ(c.top, e.top);
    EXPECT_EQ(c.width, e.width);
  }
}

TEST_F(UiScreen, CaptionsAreCutToTheirTextsAndTheControlsStandBesideThem) {
  RenderTextSprites(1);
  struct Line {
    int sprite, font, height;
    const char* text;
  };
  const Line lines[] = {{12, 0, 80, "Start"},   {13, 0, 80, "Continue"}, {14, 0, 80, "Continue"},
                        {15, 0, 80, "Settings"}, {16, 0, 80, "Credits"}, {17, 0, 80, "Quit"},
                        {20, 3, 40, "OK"},       {21, 3, 40, "Cancel"},  {22, 3, 40, "Yes"},
                        {23, 3, 40, "No"}};
  for (const Line& l : lines) {
    SCOPED_TRACE(l.text);
    const int w = Measure(l.font, l.text);
    ASSERT_GT(w, 10);
    EXPECT_EQ(sprite_width(l.sprite), w);
    EXPECT_EQ(sprite_height(l.sprite), l.height);
    // The ink starts at the left edge, reaches the cut, and nothing of the
    // sprite shows beyond it.
    Shot s = Show(l.sprite, w + 20, l.height);
    InkBox ink = Ink(s, 0, 0, w + 20, l.height);
    EXPECT_LE(ink.left, 6);
    EXPECT_GE(ink.right, w - 6);
    EXPECT_LT(ink.right, w);
    EXPECT_EQ(s.at(w + 1, l.height / 2), (Rgb{0, 0, 255}));
  }
  auto w = [](int sprite) { return sprite_width(sprite); };
  const int box = 540;  // the quit question's box places yes and no
  EXPECT_EQ(sprite_width(kQuitQuestionText), box);
  ExpectControls({
      {0, 12, (kW - w(12)) / 2, kT + 150, w(12)},
      {1, 13, (kW - w(13)) / 2, kT + 230, w(13)},
      {2, 15, (kW - w(15)) / 2, kT + 310, w(15)},
      {3, 16, (kW - w(16)) / 2, kT + 390, w(16)},
      {4, 17, (kW - w(17)) / 2, kT + 480, w(17)},
      {5, 20, (kW - w(20)) / 2, kT + 540, w(20)},
      {6, 22, 390, kT + 300, w(22)},
      {7, 23, 370 + box - w(23) - 20, kT + 300, w(23)},
      {8, 26, kL + 269, kT + 230, 20},
      {9, 28, kL + 569, kT + 230, 20},
      {10, 30, kL + 269, kT + 270, 20},
      {11, 26, kL + 269, kT + 310, 20},
      {12, 28, kL + 569, kT + 310, 20},
      {13, 26, kL + 269, kT + 350, 20},
      {14, 28, kL + 569, kT + 350, 20},
      {15, 20, kL + 100, kT + 540, w(20)},
      {16, 21, kL + kPanelW - w(21) - 100, kT + 540, w(21)},
  });
}

TEST_F(UiScreen, TextsWiderThanTheirSpritesAreCutAtTheSpriteWidth) {
  auto texts = BaseTexts();
  texts["tMenuSTART"] = std::string(40, 'W');
  texts["tMenuYES"] = std::string(30, 'W');
  texts["tMenuNO"] = std::string(30, 'M');
  WriteLanguage("en_GB", texts);
  UseLanguage("en_GB");
  RenderTextSprites(1);
  EXPECT_EQ(sprite_width(12), 500);
  EXPECT_EQ(sprite_height(12), 80);
  EXPECT_EQ(sprite_width(22), 300);
  EXPECT_EQ(sprite_width(23), 300);
  ExpectControls({{0, 12, 390, kT + 150, 500},
                  {6, 22, 390, kT + 300, 300},
                  // No starts 320 pixels left of the question box's right edge.
                  {7, 23, 370 + 540 - 320, kT + 300, 300}});
  // The text runs on to the sprite's last column.
  Shot s = Show(12, 520, 80);
  EXPECT_GT(Ink(s, 480, 0, 500, 80).pixels, 0);
  EXPECT_EQ(Ink(s, 500, 0, 520, 80).pixels, 0);
}

TEST_F(UiScreen, AnEmptyTextGivesAControlThatCannotBeHit) {
  auto texts = BaseTexts();
  texts.erase("tMenuQUIT");
  texts.erase("tMenuCANCEL");
  WriteLanguage("en_GB", texts);
  UseLanguage("en_GB");
  RenderTextSprites(1);
  EXPECT_EQ(sprite_width(17), 0);
  EXPECT_EQ(Controls[kControlQuit].width, 0);
  EXPECT_EQ(Controls[kControlQuit].left, kW / 2);
  EXPECT_EQ(Controls[kControlSettingsCancel].width, 0);
  for (int dx = -5; dx <= 5; ++dx)
    for (int dy = 0; dy <= 80; dy += 4) {
      EXPECT_FALSE(ControlHit(kControlQuit, kW / 2 + dx, kT + 480 + dy));
      EXPECT_FALSE(ControlHit(kControlSettingsCancel, Controls[16].left + dx, kT + 540 + dy / 2));
    }
}

TEST_F(UiScreen, TheShortPassRecentresTheCaptionsAndLeavesTheListStrips) {
  RenderTextSprites(1);
  const Control startBefore = Controls[kControlStart];
  auto texts = BaseTexts();
  texts["tMenuSTART"] = "Neues Spiel";
  texts["tMenuYES"] = "Jawohl";
  texts["tMenuNO"] = "Nein danke";
  WriteLanguage("de_DE", texts);
  ASSERT_EQ(LoadLanguage(kPack, "de_DE"), 1);
  ScreenModeList = {"1024x768"};  // the strips were made with three sizes

  RenderTextSprites(0);
  const int start = Measure(0, "Neues Spiel");
  const int yes = Measure(3, "Jawohl");
  const int no = Measure(3, "Nein danke");
  ASSERT_GT(start, startBefore.width);
  ExpectControls({{0, 12, (kW - start) / 2, kT + 150, start},
                  {6, 22, 390, kT + 300, yes},
                  {7, 23, 370 + 540 - no - 20, kT + 300, no}});
  // Strip 33 still holds three rows: its third row can be shown.
  CutStrip(kScreenModeStrip, 2);
  EXPECT_EQ(sprite_height(kScreenModeStrip), 30);

  RenderTextSprites(1);
  CutStrip(kScreenModeStrip, 2);
  EXPECT_EQ(sprite_height(kScreenModeStrip), 0);
  CutStrip(kScreenModeStrip, 0);
  EXPECT_EQ(sprite_height(kScreenModeStrip), 30);
}

TEST(ScreenModeIndexOf, FindsTheFirstEqualEntryAndLeavesTheCursorThere) {
  struct Case {
    std::vector<std::string> list;
    std::string mode;
    int index, cursor;
  };
  const Case cases[] = {
      {{"1024x768", "1280x720", "1920x1080"}, "1280x720", 1, 1},
      {{"1024x768", "1280x720", "1920x1080"}, "1920x1080", 2, 2},
      {{"1024x768", "1280x720", "1920x1080"}, "1024x768", 0, 0},
      {{"1024x768", "1280x720", "1920x1080"}, "800x600", 0, 2},  // none: the last entry
      {{"1024x768", "1280x720", "1920x1080"}, "1280X720", 0, 2},  // compared exactly
      {{"1280x720"}, "1920x1080", 0, 0},
      {{}, "1280x720", 0, 0},
  };
  for (const Case& c : cases) {
    ScreenModeList = c.list;
    ScreenModeCursor = 7;
    EXPECT_EQ(ScreenModeIndexOf(c.mode), c.index) << c.mode;
    EXPECT_EQ(ScreenModeCursor, c.cursor) << c.mode;
  }
  ResetDisplay();
}

TEST_F(UiScreen, StripsShowTheRowOfTheCurrentSetting) {
  ScreenModeList = {"8", "1280x720 or a much longer entry", "1920x1080"};
  ScreenMode = "1280x720 or a much longer entry";
  GameScreen = kWindowed;
  RenderTextSprites(1);
  // Each strip shows one 280 x 30 row, its text centred.
  auto row = [](int sprite) {
    EXPECT_EQ(sprite_width(sprite), 280);
    EXPECT_EQ(sprite_height(sprite), 30);
    Shot s = Show(sprite, 300, 30);
    EXPECT_EQ(Ink(s, 280, 0, 300, 30).pixels, 0);
    return Ink(s, 0, 0, 280, 30);
  };
  auto expectText = [](const InkBox& ink, const std::string& text) {
    const int w = Measure(1, text);
    EXPECT_NEAR(ink.width(), w, 6) << text;
    EXPECT_NEAR(ink.centre(), 140, 4) << text;
  };
  InkBox bright = row(kScreenModeStrip);
  expectText(bright, "1280x720 or a much longer entry");
  InkBox dim = row(kScreenModeDimStrip);
  expectText(dim, "1280x720 or a much longer entry");
  EXPECT_GT(dim.darkestGreen, bright.darkestGreen + 15);  // the dimmed ink is lighter
  expectText(row(kGameScreenStrip), "A window with a frame");

  ScreenMode = "not in the list";  // the first row, the cursor on the last
  GameScreen = kBorderless;
  RenderTextSprites(1);
  EXPECT_EQ(ScreenModeCursor, 2);
  expectText(row(kScreenModeStrip), "8");
  expectText(row(kGameScreenStrip), "B");

  // The window moves over the same strip.
  CutStrip(kScreenModeStrip, 2);
  expectText(row(kScreenModeStrip), "1920x1080");
  CutStrip(kGameScreenStrip, 0);
  expectText(row(kGameScreenStrip), "Full screen");
}

TEST_F(UiScreen, TheLanguageStripHoldsEveryCatalogueNameInOrder) {
  auto texts = BaseTexts();
  texts["tLangFileNAME"] = "Mmmmmmm Mmmmmm";
  WriteLanguage("de_DE", texts);
  texts["tLangFileNAME"] = "Ab";
  WriteLanguage("fr_FR", texts);
  ASSERT_EQ(EnumerateLanguages(kPack), 1);
  ASSERT_EQ(LanguageList.size(), 3u);
  for (size_t i = 0; i < LanguageList.size(); ++i) {
    Language = LanguageList[i].code;
    RenderTextSprites(1);
    EXPECT_EQ(LanguageCursor, static_cast<int>(i));
    Shot s = Show(kLanguageStrip, 280, 30);
    InkBox ink = Ink(s, 0, 0, 280, 30);
    const std::string& name = CatalogueEntries()[i]->name;
    EXPECT_NEAR(ink.width(), Measure(1, name), 6) << name;
    EXPECT_NEAR(ink.centre(), 140, 4) << name;
  }
}

TEST_F(UiScreen, EmptyAndSingleEntryListsGiveStripsOfZeroAndOneRow) {
  Solid(kLanguageStrip, 280, 30, kPanel);  // an older pass's strip
  ScreenModeList = {"1280x720"};
  ScreenMode = "1920x1080";
  RenderTextSprites(1);
  EXPECT_EQ(sprite_height(kLanguageStrip), 0);  // no language in the catalogue
  Shot s = Show(kLanguageStrip, 280, 30);
  EXPECT_EQ(s.at(140, 15), (Rgb{0, 0, 255}));
  EXPECT_EQ(sprite_height(kScreenModeStrip), 30);
  EXPECT_NEAR(Ink(Show(kScreenModeStrip, 280, 30), 0, 0, 280, 30).width(), Measure(1, "1280x720"), 6);
  CutStrip(kScreenModeStrip, 1);
  EXPECT_EQ(sprite_height(kScreenModeStrip), 0);  // there is no second row
}

TEST_F(UiScreen, QuestionsWrapInTheirBoxCentredAndLoseWhatFallsBelowIt) {
  auto texts = BaseTexts();
  texts["tQuestionsQUIT"] =
      "Do you really want to quit the game now, leaving every card where it lies on the board and "
      "every pair you have found so far behind you for good?";
  WriteLanguage("en_GB", texts);
  UseLanguage("en_GB");
  RenderTextSprites(1);
  EXPECT_EQ(sprite_width(kQuitQuestionText), 540);
  EXPECT_EQ(sprite_height(kQuitQuestionText), 80);
  Shot s = Show(kQuitQuestionText, 560, 90);
  EXPECT_EQ(Ink(s, 540, 0, 560, 90).pixels, 0);
  EXPECT_EQ(Ink(s, 0, 80, 560, 90).pixels, 0);
  // Lines of 27 pixels: the first two whole, the third cut at the bottom.
  InkBox first = Ink(s, 0, 0, 540, 27);
  InkBox second = Ink(s, 0, 30, 540, 57);
  EXPECT_GT(first.width(), 400);
  EXPECT_LE(first.width(), 540);
  EXPECT_GT(second.width(), 300);
  EXPECT_GT(Ink(s, 0, 70, 540, 80).pixels, 0);
  EXPECT_NEAR(first.centre(), 270, 4);
  EXPECT_NEAR(second.centre(), 270, 4);
  // A short question stays on one centred line.
  InkBox short_one = Ink(Show(kStartQuestionText, 540, 80), 0, 0, 540, 80);
  EXPECT_NEAR(short_one.width(), Measure(3, "Start a new game?"), 6);
  EXPECT_NEAR(short_one.centre(), 270, 4);
  EXPECT_LT(short_one.bottom, 30);
}

TEST_F(UiScreen, TheSettingsBlockHoldsTheLabelsAndTheArrowPictures) {
  RenderTextSprites(1);
  EXPECT_EQ(sprite_width(kSettingsBlock), 530);
  EXPECT_EQ(sprite_height(kSettingsBlock), 320);
  Shot s = Show(kSettingsBlock, 530, 320);
  const char* labels[] = {"Language", "Music", "Display", "Size"};
  for (int i = 0; i < 4; ++i) {
    InkBox ink = Ink(s, 0, 10 + 40 * i, 200, 10 + 40 * i + 30);
    EXPECT_NEAR(ink.width(), Measure(1, labels[i]), 6) << labels[i];
    EXPECT_LE(ink.left, 3) << labels[i];
  }
  for (int y : {15, 95, 135}) {
    EXPECT_EQ(s.at(200, y), kLeftArrow);
    EXPECT_EQ(s.at(215, y + 15), kLeftArrow);
    EXPECT_EQ(s.at(500, y), kRightArrow);
    EXPECT_EQ(s.at(515, y + 15), kRightArrow);
    EXPECT_EQ(s.at(199, y), kTextPanel);
    EXPECT_EQ(s.at(216, y + 15), kTextPanel);
  }
  // The music row has no arrows.
  EXPECT_EQ(s.at(207, 62), kTextPanel);
  EXPECT_EQ(s.at(507, 62), kTextPanel);
}

TEST_F(UiScreen, WithoutAScreenThePassMakesNothingAndKeepsTheControls) {
  RenderTextSprites(1);
  const auto before = Controls;
  screen_close();
  RenderTextSprites(1);
  EXPECT_EQ(sprite_exists(kStartText), 0);
  for (int i = 0; i < kControlCount; ++i) {
    if (i >= kControlLanguageLeft && i <= kControlSizeRight) continue;  // fixed places
    EXPECT_EQ(Controls[static_cast<size_t>(i)].width, before[static_cast<size_t>(i)].width) << i;
    EXPECT_EQ(Controls[static_cast<size_t>(i)].left, before[static_cast<size_t>(i)].left) << i;
  }
}

}  // namespace
}  // namespace ui_test
