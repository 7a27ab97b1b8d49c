// The two opening splash pictures: the studio's logo and the game's title.
#include <cmath>

#include "tools/contentgen/content.h"
#include "tools/contentgen/motifs.h"
#include "tools/contentgen/palette.h"
#include "tools/contentgen/scenes.h"

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

// Draws a text with a soft glow under it, filled from `top` at its top to
// `fill` at its bottom.
void glowing_text(cairo_t* cr, int w, int h, const std::string& text, const TextStyle& style,
                  double cx, double cy, Rgb fill, Rgb glow, double glow_alpha, int radius,
                  Rgb top) {
  Canvas shape(w, h);
  text_path_centred(shape.cr(), text, style, cx, cy);
  cairo_set_source_rgba(shape.cr(), 1, 1, 1, 1);
  cairo_fill(shape.cr());
  draw_soft_shape(cr, shape.surface(), 0, 0, radius, glow, glow_alpha);
  double tw, th;
  text_size(text, style, &tw, &th);
  cairo_new_path(cr);
  text_path_centred(cr, text, style, cx, cy);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, cy - th * 0.3, 0, cy + th * 0.3);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, fill.r, fill.g, fill.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void glowing_text(cairo_t* cr, int w, int h, const std::string& text, const TextStyle& style,
                  double cx, double cy, Rgb fill, Rgb glow, double glow_alpha, int radius) {
  glowing_text(cr, w, h, text, style, cx, cy, fill, glow, glow_alpha, radius, fill);
}

Picture studio_logo() {
  Canvas canvas(kW, kH);
  Sky sky(kW, kH);
  sky.vertical({hex(0x0e0c1f), hex(0x15122b), hex(0x120f24)});
  sky.glow(960, 430, 420, hex(0x3b2d63), 0.6);
  sky.paint(&canvas);
  cairo_t* cr = canvas.cr();
  Rng rng(55);
  scatter_stars(cr, &rng, 0, 0, kW, kH, 220, palette::kStar, 0.45);
  // The emblem: an owl inside a ring, under a small crescent.
  const double cx = 960, cy = 420;
  draw_glow(cr, cx, cy, 300, palette::kAmber, 0.10);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, 200, 0, 2 * M_PI);
  set_colour(cr, hex(0x1c1738));
  cairo_fill_preserve(cr);
  set_colour(cr, palette::kAmber);
  cairo_set_line_width(cr, 10);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, 178, 0, 2 * M_PI);
  set_colour(cr, palette::kAmber, 0.45);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  draw_owl(cr, cx, cy + 16, 290,
           {palette::kAmber, palette::kCream, hex(0x1c1738), palette::kAmber, palette::kEmber});
  draw_crescent(cr, cx + 140, cy - 50, 20, 0.45, -2.3, palette::kCream);
  draw_twinkle(cr, cx - 140, cy - 60, 12, palette::kCream, 0.9);
  draw_twinkle(cr, cx + 128, cy + 70, 8, palette::kCream, 0.7);
  TextStyle name{"Lato", 900, 150, 10, false};
  glowing_text(cr, kW, kH, "owlreach", name, cx, 760, palette::kCream, palette::kAmber, 0.35, 14);
  TextStyle sub{"Lato", 300, 52, 26, false};
  cairo_new_path(cr);
  text_path_centred(cr, "GAME STUDIO", sub, cx + 13, 880);
  set_colour(cr, palette::kAmber);
  cairo_fill(cr);
  return canvas.picture(false);
}

