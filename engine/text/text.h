// Fonts and the vector drawing pass that puts antialiased text into images.
// The menus render every caption once into an image this way, measure it to
// centre and clip it, and copy the image into a sprite.
#pragma once

#include <cstdint>
#include <string>

// Style flags of font_load, combinable.
constexpr int kFontUnderline = 4;
constexpr int kFontStrikeOut = 8;
constexpr int kFontHighQuality = 16;
constexpr int kFontBold = 256;
constexpr int kFontItalic = 512;

// Alignment flags of vector_draw_paragraph (0 is left).
constexpr int kParagraphRight = 2;
constexpr int kParagraphCentre = 4;

// The unit of image_vector_target that the game uses: one pixel.
constexpr int kVectorUnitPixel = 1;

// A loaded font as the drawing pass takes it; only font_handle gives one out.
struct TextFont;

// Where a vector drawing pass draws: an image of the image table.
struct VectorTarget {
  int image = 0;
  bool valid = false;
  explicit operator bool() const { return valid; }
};

// Points to whole pixels of em height at dpi dots per inch, rounded to the
// nearest pixel (halves away from zero): 40 points at 96 dpi are 53 pixels.
int font_points_to_pixels(int points, int dpi);

// The display's dots per inch for font sizes, read once on first use.
int font_dpi();

// Makes a font under a number (or -1 for a handle) from a family name, a
// size in points and kFont* flags; a font under a number in use replaces it.
// Returns the number, a handle, or non-zero for number 0; 0 when the font
// cannot be made. Called once per font at start-up.
int font_load(int number, const std::string& family, int points, int flags);

// The font for vector_font, nullptr if there is none under that number.
const TextFont* font_handle(int font);

// Frees one font, or every font for -1.
void font_free(int font);

// A target for vector_start on an image; false if the image does not exist
// or the unit is not kVectorUnitPixel.
VectorTarget image_vector_target(int image, int unit);

// Starts the (single) vector drawing pass on a target: pen at (0, 0), no
// font, opaque black. Returns non-zero when the pass started; 0 when the
// image is missing or a pass is already running.
int vector_start(const VectorTarget& target);

// The font for the following text, at its own size; nullptr for none (text
// then draws nothing and measures 0).
void vector_font(const TextFont* font);

// The colour of the following text, 0xAABBGGRR (red in the low byte).
void vector_color(uint32_t rgba);

// Moves the pen; (x, y) is the top-left corner of the next text's line box:
// its first glyph starts at x and its baseline lies the face's ascent (as
// Windows measures it, in whole pixels) below y. Whole numbers are pixel
// centres: pixel (0, 0) spans -0.5 to 0.5.
void vector_move_to(double x, double y);

// Draws one unwrapped line at the pen and moves the pen right by the text's
// width, so a following draw continues where this one ended.
void vector_draw_text(const std::string& text);

// Width in pixels of a text in the current font, trailing blanks included;
// draws nothing. 0 outside a pass, without a font or for an empty text.
double vector_text_width(const std::string& text);

// Draws a text wrapped at word boundaries into the box of box_width x
// box_height whose top-left corner is the pen, each line aligned by flags
// (0 left, kParagraphCentre, kParagraphRight) and the lines the face's line
// spacing apart; what falls outside the box is cut off. Then the pen moves
// down by the height the text took. A box side of 0 or less has no limit
// (no wrapping, no cut).
void vector_draw_paragraph(const std::string& text, double box_width, double box_height, int flags);

// Ends the pass and leaves the drawn pixels in the image.
void vector_stop();

// Ends any running pass and frees every font: a clean state for tests and
// the end of the program.
void text_reset();
