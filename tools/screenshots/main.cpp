// screenshots: the pictures of the game that software catalogues show
// (the AppStream metadata). It starts the game from a scratch program folder
// with the build's packs on SDL's dummy drivers, plays through its real main
// loop with input given as the system would deliver it, and keeps what the
// game's own screenshot key S saves: a game under way, the menu over it,
// and the well-done screen.
//   screenshots BIN_FOLDER OUT_FOLDER
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/display.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "engine/screen/screen.h"
#include "engine/system/file.h"
#include "game/board.h"
#include "game/screen_state.h"
#include "ui/controls.h"

namespace {

std::string g_prog;  // the scratch program folder: packs, settings, shots
std::string g_out;

void Pass(int n = 1) {
  for (int i = 0; i < n; ++i) LoopPass();
}

// A key held for one pass, released in the next.
void Tap(SDL_Scancode code) {
  for (bool down : {true, false}) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = code;
    SDL_PushEvent(&e);
    Pass();
  }
}

// The pointer moved over (x, y) of the game's window and the left button
// released there.
void Click(int x, int y) {
  const Uint32 window = window_system_id(kGameWindow);
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.windowID = window;
  move.motion.x = x;
  move.motion.y = y;
  SDL_PushEvent(&move);
  SDL_Event up{};
  up.type = SDL_MOUSEBUTTONUP;
  up.button.windowID = window;
  up.button.button = SDL_BUTTON_LEFT;
  up.button.state = SDL_RELEASED;
  up.button.clicks = 1;
  up.button.x = x;
  up.button.y = y;
  SDL_PushEvent(&up);
  Pass();
}

void ClickControl(int index) {
  const Control& c = Controls[static_cast<size_t>(index)];
  Click(c.left + c.width / 2, c.top + ControlHeight(index) / 2);
}

void ClickCard(BoardPos pos) {
  const BoardCard& card = CardAt(pos);
  Click(card.X + CardSize / 2, card.Y + CardSize / 2);
}

// The next card still on the board from slot *from on, and its partner.
bool NextPair(int* from, BoardPos* a, BoardPos* b) {
  for (; *from < kBoardCards; ++*from) {
    const BoardPos p{*from / kBoardRows, *from % kBoardRows};
    if (CardAt(p).State != FaceDown) continue;
    for (int other = *from + 1; other < kBoardCards; ++other) {
      const BoardPos q{other / kBoardRows, other % kBoardRows};
      if (CardAt(q).State == FaceDown && CardAt(q).Face == CardAt(p).Face) {
        *a = p;
        *b = q;
        return true;
      }
    }
  }
  return false;
}

// Presses S and moves the picture the game saved to OUT_FOLDER/name.
bool Shoot(const std::string& name) {
  Tap(SDL_SCANCODE_S);
  for (const std::string& file : folder_list(g_prog)) {
    if (file.rfind("Duskmatch ", 0) == 0 && file.size() > 4 && file.substr(file.size() - 4) == ".png") {
      std::vector<uint8_t> bytes;
      if (file_read_all(g_prog + file, &bytes) && file_write(g_out + name, bytes.data(), bytes.size()) &&
          file_remove(g_prog + file)) {
        return true;
      }
    }
  }
  std::fprintf(stderr, "screenshots: the game saved no picture for %s\n", name.c_str());
  return false;
}

bool Fail(const char* what) {
  std::fprintf(stderr, "screenshots: %s\n", what);
  return false;
}

bool Play() {
  // The two opening screens, then Start on the menu.
  Tap(SDL_SCANCODE_SPACE);
  Tap(SDL_SCANCODE_SPACE);
  if (ScreenState != MainMenu) return Fail("the menu did not come up");
  ClickControl(kControlStart);
  if (ScreenState != Playing) return Fail("Start did not begin a game");
  // Seven pairs found, then a mismatch showing.
  int from = 0;
  BoardPos a, b;
  for (int pair = 0; pair < 7 && NextPair(&from, &a, &b); ++pair) {
    ClickCard(a);
    ClickCard(b);
    Pass(40);  // the pair fades away
  }
  BoardPos first{-1, 0}, second{-1, 0};
  for (int slot = 0; slot < kBoardCards && second.Column < 0; ++slot) {
    const BoardPos p{slot / kBoardRows, slot % kBoardRows};
    if (CardAt(p).State != FaceDown) continue;
    if (first.Column < 0) {
      first = p;
    } else if (CardAt(p).Face != CardAt(first).Face) {
      second = p;
    }
  }
  if (second.Column < 0) return Fail("no two different cards are left");
  ClickCard(first);
  ClickCard(second);
  Pass(2);
  if (CardsLeft != 34) return Fail("the pairs were not taken away");
  if (!Shoot("board.png")) return false;
  Pass(100);  // the mismatch turns back
  // The menu over the game under way.
  SDL_Event right{};
  right.type = SDL_MOUSEBUTTONUP;
  right.button.windowID = window_system_id(kGameWindow);
  right.button.button = SDL_BUTTON_RIGHT;
  right.button.state = SDL_RELEASED;
  right.button.clicks = 1;
  right.button.x = 640;
  right.button.y = 360;
  SDL_PushEvent(&right);
  Pass(10);
  if (ScreenState != MainMenu) return Fail("a right click did not bring the menu");
  if (!Shoot("menu.png")) return false;
  // Back to the game, every pair found, and the well-done screen.
  ClickControl(kControlContinue);
  if (ScreenState != Playing) return Fail("Continue did not go back to the game");
  from = 0;
  while (NextPair(&from, &a, &b)) {
    ClickCard(a);
    ClickCard(b);
    Pass(40);
    from = 0;
  }
  Pass(200);  // the well-done screen fades in
  if (ScreenState != WellDone) return Fail("the game did not end well done");
  return Shoot("well-done.png");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshots BIN_FOLDER OUT_FOLDER\n");
    return 2;
  }
  const std::string bin = std::string(argv[1]) + "/";
  g_out = std::string(argv[2]) + "/";
  const std::string root = g_out + "scratch/";
  g_prog = root + "prog/";
  if (!folder_remove_all(root) || !folder_make(g_prog) || !folder_make(root + "home/")) {
    std::fprintf(stderr, "screenshots: cannot make %s\n", root.c_str());
    return 1;
  }
  for (const char* pack : {"DuskmatchData.pack", "DuskmatchLanguages.pack", "DuskmatchCursor.pack"}) {
    std::vector<uint8_t> bytes;
    if (!file_read_all(bin + pack, &bytes) || !file_write(g_prog + pack, bytes.data(), bytes.size())) {
      std::fprintf(stderr, "screenshots: cannot copy %s%s\n", bin.c_str(), pack);
      return 1;
    }
  }
  // Settings beside the program keep the game's files in the scratch folder:
  // a window of the catalogues' favourite size, English, no music.
  const std::string prefs =
      "[Settings]\r\nLanguage = en_GB\r\nMusic = 0\r\nGameScreen = 1\r\nScreenMode = 1280x720\r\n";
  if (!file_write(g_prog + "Duskmatch.prefs", prefs.data(), prefs.size())) return 1;
  setenv("HOME", (root + "home").c_str(), 1);
  setenv("XDG_DATA_HOME", (root + "home").c_str(), 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // A failure of the start-up ends the process through the game's fatal
  // path (exit code 0, no pictures): the build sees the missing files.
  StartUp({}, g_prog);
  if (Screen == 0) return 1;
  // The loop's pacing only slows this down; the order of work is the same.
  frame_rate_set(0);
  const bool ok = Play();
  ResetProgram();
  folder_remove_all(root);
  return ok ? 0 : 1;
}
