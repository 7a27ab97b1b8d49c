// The game screen: background and cards in every frame after the splashes,
// the fade of a found pair, the well-done screen and the full-screen pointer.
#include "game/board_view.h"

#include "engine/screen/screen.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/rules.h"
#include "game/sprites.h"

namespace {

// Intensity of a shadow under a card shown at full strength.
constexpr int kShadowIntensity = 128;
constexpr int kOpaque = 255;
// The shadows lie this far right of and below their picture.
constexpr int kShadowOffset = 3;

int ClampIntensity(int value) {
  if (value < 0) return 0;
  return value > kOpaque ? kOpaque : value;
}

// A picture scaled to the card square, blended at an intensity.
void DrawCardPicture(int sprite, int x, int y, int intensity) {
  sprite_zoom(sprite, CardSize, CardSize);
  sprite_draw_blended(sprite, x, y, ClampIntensity(intensity));
}

}  // namespace

void DrawBoard() {
  sprite_draw(Backgrounds[static_cast<size_t>(BackgroundIndex & (kBackgrounds - 1))], 0, 0);
  const int back = CardSets[static_cast<size_t>(SetIndex & 1)].Back;
  for (int row = 0; row < kBoardRows; ++row) {
    for (int column = 0; column < kBoardColumns; ++column) {
      const BoardCard& card = CardAt(column, row);
      const int x = CardColumnX(column);
      const int y = CardRowY(row);
      switch (card.State) {
        case FaceDown:
        case FaceUp:
          DrawCardPicture(kShadowSprite, x + kShadowOffset, y + kShadowOffset, kShadowIntensity);
          DrawCardPicture(card.State == FaceDown ? back : CardFaceSprite(card), x, y, kOpaque);
          break;
        case Vanishing: {
          // A frame drawn after the fade has run out shows the pair at 0.
          const int fade = MatchFade < 0 ? 0 : MatchFade;
          DrawCardPicture(kShadowSprite, x + kShadowOffset, y + kShadowOffset, fade / 2);
          DrawCardPicture(CardFaceSprite(card), x, y, fade);
          LowerMatchFade();
          break;
        }
        case Removed:
          break;
      }
    }
  }
}

void DrawWellDone() {
  sprite_draw_blended(kDimSprite, 0, 0, ClampIntensity(WellDoneFade));
  const int shadow_x = (ScreenWidth - sprite_width(kWellDoneShadowSprite)) / 2 + kShadowOffset;
  const int shadow_y = (ScreenHeight - sprite_height(kWellDoneShadowSprite)) / 2 + kShadowOffset;
  sprite_draw_blended(kWellDoneShadowSprite, shadow_x, shadow_y, ClampIntensity(WellDoneFade));
  // The picture fades in at twice the pace and stands at full strength once
  // the fade has reached its resting level.
  const int picture = WellDoneFade == kWellDoneFadeFull ? kOpaque : 2 * WellDoneFade;
  sprite_draw_blended(kWellDoneSprite, (ScreenWidth - sprite_width(kWellDoneSprite)) / 2,
                      (ScreenHeight - sprite_height(kWellDoneSprite)) / 2, ClampIntensity(picture));
  RaiseWellDoneFade();
}

void DrawPointer(int x, int y) { sprite_draw_blended(kPointerSprite, x, y, kOpaque); }

bool CardUnder(int px, int py, BoardPos* pos) {
  for (int row = 0; row < kBoardRows; ++row) {
    for (int column = 0; column < kBoardColumns; ++column) {
      const BoardCard& card = CardAt(column, row);
      // Strictly inside: the edge lines at X and X + CardSize belong to no card.
      if (px > card.X && px < card.X + CardSize && py > card.Y && py < card.Y + CardSize) {
        *pos = BoardPos{column, row};
        return true;
      }
    }
  }
  return false;
}

bool TurnCardAt(int px, int py) {
  BoardPos pos;
  // Cards do not overlap, so the card found is the only one hit.
  return CardUnder(px, py, &pos) && TurnCard(pos);
}
