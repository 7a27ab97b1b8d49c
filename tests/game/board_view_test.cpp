// Drawing the game screen: the board at the 1280x720 geometry, the card
// states, a found pair fading out, the well-done screen and the pointer.
#include <vector>

#include "game/board_view.h"
#include "game/rules.h"
#include "game/sprites.h"
#include "tests/game/view_fixture.h"

namespace view {
namespace {

// Pictures chosen so a pixel reads back as arithmetic: the background pure
// blue, the shadow opaque black (a shadow at intensity s leaves blue
// 255 - s), the faces pure red (a face at intensity i shows red i).
class Board : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    OpenScreen(1280, 720);
    sprite_filtering_set(1);
    // The background with no alpha at all: only an opaque draw shows it.
    Backgrounds[1] = sprite_create(-1, 1280, 720, 0);
    ASSERT_NE(draw_start(sprite_draw_target(Backgrounds[1])), 0);
    draw_box(0, 0, 1280, 720, 0xFF0000);  // 0x00BBGGRR
    draw_stop();
    BackgroundIndex = 1;
    ASSERT_NE(Picture(kShadowSprite, 5, 5, 0xFF000000u), 0);
    for (int set = 0; set < 2; ++set) {
      CardSets[set].Back = Picture(-1, 8, 8, 0xFF00FF00u | (set * 0x80u));
      for (int f = 1; f <= 24; ++f) CardSets[set].Faces[f] = Picture(-1, 7 + f, 13, 0xFFFF0000u | (set * 0x80u));
    }
    for (auto& card : ::Board) card.State = FaceDown;
  }
  static int Picture(int number, int w, int h, uint32_t argb) {
    auto png = SolidPng(w, h, argb);
    return sprite_from_memory(number, png.data(), png.size(), kSpriteKeepAlpha);
  }
  // What a pixel shows.
  enum Seen { kBackground, kShadow, kBack, kFace, kOther };
  Seen What(int x, int y) const {
    uint32_t p = At(x, y);
    if (p == 0x0000FFu) return kBackground;
    if (p == 0x00FF00u) return kBack;
    if (p == 0xFF0000u) return kFace;
    if (Red(p) == 0 && Green(p) == 0 && std::abs(Blue(p) - 127) <= 2) return kShadow;
    return kOther;
  }
};

TEST_F(Board, CardsAndShadowsSitOnTheLayoutSquares) {
  SetIndex = 0;
  CardAt(2, 1).State = FaceUp;
  CardAt(2, 1).Face = 5;
  CardAt(4, 3).State = Removed;
  DrawBoard();
  ReadScreen();
  EXPECT_EQ(CardSize, 110);
  // Every card square exactly, its shadow 3 pixels right and down, the gaps bare.
  for (int column = 0; column < 8; ++column) {
    for (int row = 0; row < 6; ++row) {
      const int x = 165 + 120 * column, y = 5 + 120 * row;
      const Seen card = column == 4 && row == 3 ? kBackground : column == 2 && row == 1 ? kFace : kBack;
      const Seen shadow = card == kBackground ? kBackground : kShadow;
      SCOPED_TRACE(::testing::Message() << "column " << column << " row " << row);
      for (auto [px, py] : {std::pair{x, y}, {x + 109, y}, {x, y + 109}, {x + 109, y + 109}}) EXPECT_EQ(What(px, py), card);
      for (auto [px, py] : {std::pair{x + 110, y + 3}, {x + 112, y + 112}, {x + 3, y + 110}}) EXPECT_EQ(What(px, py), shadow);
      for (auto [px, py] : {std::pair{x - 1, y}, {x + 110, y + 2}, {x + 2, y + 110}, {x + 113, y + 60}, {x + 60, y + 113}})
        EXPECT_EQ(What(px, py), kBackground);
    }
  }
  // The other set's back when the board uses set 1.
  SetIndex = 1;
  DrawBoard();
  ReadScreen();
  EXPECT_EQ(At(170, 10), 0x00FF80u);
  EXPECT_EQ(At(420, 130), 0xFF0080u);
}

