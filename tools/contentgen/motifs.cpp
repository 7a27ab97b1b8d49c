// Vector drawings of the owl, moth, lantern, moon and stars.
#include "tools/contentgen/motifs.h"

#include <cmath>

void draw_owl(cairo_t* cr, double cx, double cy, double size, const OwlColours& c) {
  const double s = size;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  // Body: an egg, wider at the bottom, with two ear tufts.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, -0.38 * s);
  cairo_line_to(cr, 0.20 * s, -0.40 * s);
  cairo_line_to(cr, 0.34 * s, -0.50 * s);
  cairo_curve_to(cr, 0.36 * s, -0.36 * s, 0.40 * s, -0.20 * s, 0.38 * s, 0.05 * s);
  cairo_curve_to(cr, 0.37 * s, 0.32 * s, 0.20 * s, 0.48 * s, 0, 0.48 * s);
  cairo_curve_to(cr, -0.20 * s, 0.48 * s, -0.37 * s, 0.32 * s, -0.38 * s, 0.05 * s);
  cairo_curve_to(cr, -0.40 * s, -0.20 * s, -0.36 * s, -0.36 * s, -0.34 * s, -0.50 * s);
  cairo_line_to(cr, -0.20 * s, -0.40 * s);
  cairo_close_path(cr);
  set_colour(cr, c.body);
  cairo_fill(cr);
  // Chest feathers: rows of small arcs.
  set_colour(cr, c.face, 0.55);
  cairo_set_line_width(cr, 0.025 * s);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int row = 0; row < 3; ++row) {
    const double y = 0.12 * s + row * 0.09 * s;
    const int n = 3 - (row == 2 ? 1 : 0);
    for (int i = 0; i < n; ++i) {
      const double x = (i - (n - 1) / 2.0) * 0.12 * s;
      cairo_new_path(cr);
      cairo_arc_negative(cr, x, y - 0.02 * s, 0.045 * s, M_PI * 0.85, M_PI * 0.15);
      cairo_stroke(cr);
    }
  }
  // Facial disc: two overlapping rounds around the eyes.
  set_colour(cr, c.face);
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_arc(cr, side * 0.15 * s, -0.17 * s, 0.17 * s, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  for (int side = -1; side <= 1; side += 2) {
    set_colour(cr, c.eye);
    cairo_new_path(cr);
    cairo_arc(cr, side * 0.15 * s, -0.17 * s, 0.115 * s, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, c.pupil);
    cairo_new_path(cr);
    cairo_arc(cr, side * 0.15 * s, -0.165 * s, 0.062 * s, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, c.eye, 0.9);
    cairo_new_path(cr);
    cairo_arc(cr, side * 0.15 * s - 0.022 * s, -0.19 * s, 0.02 * s, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  // Beak.
  set_colour(cr, c.beak);
  cairo_new_path(cr);
  cairo_move_to(cr, -0.045 * s, -0.07 * s);
  cairo_line_to(cr, 0.045 * s, -0.07 * s);
  cairo_line_to(cr, 0, 0.03 * s);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
}

void draw_moth(cairo_t* cr, double cx, double cy, double span, double angle, Rgb wing,
               Rgb mark, double alpha) {
  const double s = span / 2;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  for (int side = -1; side <= 1; side += 2) {
    // Forewing: a broad leaf swept up and out.
    cairo_new_path(cr);
    cairo_move_to(cr, 0.04 * s * side, -0.10 * s);
    cairo_curve_to(cr, 0.35 * s * side, -0.62 * s, 0.85 * s * side, -0.70 * s, 1.0 * s * side,
                   -0.42 * s);
    cairo_curve_to(cr, 0.98 * s * side, -0.12 * s, 0.55 * s * side, 0.06 * s, 0.05 * s * side,
                   0.04 * s);
    cairo_close_path(cr);
    set_colour(cr, wing, alpha);
    cairo_fill(cr);
    // Hindwing: smaller and rounder, below.
    cairo_new_path(cr);
    cairo_move_to(cr, 0.04 * s * side, 0.02 * s);
    cairo_curve_to(cr, 0.55 * s * side, 0.02 * s, 0.78 * s * side, 0.30 * s, 0.60 * s * side,
                   0.52 * s);
    cairo_curve_to(cr, 0.42 * s * side, 0.70 * s, 0.12 * s * side, 0.45 * s, 0.03 * s * side,
                   0.22 * s);
    cairo_close_path(cr);
    set_colour(cr, mix(wing, mark, 0.25), alpha);
    cairo_fill(cr);
    // Eye spot on the forewing.
    cairo_new_path(cr);
    cairo_arc(cr, 0.58 * s * side, -0.36 * s, 0.11 * s, 0, 2 * M_PI);
    set_colour(cr, mark, alpha);
    cairo_fill(cr);
    // Feathery antennae.
    cairo_new_path(cr);
    cairo_move_to(cr, 0.02 * s * side, -0.30 * s);
    cairo_curve_to(cr, 0.08 * s * side, -0.55 * s, 0.20 * s * side, -0.70 * s, 0.30 * s * side,
                   -0.74 * s);
    cairo_set_line_width(cr, std::max(1.0, 0.035 * s));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    set_colour(cr, wing, alpha);
    cairo_stroke(cr);
  }
  // Body.
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_scale(cr, 0.09 * s, 0.42 * s);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  set_colour(cr, mix(wing, Rgb{0, 0, 0}, 0.35), alpha);
  cairo_fill(cr);
  cairo_restore(cr);
}

void draw_glow(cairo_t* cr, double cx, double cy, double radius, Rgb colour, double alpha) {
  cairo_save(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(p, 0, colour.r, colour.g, colour.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.35, colour.r, colour.g, colour.b, alpha * 0.45);
  cairo_pattern_add_color_stop_rgba(p, 0.7, colour.r, colour.g, colour.b, alpha * 0.12);
  cairo_pattern_add_color_stop_rgba(p, 1, colour.r, colour.g, colour.b, 0);
  cairo_set_source(cr, p);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void draw_lantern(cairo_t* cr, double cx, double cy, double size, Rgb paper, Rgb rim,
                  double string_to) {
  const double w = size, h = size * 0.82;
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  if (string_to < cy) {
    set_colour(cr, rim, 0.8);
    cairo_set_line_width(cr, std::max(1.0, size * 0.025));
    cairo_new_path(cr);
    cairo_move_to(cr, cx, string_to);
    cairo_line_to(cr, cx, cy - h / 2 - size * 0.08);
    cairo_stroke(cr);
  }
  // Paper body with a warm inner light.
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - w * 0.08, cy - h * 0.05, 0, cx, cy, w * 0.55);
  const Rgb hot = mix(paper, Rgb{1, 0.97, 0.85}, 0.65);
  cairo_pattern_add_color_stop_rgb(p, 0, hot.r, hot.g, hot.b);
  cairo_pattern_add_color_stop_rgb(p, 1, paper.r, paper.g, paper.b);
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, w / 2, h / 2);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Ribs: narrower ellipses inside the body, so they follow its roundness.
  set_colour(cr, rim, 0.45);
  cairo_set_line_width(cr, std::max(0.8, size * 0.018));
  for (double k : {0.34, 0.68}) {
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, k * w / 2, h / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - h / 2);
  cairo_line_to(cr, cx, cy + h / 2);
  cairo_stroke(cr);
  // Caps top and bottom.
  set_colour(cr, rim);
  rounded_rect(cr, cx - w * 0.22, cy - h / 2 - size * 0.09, w * 0.44, size * 0.12, size * 0.03);
  cairo_fill(cr);
  rounded_rect(cr, cx - w * 0.18, cy + h / 2 - size * 0.03, w * 0.36, size * 0.10, size * 0.03);
  cairo_fill(cr);
  // Tassel.
  cairo_set_line_width(cr, std::max(1.0, size * 0.03));
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy + h / 2 + size * 0.06);
  cairo_line_to(cr, cx, cy + h / 2 + size * 0.22);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void draw_crescent(cairo_t* cr, double cx, double cy, double r, double bite, double angle,
                   Rgb colour, double alpha) {
  cairo_save(cr);
  cairo_push_group(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  set_colour(cr, colour);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  cairo_new_path(cr);
  cairo_arc(cr, cx + std::cos(angle) * bite * r, cy + std::sin(angle) * bite * r, r * 0.92, 0,
            2 * M_PI);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_fill(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

void draw_twinkle(cairo_t* cr, double cx, double cy, double r, Rgb colour, double alpha) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - r);
  const double k = r * 0.16;
  cairo_curve_to(cr, cx + k, cy - k, cx + k, cy - k, cx + r, cy);
  cairo_curve_to(cr, cx + k, cy + k, cx + k, cy + k, cx, cy + r);
  cairo_curve_to(cr, cx - k, cy + k, cx - k, cy + k, cx - r, cy);
  cairo_curve_to(cr, cx - k, cy - k, cx - k, cy - k, cx, cy - r);
  cairo_close_path(cr);
  set_colour(cr, colour, alpha);
  cairo_fill(cr);
}

void scatter_stars(cairo_t* cr, Rng* rng, double x, double y, double w, double h, int count,
                   Rgb colour, double max_alpha) {
  for (int i = 0; i < count; ++i) {
    const double sx = x + rng->uniform() * w;
    const double sy = y + rng->uniform() * h;
    const double t = rng->uniform();
    const double a = max_alpha * (0.25 + 0.75 * rng->uniform());
    if (t > 0.97) {
      draw_twinkle(cr, sx, sy, 5 + 7 * rng->uniform(), colour, a);
    } else {
      cairo_new_path(cr);
      cairo_arc(cr, sx, sy, 0.6 + 1.3 * t * t, 0, 2 * M_PI);
      set_colour(cr, colour, a);
      cairo_fill(cr);
    }
  }
}
