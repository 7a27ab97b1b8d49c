// The credits: the block of centred lines, its layers, and OK.
#include "game/screen_state.h"
#include "game/sprites.h"
#include "tests/ui/ui_screen.h"
#include "ui/credits.h"

namespace ui_test {
namespace {

class CreditsTest : public UiScreen {
 protected:
  void SetUp() override {
    UiScreen::SetUp();
    RenderTextSprites(1);
    ScreenState = CreditsScreen;
  }
};

// Rows left out at the top of each line's place, where the line above may
// reach with its descenders (its baseline lies the face's Windows ascent
// below its own place), while a line's own ink begins five rows down.
constexpr int kAboveDescent = 4;

TEST_F(CreditsTest, EveryLineIsCentredAtItsPlaceInItsFont) {
  EXPECT_EQ(sprite_width(kCreditsBlock), 530);
  EXPECT_EQ(sprite_height(kCreditsBlock), 320);
  Shot s = Show(kCreditsBlock, 530, 320);
  for (size_t i = 0; i < kCreditsLines.size(); ++i) {
    const CreditsLine& line = kCreditsLines[i];
    const int next = i + 1 < kCreditsLines.size() ? kCreditsLines[i + 1].y : 320;
    const std::string text = line.key ? Text(line.key) : line.text;
    SCOPED_TRACE(text);
    InkBox ink = Ink(s, 0, line.y + (i > 0 ? kAboveDescent : 0), 530, next);
    EXPECT_NEAR(ink.width(), Measure(line.font, text), 6);
    EXPECT_NEAR(ink.centre(), 265, 4);
    EXPECT_LE(ink.top, line.y + 8);
  }
}

TEST_F(CreditsTest, EachProviderCreditNamesTheProviderAndItsWebAddress) {
  // Under each of the three headings: provider, " / ", web address, in the
  // same words in every language.
  int credits = 0;
  for (size_t i = 1; i < kCreditsLines.size(); ++i) {
    const char* heading = kCreditsLines[i - 1].key;
    if (!heading || std::string(heading) == "tCreditsCODEDESIGN") continue;
    ASSERT_NE(kCreditsLines[i].text, nullptr) << heading;
    const std::string line = kCreditsLines[i].text;
    SCOPED_TRACE(line);
    const size_t slash = line.find(" / ");
    ASSERT_NE(slash, std::string::npos);
    const std::string address = line.substr(slash + 3);
    EXPECT_GT(slash, 0u);
    EXPECT_EQ(address.find_first_of(" /,()"), std::string::npos);
    EXPECT_NE(address.find('.'), std::string::npos);
    ++credits;
  }
  EXPECT_EQ(credits, 3);
}

TEST_F(CreditsTest, AHeadingWiderThanTheBlockIsCutAtBothEdges) {
  auto texts = BaseTexts();
  texts["tCreditsGFX"] = "Graphics " + std::string(60, 'W');
  WriteLanguage("en_GB", texts);
  UseLanguage("en_GB");
  RenderTextSprites(1);
  Shot s = Show(kCreditsBlock, 540, 320);
  InkBox ink = Ink(s, 0, 268, 540, 284);
  EXPECT_LE(ink.left, 2);
  EXPECT_EQ(ink.right, 529);
  EXPECT_EQ(Ink(s, 530, 0, 540, 320).pixels, 0);
}

TEST_F(CreditsTest, TheScreenShowsTitleBarBlockAndACentredOk) {
  Fill(kBoard);
  DrawCreditsScreen();
  Shot s = Grab(0, 0, kW, kH);
  EXPECT_TRUE(near(s.at(5, 5), Rgb{0, 100, 0}));
  EXPECT_EQ(s.at(kL + 5, kT + 5), kPanel);
  const int titleLeft = (kW - sprite_width(kCreditsText)) / 2;
  EXPECT_NE(s.at(titleLeft + 1, kT + 141), kPanel);
  EXPECT_EQ(s.at(titleLeft - 1, kT + 141), kPanel);
  EXPECT_EQ(s.at(kW / 2, kT + 217), kBar);
  EXPECT_EQ(s.at(kL + 75, kT + 221), kTextPanel);
  EXPECT_EQ(s.at(kL + 73, kT + 221), kPanel);
  EXPECT_NEAR(Ink(s, kL + 74, kT + 220, kL + 604, kT + 240).centre(), kL + 74 + 265, 4);
  // OK centred, where control 5 lies, not at the settings screen's place.
  const Control& ok = Controls[kControlCreditsOk];
  EXPECT_EQ(ok.left, (kW - sprite_width(kOkText)) / 2);
  InkBox okInk = Ink(s, kL, kT + 540, kL + kPanelW, kT + 580);
  EXPECT_NEAR(okInk.centre(), kW / 2, 4);
  EXPECT_GE(okInk.left, ok.left);
  EXPECT_LT(okInk.right, ok.left + ok.width);
}

TEST_F(CreditsTest, OnlyOkReturnsToTheMenuAndAFullScreenHitPauses) {
  auto [x, y] = Centre(kControlCreditsOk);
  CreditsClick(x, kT + 540, false);  // the top edge
  const Control& settingsOk = Controls[kControlSettingsOk];
  CreditsClick(settingsOk.left + 2, settingsOk.top + 20, false);
  CreditsClick(kW / 2, kT + 300, false);
  EXPECT_EQ(ScreenState, CreditsScreen);
  EXPECT_LT(Millis([&] { CreditsClick(5, 5, true); }), 100.0);
  EXPECT_EQ(ScreenState, CreditsScreen);
  EXPECT_GE(Millis([&] { CreditsClick(x, y, true); }), 100.0);
  EXPECT_EQ(ScreenState, MainMenu);
  ScreenState = CreditsScreen;
  EXPECT_LT(Millis([&] { CreditsClick(x, y, false); }), 100.0);
  EXPECT_EQ(ScreenState, MainMenu);
}

}  // namespace
}  // namespace ui_test