Picture title_picture() {
  Canvas canvas(kW, kH);
  Sky sky(kW, kH);
  sky.vertical({hex(0x110e28), hex(0x1f1942), hex(0x35285c), hex(0x653f6e), hex(0x9b5a6a)});
  sky.glow(960, 1000, 520, hex(0xd97a55), 0.30);
  sky.glow(960, 470, 520, hex(0x2d2352), 0.35);
  sky.paint(&canvas);
  cairo_t* cr = canvas.cr();
  Rng rng(66);
  scatter_stars(cr, &rng, 0, 0, kW, 700, 320, palette::kStar, 0.6);
  draw_glow(cr, 1600, 205, 180, hex(0xfde9c0), 0.14);
  draw_crescent(cr, 1580, 190, 64, 0.42, -2.5, hex(0xfde9c0));
  // Hanging lanterns along the top, on strings of different lengths.
  const double xs[] = {190, 420, 640, 1280, 1500, 1730};
  const double drops[] = {170, 260, 140, 150, 280, 180};
  for (int i = 0; i < 6; ++i) {
    const Rgb paper = i % 3 == 1 ? hex(0xe0694a) : palette::kLantern;
    draw_glow(cr, xs[i], drops[i], 170, paper, 0.30);
    draw_lantern(cr, xs[i], drops[i], 86, paper, hex(0x3a1d2c), 0);
  }
  // Moths drawn to the lantern light.
  const double moths[][4] = {{300, 230, 54, -0.4}, {560, 120, 42, 0.5}, {1380, 250, 48, 0.3},
                             {1640, 330, 40, -0.5}, {760, 250, 34, 0.2}, {1160, 110, 36, -0.2}};
  for (const auto& m : moths) {
    draw_moth(cr, m[0], m[1], m[2], m[3], hex(0xe9dcf5), palette::kAmber, 0.85);
  }
  // Hills and an owl watching from a branch.
  fill_ridge(cr, kW, kH, 900, {{30, 1100, 0.8}, {10, 380, 2.0}}, hex(0x3a2650), 0.9);
  fill_ridge(cr, kW, kH, 980, {{26, 900, 3.0}, {8, 260, 1.0}}, hex(0x1c1430));
  // An old tree at the left edge, its branch reaching in under the owl.
  const Rgb bark = hex(0x1c1430);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, kH);
  cairo_line_to(cr, 0, 560);
  cairo_curve_to(cr, 40, 640, 70, 700, 80, 760);
  cairo_curve_to(cr, 160, 772, 280, 770, 400, 752);
  cairo_curve_to(cr, 430, 748, 450, 742, 470, 736);
  cairo_curve_to(cr, 440, 756, 400, 770, 330, 786);
  cairo_curve_to(cr, 240, 800, 150, 800, 112, 810);
  cairo_curve_to(cr, 100, 880, 110, 960, 150, kH);
  cairo_close_path(cr);
  set_colour(cr, bark);
  cairo_fill(cr);
  // A twig with a few leaves on the branch.
  cairo_new_path(cr);
  cairo_move_to(cr, 380, 758);
  cairo_curve_to(cr, 400, 730, 420, 712, 448, 700);
  cairo_set_line_width(cr, 5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  for (int i = 0; i < 4; ++i) {
    const double lx = 400 + i * 16, ly = 726 - i * 9;
    cairo_save(cr);
    cairo_translate(cr, lx, ly);
    cairo_rotate(cr, -0.9 + (i % 2) * 1.6);
    cairo_scale(cr, 14, 6);
    cairo_new_path(cr);
    cairo_arc(cr, 1, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
  }
  draw_owl(cr, 250, 694, 150,
           {hex(0x1c1430), hex(0x2c2046), palette::kLantern, hex(0x1c1430), hex(0x2c2046)});
  // The name.
  TextStyle title{"Lato", 900, 250, 4, false};
  glowing_text(cr, kW, kH, "Duskmatch", title, 960, 500, hex(0xe98a3a), hex(0xf6b950), 0.45, 22,
               hex(0xffd98a));
  TextStyle sub{"Lato", 400, 54, 6, true};
  glowing_text(cr, kW, kH, "a memory game for quiet evenings", sub, 960, 680, palette::kLavender,
               hex(0x1a1433), 0.8, 8);
  return canvas.picture(false);
}

}  // namespace

std::vector<GeneratedFile> make_splashes() {
  std::vector<GeneratedFile> out;
  out.push_back(finish_picture("title.png", title_picture()));
  out.push_back(finish_picture("ogs.png", studio_logo()));
  return out;
}
