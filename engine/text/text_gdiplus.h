// What the GDI+ back-end files of the text service share: the font object,
// starting GDI+ on first use, and the text in the form GDI+ takes.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "engine/text/text_backend.h"

// Where underline and strike-out lines go, in pixels from the baseline
// (positive upwards, the top edge of each line), with their thickness.
// GDI+ draws neither on every system, so the pass draws them itself.
struct TextDecoration {
  float ascent = 0;  // line top to baseline
  float underline_top = 0;
  float underline_size = 1;
  float strike_top = 0;
  float strike_size = 1;
};

// A font as font_load made it: the GDI+ font without underline and
// strike-out (those stay in flags and are drawn by the pass), and what the
// log reports of the face GDI picked for it.
struct TextFont : TextFontCommon {
  Gdiplus::GpFont* font = nullptr;
  int style = 0;  // the GDI+ style the font was made with
  TextDecoration decoration;
  std::wstring family;  // the GDI+ family, to look glyphs up in

  ~TextFont() override {
    if (font) Gdiplus::DllExports::GdipDeleteFont(font);
  }
};

// Starts GDI+ for the text service if it is not running; false when it
// cannot be started (then no font can be made and no pass started).
bool text_gdiplus_start();

// A copy of a font that lives on when the font is freed or replaced (the
// pass holds one); null when the font cannot be copied.
std::unique_ptr<TextFont> text_font_copy(const TextFont& font);

// The font to draw a text in: the font itself when its face has every
// character of the text, else a font of the same size and style from an
// installed family that has them (Japanese captions in a Latin face).
// Such stand-ins are kept until text_release_fallbacks.
const TextFont& text_font_for(const TextFont& font, const std::wstring& text);

// Frees the stand-in fonts and what was kept to look glyphs up (text_reset).
void text_release_fallbacks();

// A text as GDI+ takes it: UTF-16, cut at the first NUL, malformed UTF-8
// mended.
std::wstring text_to_wide(const std::string& text);
