// The two card sets. Set 1, "creatures of the dusk", shows night animals on
// cream cards with an indigo owl back; set 2, "lantern night", shows things
// of the evening sky and the lantern fair on pale lavender cards with a plum
// lantern back. The motifs are colour emoji glyphs (Noto Color Emoji), each
// with its own silhouette, so a face is known by its shape.
#include <cmath>

#include "tools/contentgen/content.h"
#include "tools/contentgen/motifs.h"
#include "tools/contentgen/palette.h"

namespace {

constexpr int kSize = 256;
constexpr double kInset = 2;
constexpr double kRadius = 26;

// Motifs of set 1: creatures that come out at dusk.
const char* const kCreatures[24] = {
    "\U0001F989",                    // owl
    "\U0001F987",                    // bat
    "\U0001F98A",                    // fox
    "\U0001F408\u200D\u2B1B",        // black cat
    "\U0001F994",                    // hedgehog
    "\U0001F9A1",                    // badger
    "\U0001F43E",                    // paw prints
    "\U0001F407",                    // rabbit
    "\U0001F98C",                    // deer
    "\U0001F438",                    // frog
    "\U0001F40C",                    // snail
    "\U0001F577\uFE0F",              // spider
    "\U0001F578\uFE0F",              // spider web
    "\U0001F98B",                    // butterfly
    "\U0001FAB2",                    // beetle
    "\U0001F997",                    // cricket
    "\U0001F40D",                    // snake
    "\U0001F98E",                    // lizard
    "\U0001F43F\uFE0F",              // chipmunk
    "\U0001F422",                    // turtle
    "\U0001F41B",                    // caterpillar
    "\U0001F9A2",                    // swan
    "\U0001F41D",                    // honeybee
    "\U0001F9A8",                    // skunk
};

// Motifs of set 2: the evening sky and the lantern fair.
const char* const kLanternNight[24] = {
    "\U0001F319",                    // crescent moon
    "\u2B50",                        // star
    "\U0001F3A0",                    // carousel horse
    "\U0001FA90",                    // ringed planet
    "\U0001F3EE",                    // red paper lantern
    "\U0001F56F\uFE0F",              // candle
    "\U0001F52E",                    // crystal ball
    "\u23F3",                        // hourglass
    "\U0001F9ED",                    // compass
    "\U0001F5DD\uFE0F",              // old key
    "\U0001F52D",                    // telescope
    "\U0001F514",                    // bell
    "\U0001F4DC",                    // scroll
    "\U0001FAD6",                    // teapot
    "\U0001F344",                    // mushroom
    "\U0001F341",                    // maple leaf
    "\u2744\uFE0F",                  // snowflake
    "\u2602\uFE0F",                  // umbrella
    "\u26FA",                        // tent
    "\U0001FAB6",                    // feather
    "\U0001FA81",                    // kite
    "\U0001F3BB",                    // violin
    "\u2693",                        // anchor
    "\U0001F451",                    // crown
};

void card_shape(cairo_t* cr) {
  rounded_rect(cr, kInset, kInset, kSize - 2 * kInset, kSize - 2 * kInset, kRadius);
}

// The motif with a bold rim in the set's dark colour around its whole
// silhouette, so that even a pale motif on the pale ground is known by its
// outline, in colour or not.
void draw_motif(cairo_t* cr, const char* motif, Rgb rim) {
  Canvas glyph(kSize, kSize);
  draw_emoji_centred(glyph.cr(), motif, 144, 128, 130);
  // Grow the silhouette: blur its alpha and map the rising edge to solid.
  Canvas grown(kSize, kSize);
  cairo_set_source_surface(grown.cr(), glyph.surface(), 0, 0);
  cairo_paint(grown.cr());
  blur_surface(grown.surface(), 2);
  cairo_surface_t* s = grown.surface();
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < kSize; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < kSize; ++x) {
      const uint32_t a = row[x] >> 24;
      const uint32_t solid = a >= 40 ? 255 : a * 255 / 40;
      row[x] = solid << 24;
    }
  }
  cairo_surface_mark_dirty(s);
  // A soft shadow under the rimmed motif, then the rim, then the motif.
  draw_soft_shape(cr, s, 2, 4, 4, Rgb{0, 0, 0}, 0.25);
  cairo_save(cr);
  set_colour(cr, rim);
  cairo_mask_surface(cr, s, 0, 0);
  cairo_restore(cr);
  cairo_set_source_surface(cr, glyph.surface(), 0, 0);
  cairo_paint(cr);
}

