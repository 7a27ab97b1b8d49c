// Drawing helpers shared by every picture of the content generator: a Cairo
// canvas, soft blurs for shadows and glows, text through Pango with the fonts
// the setup script installs, a dithered float sky for smooth gradients and a
// seeded random source.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/picture.h"

struct Rgb {
  double r, g, b;
};

// 0xRRGGBB to a colour with channels from 0 to 1.
Rgb hex(uint32_t rrggbb);
// Linear mix of two colours, t from 0 (a) to 1 (b).
Rgb mix(Rgb a, Rgb b, double t);
void set_colour(cairo_t* cr, Rgb c, double alpha = 1.0);

// A deterministic random source (splitmix64), seeded per picture.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t next();
  double uniform();                       // [0, 1)
  double range(double lo, double hi);     // [lo, hi)

 private:
  uint64_t state_;
};

// A Cairo ARGB32 image surface with a drawing context, cleared transparent.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }

  // Straight RGBA copy of the pixels; `alpha` is stored in the result.
  Picture picture(bool alpha = true) const;
  // For colour-keyed pictures: pixels more than half transparent become
  // black (the key), the rest are composed over `under` (what the game shows
  // beneath them) and nudged off pure black so they are not keyed out.
  Picture keyed_picture(Rgb under) const;

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Blurs a surface in place with three box passes of the given radius (close
// to a Gaussian). Works on premultiplied pixels, so colour and alpha blur
// together.
void blur_surface(cairo_surface_t* surface, int radius);

// Draws `source` blurred onto cr at (x, y) in a solid colour: the shape's
// alpha only, as for a shadow or a glow.
void draw_soft_shape(cairo_t* cr, cairo_surface_t* shape, double x, double y, int radius,
                     Rgb colour, double alpha);

// Rounded rectangle path.
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);

// Text drawn through Pango. `family` is a fontconfig family such as "Lato"
// with a weight in `weight` (PANGO_WEIGHT_* values); sizes are in pixels.
struct TextStyle {
  std::string family = "Lato";
  int weight = 900;
  double size_px = 40;
  double letter_spacing_px = 0;
  bool italic = false;
};

// Checks that fontconfig gives the fonts the pictures are drawn with (Lato
// and Noto Color Emoji, which the setup script installs) rather than some
// substitute, which would quietly change every picture. Names the first
// missing family in *missing.
bool fonts_available(std::string* missing);

// Logical width and height of a text in a style.
void text_size(const std::string& text, const TextStyle& style, double* w, double* h);
// Adds the outline of the text to the current path with its logical box
// centred on (cx, cy).
void text_path_centred(cairo_t* cr, const std::string& text, const TextStyle& style, double cx,
                       double cy);
// Draws a colour glyph text (emoji) centred on (cx, cy) at the given size.
void draw_emoji_centred(cairo_t* cr, const std::string& text, double size_px, double cx,
                        double cy);

// A floating-point RGB layer for large smooth areas (skies, glows), turned
// into 8-bit pixels with a fine ordered dither so that gradients show no
// bands.
class Sky {
 public:
  Sky(int width, int height);
  // Vertical gradient through evenly spaced colours, top to bottom.
  void vertical(const std::vector<Rgb>& stops);
  // Adds light in a soft round glow: strength at the centre, falling off
  // with a Gaussian of the given radius.
  void glow(double cx, double cy, double radius, Rgb colour, double strength);
  // Adds a soft horizontal band (a haze or a cloud bank) centred on y.
  void band(double y, double half_height, Rgb colour, double strength, double wave_amp,
            double wave_len, double phase);
  // Writes the sky into the canvas (opaque), dithered.
  void paint(Canvas* canvas) const;

 private:
  int width_, height_;
  std::vector<float> rgb_;
};
