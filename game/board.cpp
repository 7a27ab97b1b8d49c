// The board, its layout and the deal.
#include "game/board.h"

#include <cstddef>
#include <utility>

#include "game/random.h"
#include "game/screen_state.h"

std::array<BoardCard, kBoardCards> Board{};
std::array<CardSet, kCardSets> CardSets{};
std::array<int, kBackgrounds> Backgrounds{};

int BackgroundIndex = 0;
int SetIndex = 0;
int CardsLeft = kBoardCards;
int CardsTurned = 0;
BoardPos FirstPick{};
BoardPos SecondPick{};
int MatchFade = 255;
int GameInProgress = 0;
int WellDoneFade = 0;
int GamesDealt = 0;

BoardCard& CardAt(int column, int row) { return Board[static_cast<std::size_t>(column * kBoardRows + row)]; }

int CardFaceSprite(const BoardCard& card) {
  if (card.Face < 1 || card.Face > kFacesPerSet) return 0;
  return CardSets[static_cast<std::size_t>(SetIndex & 1)].Faces[static_cast<std::size_t>(card.Face)];
}

void LayoutBoard() {
  for (int column = 0; column < kBoardColumns; ++column) {
    for (int row = 0; row < kBoardRows; ++row) {
      BoardCard& card = CardAt(column, row);
      card.X = CardColumnX(column);
      card.Y = CardRowY(row);
    }
  }
}

void ShuffleBoard() {
  for (int i = 1; i < kBoardCards; ++i) {
    int j = random_int(i);
    if (j != i) std::swap(Board[static_cast<std::size_t>(i)], Board[static_cast<std::size_t>(j)]);
  }
}

void DealNewGame() {
  BackgroundIndex = random_int(kBackgrounds - 1);
  SetIndex ^= 1;
  // Rows 0 to 2 take faces 1 to 24 row by row, and rows 3 to 5 the same
  // again, so every face lies twice before the shuffle.
  for (int half = 0; half < 2; ++half) {
    int face = 1;
    for (int row = half * 3; row < half * 3 + 3; ++row) {
      for (int column = 0; column < kBoardColumns; ++column) {
        BoardCard& card = CardAt(column, row);
        card.Face = face++;
        card.State = FaceDown;
      }
    }
  }
  for (int pass = 0; pass < 3; ++pass) ShuffleBoard();
  LayoutBoard();
  for (BoardCard& card : Board) card.State = FaceDown;
  // FrameCounter and the picks are left as they are: a mismatch pause that
  // was counting when the deal came shortens the first pause of the new game.
  StartPlaying();
  CardsLeft = kBoardCards;
  CardsTurned = 0;
  GameInProgress = 1;
  MatchFade = 255;
  ++GamesDealt;
}

void PrepareStartBoard() {
  for (BoardCard& card : Board) {
    card.Face = 0;
    card.State = FaceDown;
  }
  ShuffleBoard();
  LayoutBoard();
}

void ResetBoard() {
  ResetBoardGeometry();
  Board.fill(BoardCard{});
  CardSets.fill(CardSet{});
  Backgrounds.fill(0);
  BackgroundIndex = 0;
  SetIndex = 0;
  CardsLeft = kBoardCards;
  CardsTurned = 0;
  FirstPick = BoardPos{};
  SecondPick = BoardPos{};
  MatchFade = 255;
  GameInProgress = 0;
  WellDoneFade = 0;
  GamesDealt = 0;
}
