// What the text service's portable files (the font table and the drawing
// pass's state) and its back ends (Pango and Cairo, or GDI+) say to each
// other: a back end makes the platform's fonts and draws with them, the
// portable part keeps the numbers, the pen and the pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/text/text.h"

// What every back end's font (TextFont derives from this) carries besides
// its platform font: the font_load flags, the em height in pixels, and the
// face actually drawn, for the log.
struct TextFontCommon {
  int flags = 0;
  int pixels = 0;
  std::string face_family;
  int face_weight = 0;

  TextFontCommon() = default;
  TextFontCommon(const TextFontCommon&) = delete;
  TextFontCommon& operator=(const TextFontCommon&) = delete;
  virtual ~TextFontCommon() = default;
};

// Pen positions and box sides are kept within this many pixels: Cairo's
// 24.8 fixed point would wrap beyond, GDI+'s single-precision floats would
// lose whole pixels (and Wine's GDI+ crashes on far larger ones).
constexpr double kVectorPenLimit = 1e6;

// Where a paragraph may draw, in the pass's coordinates (whole numbers are
// pixel centres): the pixels whose centres lie inside.
struct VectorClip {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// ---- Portable, for the back ends ----

// The pen position of the drawing pass (the tests follow the pen).
double vector_pen_x();
double vector_pen_y();

// The font under a number or handle as the back end made it, or nullptr.
const TextFontCommon* text_font_common(int font);

// Whether a family name means "Arial Black" (any case, any spaces), the
// face that only exists in one heavy weight.
bool font_is_arial_black(const std::string& family);

// ---- Implemented by each back end ----

// The display's dots per inch for font sizes (read once, by font_dpi).
int text_display_dpi();

// A font of a family (not empty, no NUL) at an em height in pixels with
// kFont* flags, its face chosen and described; null when none can be made.
std::unique_ptr<TextFontCommon> text_make_font(const std::string& family, int pixels, int flags);

// Lets go of what the back end keeps between passes (font map, GDI+): the
// fonts and the pass are gone by then.
void text_release_platform();

// Whether a pass on an image this many pixels wide can start at all; asked
// before the pass's pixels are made.
bool vector_backend_ready(int width);

// Sets up drawing onto the pass's pixels: width x height premultiplied
// 0xAARRGGBB words, rows without padding, kept until vector_backend_release.
// False when it cannot (vector_backend_release then cleans up).
bool vector_backend_start(uint32_t* pixels, int width, int height);

// Takes a copy of the font for the following text (nullptr for none).
// Returns whether the pass now has a font to draw with.
bool vector_backend_font(const TextFont* font);

// The colour of the following text, 0xAABBGGRR.
void vector_backend_color(uint32_t rgba);

// Draws one unwrapped line with its top-left corner at (x, y); returns its
// width, or a negative number when nothing could be laid out.
double vector_backend_draw_text(const std::string& text, double x, double y);

// Width of an unwrapped line, 0 when it cannot be laid out.
double vector_backend_text_width(const std::string& text);

// Draws a paragraph from (x, y), wrapped at box_width when that is above 0,
// aligned by kParagraph* flags and cut to clip; returns the height the
// whole text takes, or a negative number when nothing could be laid out.
double vector_backend_draw_paragraph(const std::string& text, double x, double y, double box_width, int flags,
                                     const VectorClip& clip);

// Finishes the drawing: every pixel drawn is in the pass's pixels.
void vector_backend_finish();

// Frees what the back end made for the pass, started or not.
void vector_backend_release();