// The face of a card: a light ground, a thin frame, small corner marks the
// same on every face of the set, and the motif large in the middle.
Picture card_face(const char* motif, Rgb ground, Rgb edge, Rgb frame, bool lantern_set) {
  Canvas canvas(kSize, kSize);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* p = cairo_pattern_create_radial(128, 110, 10, 128, 128, 190);
  cairo_pattern_add_color_stop_rgb(p, 0, mix(ground, Rgb{1, 1, 1}, 0.45).r,
                                   mix(ground, Rgb{1, 1, 1}, 0.45).g, mix(ground, Rgb{1, 1, 1}, 0.45).b);
  cairo_pattern_add_color_stop_rgb(p, 1, ground.r, ground.g, ground.b);
  card_shape(cr);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  set_colour(cr, edge);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  rounded_rect(cr, 13, 13, kSize - 26, kSize - 26, 17);
  set_colour(cr, frame, 0.85);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  if (lantern_set) {
    for (int i = 0; i < 4; ++i) {
      const double x = i % 2 == 0 ? 30 : kSize - 30;
      const double y = i < 2 ? 30 : kSize - 30;
      cairo_new_path(cr);
      cairo_move_to(cr, x, y - 6);
      cairo_line_to(cr, x + 6, y);
      cairo_line_to(cr, x, y + 6);
      cairo_line_to(cr, x - 6, y);
      cairo_close_path(cr);
      set_colour(cr, frame, 0.8);
      cairo_fill(cr);
    }
  } else {
    draw_crescent(cr, 32, 32, 9, 0.45, -2.4, frame, 0.8);
    draw_twinkle(cr, kSize - 32, kSize - 32, 9, frame, 0.8);
    draw_twinkle(cr, kSize - 32, 32, 6, frame, 0.6);
    draw_twinkle(cr, 32, kSize - 32, 6, frame, 0.6);
  }
  draw_motif(cr, motif, frame);
  return canvas.picture(true);
}

// The ground every card back shares: the card shape filled with a radial
// glow from inner (at the centre, raised to glow_y) to outer, edged in amber.
struct GroundColour {
  double r, g, b;
};
void paint_back_ground(cairo_t* cr, double glow_y, GroundColour inner, GroundColour outer) {
  cairo_pattern_t* p = cairo_pattern_create_radial(128, glow_y, 10, 128, 128, 200);
  cairo_pattern_add_color_stop_rgb(p, 0, inner.r, inner.g, inner.b);
  cairo_pattern_add_color_stop_rgb(p, 1, outer.r, outer.g, outer.b);
  card_shape(cr);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  set_colour(cr, palette::kAmber);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
}

// Back of set 1: an owl in a gold ring on a starry indigo ground.
Picture owl_back() {
  Canvas canvas(kSize, kSize);
  cairo_t* cr = canvas.cr();
  paint_back_ground(cr, 120, {0.21, 0.18, 0.42}, {0.08, 0.07, 0.18});
  cairo_save(cr);
  card_shape(cr);
  cairo_clip(cr);
  Rng rng(77);
  scatter_stars(cr, &rng, 0, 0, kSize, kSize, 70, palette::kStar, 0.7);
  cairo_restore(cr);
  rounded_rect(cr, 12, 12, kSize - 24, kSize - 24, 17);
  set_colour(cr, palette::kAmber, 0.7);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_arc(cr, 128, 128, 78, 0, 2 * M_PI);
  set_colour(cr, hex(0x1a1538));
  cairo_fill_preserve(cr);
  set_colour(cr, palette::kAmber);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  draw_owl(cr, 128, 134, 112,
           {palette::kAmber, palette::kCream, hex(0x1a1538), palette::kAmber, palette::kEmber});
  for (int i = 0; i < 4; ++i) {
    const double x = i % 2 == 0 ? 34 : kSize - 34;
    const double y = i < 2 ? 34 : kSize - 34;
    draw_twinkle(cr, x, y, 10, palette::kAmber, 0.9);
  }
  return canvas.picture(true);
}

// Back of set 2: a glowing lantern on plum lattice.
Picture lantern_back() {
  Canvas canvas(kSize, kSize);
  cairo_t* cr = canvas.cr();
  paint_back_ground(cr, 128, {0.45, 0.19, 0.36}, {0.22, 0.08, 0.19});
  cairo_save(cr);
  rounded_rect(cr, 12, 12, kSize - 24, kSize - 24, 17);
  cairo_clip(cr);
  set_colour(cr, palette::kAmber, 0.22);
  cairo_set_line_width(cr, 1.5);
  for (int k = -8; k <= 8; ++k) {
    cairo_move_to(cr, k * 32, 0);
    cairo_line_to(cr, k * 32 + kSize, kSize);
    cairo_move_to(cr, k * 32, kSize);
    cairo_line_to(cr, k * 32 + kSize, 0);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  rounded_rect(cr, 12, 12, kSize - 24, kSize - 24, 17);
  set_colour(cr, palette::kAmber, 0.8);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  draw_glow(cr, 128, 132, 110, palette::kLantern, 0.55);
  draw_lantern(cr, 128, 136, 104, palette::kLantern, hex(0x3a1d2c), 12);
  return canvas.picture(true);
}

std::string two_digits(int n) {
  return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

}  // namespace

std::vector<GeneratedFile> make_card_sets() {
  std::vector<GeneratedFile> out;
  out.push_back(finish_picture("1-back.png", owl_back()));
  for (int m = 1; m <= 24; ++m) {
    out.push_back(finish_picture("1-card" + two_digits(m) + ".png",
                                 card_face(kCreatures[m - 1], hex(0xf3e6cc), hex(0xb99a6a),
                                           hex(0x3b2d63), false)));
  }
  out.push_back(finish_picture("2-back.png", lantern_back()));
  for (int m = 1; m <= 24; ++m) {
    out.push_back(finish_picture("2-card" + two_digits(m) + ".png",
                                 card_face(kLanternNight[m - 1], hex(0xdedcf0), hex(0x9b8fbf),
                                           palette::kPanelDeep, true)));
  }
  return out;
}
