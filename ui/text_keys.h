// The texts of the menus: every language key the game looks up, the sprite
// and font each text is rendered with and the room it has there, and the
// credits' lines. The text-sprite pass and the checks of the language files
// both read these tables, so a new key or a changed sprite is changed here.
#pragma once

#include <array>

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

// Where the settings labels' room ends: the arrows and the music box stand
// at x = 200 in the labels sprite.
inline constexpr int kSettingsLabelWidth = 200;

inline constexpr std::array<TextSlot, 27> kTextSlots = {{
    {"tMenuSTART", 12, 0, TextFit::Line, 500, 80},
    {"tMenuCONTINUE", 13, 0, TextFit::Line, 500, 80},
    {"tMenuSETTINGS", 15, 0, TextFit::Line, 500, 80},
    {"tMenuCREDITS", 16, 0, TextFit::Line, 500, 80},
    {"tMenuQUIT", 17, 0, TextFit::Line, 500, 80},
    {"tQuestionsSTART", 25, 3, TextFit::Paragraph, 540, 80},
    {"tQuestionsQUIT", 24, 3, TextFit::Paragraph, 540, 80},
    {"tMenuYES", 22, 3, TextFit::Line, 300, 40},
    {"tMenuNO", 23, 3, TextFit::Line, 300, 40},
    {"tMenuOK", 20, 3, TextFit::Line, 300, 40},
    {"tMenuCANCEL", 21, 3, TextFit::Line, 300, 40},
    {"tMenuLANGUAGE", 19, 1, TextFit::Line, kSettingsLabelWidth, 40},
    {"tMenuMUSIC", 19, 1, TextFit::Line, kSettingsLabelWidth, 40},
    {"tMenuGAMESCREEN", 19, 1, TextFit::Line, kSettingsLabelWidth, 40},
    {"tMenuSCREENMODE", 19, 1, TextFit::Line, kSettingsLabelWidth, 40},
    {"tMenuFULLSCREEN", 35, 1, TextFit::Centred, 280, 30},
    {"tMenuWINDOWED", 35, 1, TextFit::Centred, 280, 30},
    {"tMenuBORDERLESS", 35, 1, TextFit::Centred, 280, 30},
    {"tCreditsCODEDESIGN", 18, 1, TextFit::Centred, 530, 20},
    {"tCreditsPOINTER", 18, 2, TextFit::Centred, 530, 18},
    {"tCreditsMUSIC", 18, 2, TextFit::Centred, 530, 18},
    {"tCreditsGFX", 18, 2, TextFit::Centred, 530, 16},
    {"tErrorERROR", 0, -1, TextFit::Message, 0, 0},
    {"tErrorSUBSYSTEM", 0, -1, TextFit::Message, 0, 0},
    {"tErrorASSET", 0, -1, TextFit::Message, 0, 0},
    {"tErrorSCREEN", 0, -1, TextFit::Message, 0, 0},
    // The language's own name, in the settings screen's language strip.
    {"tLangFileNAME", 32, 1, TextFit::Centred, 280, 30},
}};

// One line of the credits sprite (530 x 320), centred: either the text of a
// language key or a fixed text, the same in every language.
struct CreditsLine {
  int y;
  int font;
  const char* key;   // nullptr for a fixed line
  const char* text;  // the fixed text; nullptr for a key
};

inline constexpr int kCreditsWidth = 530;
inline constexpr int kCreditsHeight = 320;

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
