// Where the parts of the menu screens stand, in pixels down from the panel's
// top (a text without a left edge here is centred on the screen): the rows
// every panel screen shares, the main menu's entries, the questions and the
// credits. Their drawing, their control records and their tests read it; the
// settings screen's own rows are in ui/settings_layout.h.
#pragma once
#include "game/sprites.h"
#include "ui/controls.h"

// The panel's shadow lies this far right of and below the panel.
constexpr int kPanelShadowOffset = 3;

// The title of every panel screen but the main menu, and the bar under it.
constexpr int kPanelTitleTop = 140;
constexpr int kPanelBarTop = 216;
// The credits block and the settings labels block, from the panel's left.
constexpr int kPanelBlockLeft = 74;
constexpr int kPanelBlockTop = 220;
constexpr int kPanelBlockWidth = 530;
constexpr int kPanelBlockHeight = 320;
// OK and cancel, yes and no: the top, and the height a click hits.
constexpr int kPanelButtonTop = 540;
constexpr int kButtonHeight = 40;

// One entry of the main menu: its caption, its control and its top. The
// dimmed continue stands where continue does.
struct MenuEntryPlace {
  int sprite;
  int control;
  int top;
};
// The height a click hits on an entry.
constexpr int kMenuEntryHeight = 80;
// The five entries, top to bottom, in control order.
constexpr MenuEntryPlace kMenuEntries[] = {
    {kStartText, kControlStart, 150},
    {kContinueText, kControlContinue, 230},
    {kSettingsText, kControlSettings, 310},
    {kCreditsText, kControlCredits, 390},
    {kQuitText, kControlQuit, 480},
};
constexpr bool MenuEntriesInOrder() {
  for (int i = 0; i < 5; ++i)
    if (kMenuEntries[i].control != kControlStart + i) return false;
  return true;
}
static_assert(MenuEntriesInOrder(), "kMenuEntries must follow the control indices");
// The top of a main menu entry's control (kControlStart to kControlQuit).
constexpr int MenuEntryTop(int control) { return kMenuEntries[control - kControlStart].top; }

// The questions: the question's box under the bar, yes and no below it,
// each 20 pixels inside an edge of the box.
constexpr int kQuestionTop = 220;
constexpr int kAnswerTop = 300;
constexpr int kAnswerInset = 20;
