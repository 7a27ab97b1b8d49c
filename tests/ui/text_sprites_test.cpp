// The text-sprite pass: captions cut to their texts with their controls,
// the caps and empty texts, the short pass, the list strips and their
// windows, the questions, the settings block, and the pass without a screen.
#include "game/sprites.h"
#include "tests/ui/ui_screen.h"

namespace ui_test {
namespace {

void ExpectControl(int index, const Control& want) {
  const Control& c = Controls[static_cast<size_t>(index)];
  EXPECT_EQ(std::vector<int>({c.sprite, c.left, c.top, c.width}),
            std::vector<int>({want.sprite, want.left, want.top, want.width}))
      << "control " << index;
}

void UseTexts(const std::map<std::string, std::string>& changes, const std::vector<std::string>& missing = {}) {
  auto texts = BaseTexts();
  for (const auto& [key, text] : changes) texts[key] = text;
  for (const auto& key : missing) texts.erase(key);
  WriteLanguage("en_GB", texts);
  UseLanguage("en_GB");
}

TEST_F(UiScreen, CaptionsAreCutToTheirTextsAndTheControlsStandBesideThem) {
  RenderTextSprites(1);
  struct Line {
    int sprite, font, height;
    const char* text;
  };
  for (const Line& l : {Line{12, 0, 80, "Start"}, Line{13, 0, 80, "Continue"}, Line{14, 0, 80, "Continue"},
                        Line{15, 0, 80, "Settings"}, Line{16, 0, 80, "Credits"}, Line{17, 0, 80, "Quit"},
                        Line{20, 3, 40, "OK"}, Line{21, 3, 40, "Cancel"}, Line{22, 3, 40, "Yes"}, Line{23, 3, 40, "No"}}) {
    SCOPED_TRACE(l.text);
    const int w = Measure(l.font, l.text);
    EXPECT_EQ(sprite_width(l.sprite), w);
    EXPECT_EQ(sprite_height(l.sprite), l.height);
    // The ink runs from the left edge to the cut; nothing shows beyond it.
    Shot s = Show(l.sprite, w + 20, l.height);
    InkBox ink = Ink(s, 0, 0, w + 20, l.height);
    EXPECT_LE(ink.left, 6);
    EXPECT_GE(ink.right, w - 6);
    EXPECT_LT(ink.right, w);
    EXPECT_EQ(s.at(w + 1, l.height / 2), (Rgb{0, 0, 255}));
  }
  auto w = [](int sprite) { return sprite_width(sprite); };
  ASSERT_EQ(w(kQuitQuestionText), 540);  // yes and no stand inside its box: x 370 to 910
  const Control want[kControlCount] = {
      {12, (kW - w(12)) / 2, kT + 150, w(12)}, {13, (kW - w(13)) / 2, kT + 230, w(13)},
      {15, (kW - w(15)) / 2, kT + 310, w(15)}, {16, (kW - w(16)) / 2, kT + 390, w(16)},
      {17, (kW - w(17)) / 2, kT + 480, w(17)}, {20, (kW - w(20)) / 2, kT + 540, w(20)},
      {22, 390, kT + 300, w(22)},              {23, 910 - w(23) - 20, kT + 300, w(23)},
      {26, kL + 269, kT + 230, 20},            {28, kL + 569, kT + 230, 20},
      {30, kL + 269, kT + 270, 20},            {26, kL + 269, kT + 310, 20},
      {28, kL + 569, kT + 310, 20},            {26, kL + 269, kT + 350, 20},
      {28, kL + 569, kT + 350, 20},            {20, kL + 100, kT + 540, w(20)},
      {21, kL + kPanelW - w(21) - 100, kT + 540, w(21)}};
  for (int i = 0; i < kControlCount; ++i) ExpectControl(i, want[i]);
}

TEST_F(UiScreen, LongTextsAreCutAtTheSpriteWidthAndEmptyOnesCannotBeHit) {
  UseTexts({{"tMenuSTART", std::string(40, 'W')}, {"tMenuYES", std::string(30, 'W')}, {"tMenuNO", std::string(30, 'M')}},
           {"tMenuQUIT", "tMenuCANCEL"});
  RenderTextSprites(1);
  EXPECT_EQ(sprite_height(12), 80);
  ExpectControl(kControlStart, {12, 390, kT + 150, 500});
  ExpectControl(kControlYes, {22, 390, kT + 300, 300});
  ExpectControl(kControlNo, {23, 910 - 320, kT + 300, 300});  // 320 left of the box's right edge
  Shot s = Show(12, 520, 80);
  EXPECT_GT(Ink(s, 480, 0, 500, 80).pixels, 0);  // the text runs on to the last column
  EXPECT_EQ(Ink(s, 500, 0, 520, 80).pixels, 0);
  // No text: width 0, and no point near the control hits it.
  EXPECT_EQ(sprite_width(17), 0);
  ExpectControl(kControlQuit, {17, kW / 2, kT + 480, 0});
  EXPECT_EQ(Controls[kControlSettingsCancel].width, 0);
  for (int dx = -3; dx <= 3; ++dx)
    for (int dy = 0; dy <= 80; dy += 8) {
      EXPECT_FALSE(ControlHit(kControlQuit, kW / 2 + dx, kT + 480 + dy));
      EXPECT_FALSE(ControlHit(kControlSettingsCancel, Controls[16].left + dx, kT + 540 + dy / 2));
    }
}

TEST_F(UiScreen, TheShortPassRecentresTheCaptionsAndLeavesTheListStrips) {
  RenderTextSprites(1);
  auto texts = BaseTexts();
  texts["tMenuSTART"] = "Neues Spiel";
  texts["tMenuYES"] = "Jawohl";
  texts["tMenuNO"] = "Nein danke";
  WriteLanguage("de_DE", texts);
  ASSERT_EQ(LoadLanguage(kPack, "de_DE"), 1);
  ScreenModeList = {"1024x768"};  // the strips were made with three sizes
  RenderTextSprites(0);
  const int start = Measure(0, "Neues Spiel"), no = Measure(3, "Nein danke");
  ASSERT_GT(start, Measure(0, "Start"));
  ExpectControl(kControlStart, {12, (kW - start) / 2, kT + 150, start});
  ExpectControl(kControlYes, {22, 390, kT + 300, Measure(3, "Jawohl")});
  ExpectControl(kControlNo, {23, 910 - no - 20, kT + 300, no});
  CutStrip(kScreenModeStrip, 2);  // still three rows
  EXPECT_EQ(sprite_height(kScreenModeStrip), 30);
  RenderTextSprites(1);
  CutStrip(kScreenModeStrip, 2);  // now one
  EXPECT_EQ(sprite_height(kScreenModeStrip), 0);
}

TEST(ScreenModeIndexOf, FindsTheFirstEqualEntryAndMovesNothing) {
  const std::vector<std::string> three = {"1024x768", "1280x720", "1920x1080"};
  struct Case {
    std::vector<std::string> list;
    std::string mode;
    int index;
  };
  for (const Case& c : {Case{three, "1280x720", 1}, Case{three, "1920x1080", 2}, Case{three, "1024x768", 0},
                        Case{three, "800x600", 0}, Case{three, "1280X720", 0}, Case{{"1280x720"}, "1x1", 0},
                        Case{{}, "1280x720", 0}}) {
    ScreenModeList = c.list;
    ScreenModeIndex = 7;
    EXPECT_EQ(ScreenModeIndexOf(c.mode), c.index) << c.mode;
    EXPECT_EQ(ScreenModeIndex, 7) << c.mode;  // the list's position stays where it was
  }
  ResetDisplay();
}

// The text a strip's 280 x 30 window shows, and how dark its ink is.
InkBox ExpectRow(int sprite, const std::string& text) {
  EXPECT_EQ(sprite_width(sprite), 280);
  EXPECT_EQ(sprite_height(sprite), 30);
  Shot s = UiScreen::Show(sprite, 300, 30);
  InkBox ink = Ink(s, 0, 0, 300, 30);
  EXPECT_NEAR(ink.width(), Measure(1, text), 6) << text;
  EXPECT_NEAR(ink.centre(), 140, 4) << text;
  return ink;
}

TEST_F(UiScreen, StripsShowTheRowOfTheCurrentSetting) {
  const std::string wide = "1280x720 or a much longer entry";
  ScreenModeList = {"8", wide, "1920x1080"};
  ScreenMode = wide;
  GameScreen = kWindowed;
  RenderTextSprites(1);
  InkBox bright = ExpectRow(kScreenModeStrip, wide);
  EXPECT_GT(ExpectRow(kScreenModeDimStrip, wide).darkestGreen, bright.darkestGreen + 15);  // dimmed
  ExpectRow(kGameScreenStrip, "A window with a frame");
  ScreenMode = "not in the list";  // the first row
  GameScreen = kBorderless;
  RenderTextSprites(1);
  ExpectRow(kScreenModeStrip, "8");
  ExpectRow(kGameScreenStrip, "B");
  CutStrip(kScreenModeStrip, 2);  // the window moves over the same strip
  ExpectRow(kScreenModeStrip, "1920x1080");

  // One size: a strip of one row. No language: a strip of none, and an
  // older pass's strip does not stay.
  ScreenModeList = {"1280x720"};
  Solid(kLanguageStrip, 280, 30, kPanel);
  RenderTextSprites(1);
  ExpectRow(kScreenModeStrip, "1280x720");
  CutStrip(kScreenModeStrip, 1);
  EXPECT_EQ(sprite_height(kScreenModeStrip), 0);
  EXPECT_EQ(sprite_height(kLanguageStrip), 0);
}

TEST_F(UiScreen, TheLanguageStripHoldsEveryCatalogueNameInOrder) {
  auto texts = BaseTexts();
  texts["tLangFileNAME"] = "Mmmmmmm Mmmmmm";
  WriteLanguage("de_DE", texts);
  texts["tLangFileNAME"] = "Ab";
  WriteLanguage("fr_FR", texts);
  ASSERT_EQ(EnumerateLanguages(kPack), 1);
  ASSERT_EQ(LanguageList.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    Language = LanguageList[i].code;
    RenderTextSprites(1);
    ExpectRow(kLanguageStrip, CatalogueEntries()[i]->name);
  }
}

TEST_F(UiScreen, QuestionsWrapCentredInTheirBoxAndTheSettingsBlockHoldsTheArrows) {
  UseTexts({{"tQuestionsQUIT",
             "Do you really want to quit the game now, leaving every card where it lies on the board and "
             "every pair you have found so far behind you for good?"}});
  RenderTextSprites(1);
  EXPECT_EQ(sprite_height(kQuitQuestionText), 80);
  Shot s = Show(kQuitQuestionText, 560, 90);
  EXPECT_EQ(Ink(s, 540, 0, 560, 90).pixels + Ink(s, 0, 80, 560, 90).pixels, 0);
  // Lines of 27 pixels: two whole ones, the third cut by the box.
  for (int top : {0, 30}) {
    InkBox line = Ink(s, 0, top, 540, top + 27);
    EXPECT_GT(line.width(), 300);
    EXPECT_NEAR(line.centre(), 270, 4);
  }
  EXPECT_GT(Ink(s, 0, 70, 540, 80).pixels, 0);
  InkBox one = Ink(Show(kStartQuestionText, 540, 80), 0, 0, 540, 80);
  EXPECT_NEAR(one.width(), Measure(3, "Start a new game?"), 6);
  EXPECT_NEAR(one.centre(), 270, 4);
  // One line only: nothing where a second would be drawn, below the first
  // one's descenders (which reach row 30).
  EXPECT_LT(one.bottom, 32);

  EXPECT_EQ(sprite_width(kSettingsBlock), 530);
  EXPECT_EQ(sprite_height(kSettingsBlock), 320);
  s = Show(kSettingsBlock, 530, 320);
  const char* labels[] = {"Language", "Music", "Display", "Size"};
  for (int i = 0; i < 4; ++i) {
    InkBox ink = Ink(s, 0, 10 + 40 * i, 200, 40 + 40 * i);
    EXPECT_NEAR(ink.width(), Measure(1, labels[i]), 6) << labels[i];
    EXPECT_LE(ink.left, 3) << labels[i];
  }
  for (int y : {15, 95, 135}) {  // the music row, y = 55, has none
    EXPECT_EQ(std::vector<Rgb>({s.at(199, y), s.at(200, y), s.at(215, y + 15), s.at(216, y + 15)}),
              std::vector<Rgb>({kTextPanel, kLeftArrow, kLeftArrow, kTextPanel}));
    EXPECT_EQ(std::vector<Rgb>({s.at(499, y), s.at(500, y), s.at(515, y + 15), s.at(516, y + 15)}),
              std::vector<Rgb>({kTextPanel, kRightArrow, kRightArrow, kTextPanel}));
  }
  EXPECT_EQ(s.at(207, 62), kTextPanel);
  EXPECT_EQ(s.at(507, 62), kTextPanel);
}

TEST_F(UiScreen, WithoutAScreenThePassMakesNothingAndKeepsTheControls) {
  RenderTextSprites(1);
  const auto before = Controls;
  screen_close();
  RenderTextSprites(1);
  EXPECT_EQ(sprite_exists(kStartText), 0);
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 15, 16}) ExpectControl(i, before[static_cast<size_t>(i)]);
}

}  // namespace
}  // namespace ui_test