TEST_F(Board, FoundPairFadesFirstCardFirst) {
  for (auto& card : ::Board) card.State = Removed;
  // (5, 1) lies in an upper row, so it is drawn before (2, 3).
  for (auto [c, r] : {std::pair{5, 1}, {2, 3}}) {
    CardAt(c, r).State = Vanishing;
    CardAt(c, r).Face = 9;
  }
  auto red_of = [this](int c, int r) { return Red(At(165 + 120 * c + 50, 5 + 120 * r + 50)); };
  auto shadow_of = [this](int c, int r) { return 255 - Blue(At(165 + 120 * c + 111, 5 + 120 * r + 50)); };
  const int first[] = {255, 247, 239};
  for (int frame = 0; frame < 3; ++frame) {
    DrawBoard();
    ReadScreen();
    EXPECT_NEAR(red_of(5, 1), first[frame], 1);
    EXPECT_NEAR(red_of(2, 3), first[frame] - 4, 1);
    EXPECT_NEAR(shadow_of(5, 1), first[frame] / 2, 1);
    EXPECT_NEAR(shadow_of(2, 3), (first[frame] - 4) / 2, 1);
    EXPECT_EQ(MatchFade, first[frame] - 8);
  }
  // The last frame shows 7 and 3 and leaves -1; a frame drawn before the
  // pair is removed shows nothing of it and no negative intensity.
  MatchFade = 7;
  DrawBoard();
  ReadScreen();
  EXPECT_NEAR(red_of(5, 1), 7, 1);
  EXPECT_NEAR(red_of(2, 3), 3, 1);
  EXPECT_EQ(MatchFade, -1);
  DrawBoard();
  ReadScreen();
  EXPECT_EQ(What(165 + 120 * 5 + 50, 125 + 50), kBackground);
  EXPECT_EQ(What(165 + 120 * 2 + 111, 365 + 50), kBackground);
  EXPECT_EQ(MatchFade, -1);
}

TEST_F(Board, WellDoneFadesInCentredAndThePointerLiesOnTop) {
  for (auto& card : ::Board) card.State = Removed;
  ASSERT_NE(sprite_create(kDimSprite, 1280, 720, kSpriteKeepAlpha), 0);
  sprite_transparent_color(kDimSprite, 0xFFFFFF);
  ASSERT_NE(Picture(kWellDoneShadowSprite, 101, 51, 0xFF000000u), 0);
  ASSERT_NE(Picture(kWellDoneSprite, 101, 51, 0xFFFFFFFFu), 0);
  const int x = (1280 - 101) / 2, y = (720 - 51) / 2;  // 589, 334
  std::vector<int> levels;
  for (int frame = 0; frame < 40; ++frame) {
    const int fade = WellDoneFade;
    levels.push_back(fade);
    DrawBoard();
    DrawWellDone();
    if (fade != 0 && fade != 64 && fade != 128) continue;
    ReadScreen();
    const int dimmed = 255 - fade;  // blue left by the dimming
    const int picture = fade == 128 ? 255 : 2 * fade;
    SCOPED_TRACE(::testing::Message() << "fade " << fade);
    EXPECT_NEAR(Blue(At(10, 10)), dimmed, 2);
    EXPECT_NEAR(Red(At(x, y)), picture, 2);
    EXPECT_NEAR(Red(At(x + 100, y + 50)), picture, 2);
    EXPECT_EQ(Red(At(x - 1, y)), 0);
    EXPECT_NEAR(Blue(At(x + 102, y + 52)), dimmed * (255 - fade) / 255, 2);  // shadow only
    EXPECT_NEAR(Blue(At(x + 104, y + 54)), dimmed, 2);
  }
  for (int frame = 0; frame < 40; ++frame) EXPECT_EQ(levels[frame], std::min(4 * frame, 128));
  EXPECT_EQ(WellDoneFade, 128);

  // The pointer keeps its own alpha and is drawn at full strength.
  const auto pointer = Png(4, 4, [](int px, int) { return px < 2 ? 0xFFFFFF00u : 0u; });
  ASSERT_NE(sprite_from_memory(kPointerSprite, pointer.data(), pointer.size(), kSpriteKeepAlpha), 0);
  DrawPointer(x, y);
  ReadScreen();
  EXPECT_EQ(At(x + 1, y + 1), 0xFFFF00u);
  EXPECT_EQ(At(x + 3, y + 3), 0xFFFFFFu);
}

}  // namespace
}  // namespace view
