// The text-sprite pass: captions, questions, the credits and the settings
// labels rendered into their sprites, cut to their texts, and the control
// records placed beside them.
#include "ui/text_sprites.h"

#include <algorithm>

#include "engine/image/image.h"
#include "engine/screen/screen.h"
#include "engine/text/text.h"
#include "game/geometry.h"
#include "game/sprites.h"
#include "ui/controls.h"
#include "ui/languages.h"
#include "ui/menu_layout.h"
#include "ui/settings.h"
#include "ui/settings_layout.h"
#include "ui/text_keys.h"
#include "ui/text_render.h"

namespace {

using text_render::SlotOf;

void SetControl(int index, int sprite, int left, int top, int width) {
  Controls[static_cast<size_t>(index)] = Control{sprite, left, top, width};
}

// One caption from the sprite's left edge: rendered, cut to the width of
// its text (at most the sprite's width). Returns that width, or -1 when the
// sprite could not be made, which leaves its control as it was.
int MakeLineSprite(int number, const char* key, unsigned rgba) {
  const TextSlot& slot = SlotOf(key);
  const std::string& text = Text(key);
  // When the text cannot be drawn the sprite keeps the width it was cut to
  // in the last pass, so its control neither vanishes nor grows.
  int width = sprite_width(number);
  auto draw = [&] {
    text_render::UseFont(slot.font, rgba);
    vector_move_to(0, 0);
    vector_draw_text(text);
    width = text_render::RoundedWidth(text);
  };
  if (!text_render::Render(number, slot.width, slot.height, draw)) return -1;
  width = std::clamp(width, 0, slot.width);
  sprite_clip(number, 0, 0, width, slot.height);
  return width;
}

// A question: wrapped into its box, each line centred, cut below the box.
void MakeParagraphSprite(int number, const char* key) {
  const TextSlot& slot = SlotOf(key);
  text_render::Render(number, slot.width, slot.height, [&] {
    text_render::UseFont(slot.font, kTextColour);
    vector_move_to(0, 0);
    vector_draw_paragraph(Text(key), slot.width, slot.height, kParagraphCentre);
  });
}

void MakeCreditsSprite() {
  text_render::Render(kCreditsBlock, kPanelBlockWidth, kPanelBlockHeight, [] {
    for (const CreditsLine& line : kCreditsLines) {
      text_render::UseFont(line.font, kTextColour);
      text_render::DrawCentred(line.key ? Text(line.key) : std::string(line.text), kPanelBlockWidth, line.y);
    }
  });
}

// The four labels of the settings screen with the active arrows of the
// language, window-mode and window-size rows drawn in (the music row's box
// is drawn on the screen).
void MakeSettingsBlock() {
  static constexpr const char* kLabels[] = {"tMenuLANGUAGE", "tMenuMUSIC", "tMenuGAMESCREEN", "tMenuSCREENMODE"};
  text_render::Render(
      kSettingsBlock, kPanelBlockWidth, kPanelBlockHeight,
      [] {
        text_render::UseFont(SlotOf(kLabels[0]).font, kTextColour);
        for (int row = kLanguageRow; row <= kScreenModeRow; ++row) {
          vector_move_to(0, SettingsRowTop(row) - kPanelBlockTop);
          vector_draw_text(Text(kLabels[row]));
        }
      },
      [] {
        for (const SettingsRowControl& c : kSettingsRowControls) {
          if (c.inactive < 0) continue;  // the box
          const int top = SettingsPictureTop(c.row) - kPanelBlockTop;
          draw_image(image_handle(c.picture), c.left - kPanelBlockLeft, top);
        }
      });
}

void MakeGameScreenStrip() {
  static constexpr const char* kModes[] = {"tMenuFULLSCREEN", "tMenuWINDOWED", "tMenuBORDERLESS"};
  const TextSlot& slot = SlotOf(kModes[0]);
  text_render::Render(kGameScreenStrip, slot.width, slot.height * 3, [&] {
    text_render::UseFont(slot.font, kTextColour);
    for (int i = 0; i < 3; ++i) text_render::DrawCentred(Text(kModes[i]), slot.width, slot.height * i);
  });
  CutStrip(kGameScreenStrip, GameScreen);
}

}  // namespace

void RenderTextSprites(int full) {
  const int L = PanelLeft();
  const int T = PanelTop();
  const int W = ScreenWidth;

  // The five entries of the main menu, centred on the screen; the dimmed
  // continue entry has no control of its own (the bright one is hit-tested).
  struct Entry {
    int sprite;
    const char* key;
    int control;  // -1: none
  };
  static constexpr Entry kEntries[] = {
      {kStartText, "tMenuSTART", kControlStart},
      {kContinueText, "tMenuCONTINUE", kControlContinue},
      {kContinueDimText, "tMenuCONTINUE", -1},
      {kSettingsText, "tMenuSETTINGS", kControlSettings},
      {kCreditsText, "tMenuCREDITS", kControlCredits},
      {kQuitText, "tMenuQUIT", kControlQuit},
  };
  for (const Entry& e : kEntries) {
    const int width = MakeLineSprite(e.sprite, e.key, e.control < 0 ? kDimTextColour : kTextColour);
    if (width >= 0 && e.control >= 0)
      SetControl(e.control, e.sprite, (W - sprite_width(e.sprite)) / 2, T + MenuEntryTop(e.control), width);
  }

  MakeParagraphSprite(kQuitQuestionText, "tQuestionsQUIT");
  MakeParagraphSprite(kStartQuestionText, "tQuestionsSTART");

  // OK is centred on the credits screen and stands at the left on the
  // settings screen: one sprite, two controls.
  int width = MakeLineSprite(kOkText, "tMenuOK", kTextColour);
  if (width >= 0) {
    SetControl(kControlCreditsOk, kOkText, (W - sprite_width(kOkText)) / 2, T + kPanelButtonTop, width);
    SetControl(kControlSettingsOk, kOkText, L + kSettingsButtonInset, T + kPanelButtonTop, width);
  }
  // Yes and no stand inside the edges of the question box, the quit
  // question's box in both questions.
  const int box = sprite_width(kQuitQuestionText);
  width = MakeLineSprite(kYesText, "tMenuYES", kTextColour);
  if (width >= 0) SetControl(kControlYes, kYesText, (W - box) / 2 + kAnswerInset, T + kAnswerTop, width);
  width = MakeLineSprite(kNoText, "tMenuNO", kTextColour);
  if (width >= 0) {
    SetControl(kControlNo, kNoText, (W - box) / 2 + box - sprite_width(kNoText) - kAnswerInset, T + kAnswerTop,
               width);
  }

  MakeCreditsSprite();
  MakeSettingsBlock();
  for (const SettingsRowControl& c : kSettingsRowControls)
    SetControl(c.control, c.picture, L + c.left - kSettingsPictureInset, T + SettingsRowTop(c.row), kSettingsHitSize);

  MakeGameScreenStrip();
  width = MakeLineSprite(kCancelText, "tMenuCANCEL", kTextColour);
  if (width >= 0) {
    SetControl(kControlSettingsCancel, kCancelText,
               L + sprite_width(kPanelSprite) - sprite_width(kCancelText) - kSettingsButtonInset, T + kPanelButtonTop,
               width);
  }
  if (full) RenderListStrips();
}
