// The four board backgrounds: calm twilight scenes that keep their detail
// toward the edges and stay dark and even where the cards lie.
#include "tools/contentgen/scenes.h"

#include <cmath>

#include "tools/contentgen/content.h"
#include "tools/contentgen/motifs.h"
#include "tools/contentgen/palette.h"

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

double ridge_y(double x, double base, const std::vector<Wave>& waves) {
  double y = base;
  for (const Wave& w : waves) y += w.amplitude * std::sin(x / w.length * 2 * M_PI + w.phase);
  return y;
}

// Dusk over rolling hills: the last light low on the horizon.
Picture dusk_hills() {
  Canvas canvas(kW, kH);
  Sky sky(kW, kH);
  sky.vertical({hex(0x15122e), hex(0x221c47), hex(0x3a2b5f), hex(0x6b4270), hex(0xa35f6c)});
  sky.glow(560, 860, 380, hex(0xd97a55), 0.35);
  sky.glow(560, 900, 160, hex(0xf1ac47), 0.18);
  sky.paint(&canvas);
  cairo_t* cr = canvas.cr();
  Rng rng(11);
  scatter_stars(cr, &rng, 0, 0, kW, 520, 260, palette::kStar, 0.55);
  draw_crescent(cr, 1690, 170, 46, 0.42, -2.4, hex(0xfde9c0), 0.9);
  fill_ridge(cr, kW, kH, 800, {{28, 900, 0.3}, {14, 340, 1.1}}, hex(0x4a3160), 0.85);
  fill_ridge(cr, kW, kH, 870, {{36, 1300, 2.0}, {12, 420, 0.4}}, hex(0x342450));
  fill_ridge(cr, kW, kH, 960, {{30, 1100, 4.1}, {10, 300, 2.2}}, hex(0x211838));
  // A few lit windows far away on the middle hills.
  for (int i = 0; i < 9; ++i) {
    const double x = rng.range(60, kW - 60);
    const double y = ridge_y(x, 870, {{36, 1300, 2.0}, {12, 420, 0.4}}) + rng.range(14, 40);
    draw_glow(cr, x, y, 14, palette::kLantern, 0.35);
    set_colour(cr, palette::kLantern, 0.9);
    cairo_rectangle(cr, x - 1.5, y - 1.5, 3, 3);
    cairo_fill(cr);
  }
  return canvas.picture(false);
}

