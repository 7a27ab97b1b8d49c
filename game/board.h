// The board of a game: 48 cards in 8 columns and 6 rows, the two card sets
// and four backgrounds they are drawn with, the counters of a game, and the
// deal. Plain process-wide state, owned here and changed by the rules.
#pragma once

#include <array>
#include <cstdint>

#include "game/geometry.h"

constexpr int kBoardCards = kBoardColumns * kBoardRows;  // 48
constexpr int kFacesPerSet = 24;
constexpr int kCardSets = 2;
constexpr int kBackgrounds = 4;

// What a card is doing; stored in 8 bits.
enum CardState : int8_t {
  Removed = 0,    // one of a found pair, gone: not drawn, not clickable
  FaceDown = 1,   // the only state in which a click turns the card
  FaceUp = 2,     // turned in the current move
  Vanishing = 3,  // one of a found pair, fading out
};

// One card. Face is the face number (1 to 24) within the card set SetIndex,
// 0 on the start-up board: keeping the number rather than a sprite handle
// lets the pictures be reloaded mid-game, and two cards are a pair exactly
// when they were dealt the same face.
struct BoardCard {
  int32_t Face = 0;
  int32_t X = 0;  // left edge in screen pixels
  int32_t Y = 0;  // top edge in screen pixels
  CardState State = Removed;
};

// The pictures of one card set, filled by the picture loader.
struct CardSet {
  int Back = 0;  // sprite handle of the card back
  std::array<int, kFacesPerSet + 1> Faces{};  // Faces[1] to Faces[24]; [0] unused
};

// A board position.
struct BoardPos {
  int Column = 0;
  int Row = 0;
};

// The cards, column-major: storage slot = column * 6 + row.
extern std::array<BoardCard, kBoardCards> Board;
// Card set 0 is made from the pictures numbered 1, set 1 from those numbered 2.
extern std::array<CardSet, kCardSets> CardSets;
// Screen-sized background sprites; index 0 is "background 1.png".
extern std::array<int, kBackgrounds> Backgrounds;

extern int BackgroundIndex;  // background shown, 0 to 3
extern int SetIndex;         // card set of the board, 0 or 1
extern int CardsLeft;        // cards not yet removed in this game
extern int CardsTurned;      // cards turned in the current move, 0 to 2
extern BoardPos FirstPick;   // first card turned in the current move
extern BoardPos SecondPick;  // second card turned in the current move
extern int MatchFade;        // drawing intensity of a vanishing pair, 255 at rest
extern int GameInProgress;   // 1 from a deal until the game is won
extern int WellDoneFade;     // fade level of the well-done screen, 0 to 128
extern int GamesDealt;       // games dealt since start-up (tells a new board from the old)

// The card at a column (0 to 7) and row (0 to 5).
BoardCard& CardAt(int column, int row);
inline BoardCard& CardAt(BoardPos pos) { return CardAt(pos.Column, pos.Row); }

// The sprite to draw for a card's face: the face picture of the current card
// set, or 0 for a card dealt no face.
int CardFaceSprite(const BoardCard& card);

// Sets X and Y of every card from its slot and the current geometry. Runs
// after ComputeBoardGeometry, at start-up and after a display reopen; a
// reopen keeps every other field of the board.
void LayoutBoard();

// One Fisher-Yates pass over the 48 storage slots, moving whole records.
void ShuffleBoard();

// Deals a new game with the other card set on a random background and shows
// the board (StartPlaying). The one way to start a game:
// START on the menu with no game in progress, or YES to the new-game question.
void DealNewGame();

// The board shown behind the menu before the first deal: 48 face-down cards
// with no face, shuffled once and laid out. Start-up calls it once the
// geometry is known.
void PrepareStartBoard();

// Every value above back to its initial state, with the geometry (tests).
void ResetBoard();
