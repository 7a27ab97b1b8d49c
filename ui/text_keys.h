// The texts of the menus: every language key the game looks up, the sprite
// and font each text is rendered with and the room it has there, and the
// credits' lines. The text-sprite pass and the checks of the language files
// both read these tables, so a new key or a changed sprite is changed here.
#pragma once

#include <array>

#include "game/sprites.h"
#include "ui/menu_layout.h"
#include "ui/settings_layout.h"

// Header group of a language file and its six keys (the catalogue entry).
inline constexpr const char* kLanguageHeaderGroup = "LANGUAGE FILE";
inline constexpr std::array<const char*, 6> kLanguageHeaderKeys = {
    "tLangFileNAME", "tLangFileVERSION", "tLangFileDATE",
    "tLangFileAUTHOR", "tLangFileLANGID", "tLangFileSOFTWARE"};

// The four fonts of the text sprites, all of the face "Arial Black".
struct TextFontSpec {
  int points;
  bool bold;
};
inline constexpr std::array<TextFontSpec, 4> kTextFonts = {{{40, true}, {14, false}, {11, false}, {20, false}}};

// How a text stands in its sprite.
enum class TextFit {
  Line,       // one line from the sprite's left edge, cut to the text's width
  Centred,    // one line centred in a row of the sprite (strips, credits)
  Paragraph,  // wrapped at word boundaries into a box, cut below it
  Message,    // an error message box: no sprite, no size limit
};

// One key the game looks up and where its text is shown. width and height
// are the room the text has: the sprite's size, except for the settings
// labels, which end where the arrows of their rows begin.
struct TextSlot {
  const char* key;
  int sprite;  // 0 for the message boxes
  int font;    // font slot of kTextFonts; -1 for the message boxes
  TextFit fit;
  int width;
  int height;
};

// Where the settings labels' room ends: where the left arrows and the music
// box stand in the labels sprite.
inline constexpr int kSettingsLabelWidth = kSettingsLeftColumn - kPanelBlockLeft;
static_assert(kSettingsLabelWidth == 200, "the labels' room");

inline constexpr std::array<TextSlot, 27> kTextSlots = {{
    {"tMenuSTART", kStartText, 0, TextFit::Line, 500, kMenuEntryHeight},
    {"tMenuCONTINUE", kContinueText, 0, TextFit::Line, 500, kMenuEntryHeight},
    {"tMenuSETTINGS", kSettingsText, 0, TextFit::Line, 500, kMenuEntryHeight},
    {"tMenuCREDITS", kCreditsText, 0, TextFit::Line, 500, kMenuEntryHeight},
    {"tMenuQUIT", kQuitText, 0, TextFit::Line, 500, kMenuEntryHeight},
    {"tQuestionsSTART", kStartQuestionText, 3, TextFit::Paragraph, 540, 80},
    {"tQuestionsQUIT", kQuitQuestionText, 3, TextFit::Paragraph, 540, 80},
    {"tMenuYES", kYesText, 3, TextFit::Line, 300, kButtonHeight},
    {"tMenuNO", kNoText, 3, TextFit::Line, 300, kButtonHeight},
    {"tMenuOK", kOkText, 3, TextFit::Line, 300, kButtonHeight},
    {"tMenuCANCEL", kCancelText, 3, TextFit::Line, 300, kButtonHeight},
    {"tMenuLANGUAGE", kSettingsBlock, 1, TextFit::Line, kSettingsLabelWidth, kSettingsRowHeight},
    {"tMenuMUSIC", kSettingsBlock, 1, TextFit::Line, kSettingsLabelWidth, kSettingsRowHeight},
    {"tMenuGAMESCREEN", kSettingsBlock, 1, TextFit::Line, kSettingsLabelWidth, kSettingsRowHeight},
    {"tMenuSCREENMODE", kSettingsBlock, 1, TextFit::Line, kSettingsLabelWidth, kSettingsRowHeight},
    {"tMenuFULLSCREEN", kGameScreenStrip, 1, TextFit::Centred, kSettingsStripWidth, kSettingsStripHeight},
    {"tMenuWINDOWED", kGameScreenStrip, 1, TextFit::Centred, kSettingsStripWidth, kSettingsStripHeight},
    {"tMenuBORDERLESS", kGameScreenStrip, 1, TextFit::Centred, kSettingsStripWidth, kSettingsStripHeight},
    {"tCreditsCODEDESIGN", kCreditsBlock, 1, TextFit::Centred, kPanelBlockWidth, 20},
    {"tCreditsPOINTER", kCreditsBlock, 2, TextFit::Centred, kPanelBlockWidth, 18},
    {"tCreditsMUSIC", kCreditsBlock, 2, TextFit::Centred, kPanelBlockWidth, 18},
    {"tCreditsGFX", kCreditsBlock, 2, TextFit::Centred, kPanelBlockWidth, 16},
    {"tErrorERROR", 0, -1, TextFit::Message, 0, 0},
    {"tErrorSUBSYSTEM", 0, -1, TextFit::Message, 0, 0},
    {"tErrorASSET", 0, -1, TextFit::Message, 0, 0},
    {"tErrorSCREEN", 0, -1, TextFit::Message, 0, 0},
    // The language's own name, in the settings screen's language strip.
    {"tLangFileNAME", kLanguageStrip, 1, TextFit::Centred, kSettingsStripWidth, kSettingsStripHeight},
}};

// One line of the credits sprite (the panel's block, 530 x 320), centred:
// either the text of a language key or a fixed text, the same in every
// language.
struct CreditsLine {
  int y;
  int font;
  const char* key;   // nullptr for a fixed line
  const char* text;  // the fixed text; nullptr for a key
};

inline constexpr std::array<CreditsLine, 13> kCreditsLines = {{
    {0, 1, nullptr, "Duskmatch 1.0"},
    {26, 1, "tCreditsCODEDESIGN", nullptr},
    {46, 1, nullptr, "The Duskmatch team"},
    {72, 1, nullptr, "\u00A9 2026 owlreach game studio. All rights reserved."},
    {92, 1, nullptr, "owlreach game studio"},
    {112, 1, nullptr, "Vornhollow Interactive Ltd."},
    {132, 1, nullptr, "www.owlreach.example"},
    {179, 2, "tCreditsPOINTER", nullptr},
    {197, 2, nullptr, "The Duskmatch team / www.owlreach.example"},
    {224, 2, "tCreditsMUSIC", nullptr},
    {242, 2, nullptr, "The Duskmatch team / www.owlreach.example"},
    {268, 2, "tCreditsGFX", nullptr},
    // Every picture is drawn by us (the card faces from glyphs of the Noto
    // Color Emoji font, whose licence asks nothing of pictures made with it;
    // the README names it).
    {284, 2, nullptr, "The Duskmatch team / www.owlreach.example"},
}};