// A lantern garden: soft out-of-focus lights over deep plum.
Picture lantern_garden() {
  Canvas canvas(kW, kH);
  Sky sky(kW, kH);
  sky.vertical({hex(0x1b1533), hex(0x271c40), hex(0x33213f), hex(0x2a1a33)});
  sky.glow(960, 1150, 700, hex(0x6a3a50), 0.35);
  sky.paint(&canvas);
  cairo_t* cr = canvas.cr();
  Rng rng(22);
  // Bokeh: large faint discs, denser toward the sides of the picture.
  for (int i = 0; i < 70; ++i) {
    double x = rng.uniform();
    x = x < 0.5 ? x * x * 2 : 1 - (1 - x) * (1 - x) * 2;
    x *= kW;
    const double y = rng.range(0, kH);
    const double r = rng.range(20, 70);
    const Rgb c = rng.uniform() < 0.7 ? palette::kLantern : palette::kRose;
    // An out-of-focus light: even inside, a slightly brighter rim, a soft edge.
    const double a = rng.range(0.04, 0.10);
    cairo_pattern_t* disc = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(disc, 0, c.r, c.g, c.b, a);
    cairo_pattern_add_color_stop_rgba(disc, 0.86, c.r, c.g, c.b, a * 1.25);
    cairo_pattern_add_color_stop_rgba(disc, 1, c.r, c.g, c.b, 0);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_set_source(cr, disc);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);
  }
  // Two strings of lanterns sagging across the top.
  for (int string = 0; string < 2; ++string) {
    const double y0 = string == 0 ? 40 : 90;
    const double sag = string == 0 ? 90 : 70;
    cairo_new_path(cr);
    for (int x = 0; x <= kW; x += 8) {
      const double t = static_cast<double>(x) / kW;
      const double y = y0 + sag * 4 * t * (1 - t) + (string == 0 ? 0 : 30 * std::sin(t * 6));
      if (x == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    set_colour(cr, hex(0x120d20), 0.9);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    for (int i = 0; i < 11; ++i) {
      const double t = (i + 0.5 + string * 0.5) / 11.5;
      const double x = t * kW;
      const double y = y0 + sag * 4 * t * (1 - t) + (string == 0 ? 0 : 30 * std::sin(t * 6));
      const double size = string == 0 ? 46 : 34;
      const Rgb paper = (i + string) % 3 == 0 ? hex(0xe0694a) : palette::kLantern;
      draw_glow(cr, x, y + size * 0.55, size * 2.2, paper, 0.28);
      draw_lantern(cr, x, y + size * 0.55, size, paper, hex(0x3a1d2c), y);
    }
  }
  // A hedge of round bushes along the bottom.
  set_colour(cr, hex(0x140e20));
  for (double x = -30; x < kW + 60; x += rng.range(40, 90)) {
    cairo_new_path(cr);
    cairo_arc(cr, x, 1062 + rng.range(-8, 14), rng.range(34, 62), 0, 2 * M_PI);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 0, 1060, kW, 20);
  cairo_fill(cr);
  return canvas.picture(false);
}

// A moonlit lake with a line of pines.
Picture moon_lake() {
  Canvas canvas(kW, kH);
  Sky sky(kW, kH);
  sky.vertical({hex(0x0d1530), hex(0x16264a), hex(0x24406a), hex(0x132440), hex(0x0c1629)});
  sky.glow(1640, 230, 260, hex(0x8fa7d6), 0.28);
  sky.glow(1640, 820, 90, hex(0x8fa7d6), 0.10);
  sky.paint(&canvas);
  cairo_t* cr = canvas.cr();
  Rng rng(33);
  scatter_stars(cr, &rng, 0, 0, kW, 560, 300, palette::kStar, 0.6);
  // Full moon with a faint halo.
  draw_glow(cr, 1640, 230, 160, hex(0xdfe8ff), 0.25);
  cairo_new_path(cr);
  cairo_arc(cr, 1640, 230, 62, 0, 2 * M_PI);
  set_colour(cr, hex(0xf3f0e0));
  cairo_fill(cr);
  for (int i = 0; i < 5; ++i) {
    cairo_new_path(cr);
    cairo_arc(cr, 1640 + rng.range(-35, 35), 230 + rng.range(-35, 35), rng.range(6, 14), 0, 2 * M_PI);
    set_colour(cr, hex(0xd8d4c4), 0.6);
    cairo_fill(cr);
  }
  // The far shore: pines on a low bank, mirrored in the water below.
  fill_ridge(cr, kW, 670, 640, {{8, 700, 0.2}}, hex(0x0b1428));
  Rng trees(34);
  fill_pines(cr, &trees, kW, 646, 40, 150, 26, hex(0x0b1428));
  cairo_save(cr);
  cairo_translate(cr, 0, 2 * 652);
  cairo_scale(cr, 1, -1);
  Rng mirror(34);
  fill_pines(cr, &mirror, kW, 646, 40, 150, 26, hex(0x0f1c36));
  cairo_restore(cr);
  // Moonlight glitter on the water.
  for (int i = 0; i < 60; ++i) {
    const double y = rng.range(670, 1060);
    const double spread = 30 + (y - 670) * 0.35;
    const double x = 1640 + rng.range(-spread, spread);
    const double len = rng.range(10, 40);
    cairo_save(cr);
    cairo_translate(cr, x + len / 2, y);
    cairo_scale(cr, len / 2, 1.3);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    set_colour(cr, hex(0xdfe8ff), rng.range(0.08, 0.3));
    cairo_fill(cr);
  }
  return canvas.picture(false);
}

// Moths drifting under soft violet clouds.
Picture moth_clouds() {
  Canvas canvas(kW, kH);
  Sky sky(kW, kH);
  sky.vertical({hex(0x18122f), hex(0x251a45), hex(0x3a2656), hex(0x4a2e5a)});
  sky.band(260, 60, hex(0x3f2f66), 0.6, 40, 1500, 0.5);
  sky.band(520, 80, hex(0x533a72), 0.45, 50, 1700, 2.1);
  sky.band(840, 90, hex(0x6a4270), 0.4, 45, 1300, 4.0);
  sky.glow(250, 175, 220, hex(0x8f7cc4), 0.22);
  sky.paint(&canvas);
  cairo_t* cr = canvas.cr();
  Rng rng(44);
  scatter_stars(cr, &rng, 0, 0, kW, kH, 320, palette::kStar, 0.5);
  // The glow sits toward the lit edge, so the dark part of the moon stays
  // dark.
  draw_glow(cr, 238, 166, 110, hex(0xfde9c0), 0.16);
  draw_crescent(cr, 260, 180, 52, 0.45, 0.6, hex(0xfde9c0), 0.95);
  // Moths, mostly near the left and right edges where they stay visible.
  for (int i = 0; i < 14; ++i) {
    const bool left = i % 2 == 0;
    const double x = left ? rng.range(30, 230) : rng.range(1690, 1890);
    const double y = rng.range(80, 1000);
    draw_moth(cr, x, y, rng.range(34, 64), rng.range(-0.6, 0.6), hex(0xd9c7ee), hex(0xf1ac47),
              rng.range(0.22, 0.4));
  }
  return canvas.picture(false);
}

}  // namespace

