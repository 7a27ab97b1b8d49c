// What the GDI+ back-end files of the text service share: the font object,
// starting GDI+ on first use, and the text in the form GDI+ takes.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

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
struct TextFont {
  Gdiplus::GpFont* font = nullptr;
  int flags = 0;
  int pixels = 0;
  TextDecoration decoration;
  std::string face_family;
  int face_weight = 0;

  TextFont() = default;
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;
  ~TextFont() {
    if (font) Gdiplus::DllExports::GdipDeleteFont(font);
  }
};

// Starts GDI+ for the text service if it is not running; false when it
// cannot be started (then no font can be made and no pass started).
bool text_gdiplus_start();

// Shuts GDI+ down again (text_reset, once every font and the pass are gone).
void text_gdiplus_stop();

// A text as GDI+ takes it: UTF-16, cut at the first NUL, malformed UTF-8
// mended.
std::wstring text_to_wide(const std::string& text);