void fill_ridge(cairo_t* cr, double width, double height, double base,
                const std::vector<Wave>& waves, Rgb colour, double alpha) {
  cairo_new_path(cr);
  cairo_move_to(cr, 0, height);
  for (double x = 0; x <= width; x += 6) cairo_line_to(cr, x, ridge_y(x, base, waves));
  cairo_line_to(cr, width, ridge_y(width, base, waves));
  cairo_line_to(cr, width, height);
  cairo_close_path(cr);
  set_colour(cr, colour, alpha);
  cairo_fill(cr);
}

void fill_pines(cairo_t* cr, Rng* rng, double width, double base, double min_h, double max_h,
                double spacing, Rgb colour) {
  set_colour(cr, colour);
  for (double x = -20; x < width + 20; x += spacing * rng->range(0.6, 1.4)) {
    const double h = rng->range(min_h, max_h);
    const double w = h * rng->range(0.28, 0.38);
    cairo_new_path(cr);
    // Three tiers of branches.
    for (int tier = 0; tier < 3; ++tier) {
      const double top = base - h + tier * h * 0.25;
      const double bottom = base - h * (0.45 - tier * 0.2);
      const double half = w / 2 * (0.55 + tier * 0.25);
      cairo_move_to(cr, x, top);
      cairo_line_to(cr, x + half, bottom);
      cairo_line_to(cr, x - half, bottom);
      cairo_close_path(cr);
    }
    cairo_rectangle(cr, x - w * 0.06, base - h * 0.3, w * 0.12, h * 0.3 + 2);
    cairo_fill(cr);
  }
}

std::vector<GeneratedFile> make_backgrounds() {
  std::vector<GeneratedFile> out;
  out.push_back(finish_picture("background 1.png", dusk_hills()));
  out.push_back(finish_picture("background 2.png", lantern_garden()));
  out.push_back(finish_picture("background 3.png", moon_lake()));
  out.push_back(finish_picture("background 4.png", moth_clouds()));
  return out;
}
