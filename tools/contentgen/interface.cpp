// The pictures of the menus and the play screen: the lantern-amber menu
// panel and its shadow, the card shadow, the well-done banner and its shadow,
// the separator bar, the settings arrows and boxes, and the pointer.
#include <cmath>

#include "tools/contentgen/content.h"
#include "tools/contentgen/motifs.h"
#include "tools/contentgen/palette.h"

namespace {

// The panel must hold the settings and credits blocks (530 wide at 74 from
// its left edge), the buttons at 540 to 580 from its top, and fit a 720-pixel
// screen.
constexpr int kPanelW = 680;
constexpr int kPanelH = 640;
constexpr double kPanelRadius = 28;
// Everything between these bounds is covered by text sprites, whose
// background is the flat panel colour: no ornament may reach in there.
constexpr int kClearLeft = 66, kClearRight = 614, kClearTop = 136, kClearBottom = 584;

void panel_shape(cairo_t* cr) { rounded_rect(cr, 0, 0, kPanelW, kPanelH, kPanelRadius); }

Picture menu_panel() {
  Canvas canvas(kPanelW, kPanelH);
  cairo_t* cr = canvas.cr();
  panel_shape(cr);
  set_colour(cr, palette::kPanelDeep);
  cairo_fill(cr);
  rounded_rect(cr, 6, 6, kPanelW - 12, kPanelH - 12, kPanelRadius - 5);
  set_colour(cr, palette::kPanel);
  cairo_fill(cr);
  rounded_rect(cr, 16, 16, kPanelW - 32, kPanelH - 32, kPanelRadius - 12);
  set_colour(cr, palette::kPanelDeep);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_save(cr);
  // Keep every ornament out of the area the texts are drawn over.
  cairo_rectangle(cr, 0, 0, kPanelW, kPanelH);
  cairo_rectangle(cr, kClearLeft, kClearTop, kClearRight - kClearLeft, kClearBottom - kClearTop);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr);
  // Crest: an owl between two crescents and a spray of stars.
  const double cx = kPanelW / 2.0;
  draw_owl(cr, cx, 74, 96,
           {palette::kText, palette::kPanelLight, hex(0x6e2a1a), palette::kPanelLight,
            palette::kPanelLight});
  draw_crescent(cr, cx - 92, 74, 17, 0.45, 0, palette::kText, 0.9);
  draw_crescent(cr, cx + 92, 74, 17, 0.45, M_PI, palette::kText, 0.9);
  for (int side = -1; side <= 1; side += 2) {
    draw_twinkle(cr, cx + side * 140, 62, 9, palette::kText, 0.8);
    draw_twinkle(cr, cx + side * 180, 84, 6, palette::kText, 0.6);
    draw_twinkle(cr, cx + side * 215, 66, 4, palette::kText, 0.5);
    // A fine line trailing from the crest toward the corners.
    cairo_new_path(cr);
    cairo_move_to(cr, cx + side * 240, 78);
    cairo_line_to(cr, cx + side * 300, 78);
    set_colour(cr, palette::kPanelDeep);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
  // Foot: a row of small diamonds under the buttons.
  for (int i = -3; i <= 3; ++i) {
    const double x = cx + i * 26, y = 608;
    const double r = i == 0 ? 6 : 4;
    cairo_new_path(cr);
    cairo_move_to(cr, x, y - r);
    cairo_line_to(cr, x + r, y);
    cairo_line_to(cr, x, y + r);
    cairo_line_to(cr, x - r, y);
    cairo_close_path(cr);
    set_colour(cr, palette::kText, i == 0 ? 0.9 : 0.55);
    cairo_fill(cr);
  }
  // Corner flourishes: quarter rings tucked into each corner.
  for (int i = 0; i < 4; ++i) {
    const double x = i % 2 == 0 ? 16 : kPanelW - 16;
    const double y = i < 2 ? 16 : kPanelH - 16;
    // Only the quarter of the ring that lies inside the frame.
    const double start = (i == 0) ? 0 : (i == 1) ? M_PI / 2 : (i == 2) ? -M_PI / 2 : M_PI;
    cairo_new_path(cr);
    cairo_arc(cr, x, y, 26, start, start + M_PI / 2);
    set_colour(cr, palette::kPanelDeep, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    draw_twinkle(cr, x + (i % 2 == 0 ? 16 : -16), y + (i < 2 ? 16 : -16), 5, palette::kText, 0.7);
  }
  cairo_restore(cr);
  return canvas.picture(true);
}

// A soft black copy of a shape, the same size as the picture it lies under.
Picture soft_shadow(int w, int h, double inset, double radius, int blur) {
  Canvas shape(w, h);
  rounded_rect(shape.cr(), inset, inset, w - 2 * inset, h - 2 * inset, radius);
  cairo_set_source_rgba(shape.cr(), 0, 0, 0, 1);
  cairo_fill(shape.cr());
  blur_surface(shape.surface(), blur);
  return shape.picture(true);
}

constexpr int kWellW = 760;
constexpr int kWellH = 320;

void banner_shape(cairo_t* cr) { rounded_rect(cr, 4, 40, kWellW - 8, kWellH - 80, 36); }

Picture well_done() {
  Canvas canvas(kWellW, kWellH);
  cairo_t* cr = canvas.cr();
  banner_shape(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 40, 0, kWellH - 40);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.20, 0.16, 0.40);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.08, 0.22);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  set_colour(cr, palette::kAmber);
  cairo_set_line_width(cr, 6);
  cairo_stroke(cr);
  rounded_rect(cr, 18, 54, kWellW - 36, kWellH - 108, 26);
  set_colour(cr, palette::kAmber, 0.55);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_save(cr);
  banner_shape(cr);
  cairo_clip(cr);
  Rng rng(88);
  scatter_stars(cr, &rng, 20, 50, kWellW - 40, kWellH - 100, 60, palette::kStar, 0.6);
  cairo_restore(cr);
  // Lanterns hanging over the banner's top edge on either side.
  for (int side = -1; side <= 1; side += 2) {
    const double x = kWellW / 2.0 + side * 300;
    draw_glow(cr, x, 52, 70, palette::kLantern, 0.35);
    draw_lantern(cr, x, 50, 56, side < 0 ? palette::kLantern : hex(0xe0694a), hex(0x3a1d2c), 0);
  }
  draw_moth(cr, 120, 240, 46, -0.5, hex(0xe9dcf5), palette::kAmber, 0.9);
  draw_moth(cr, kWellW - 112, 236, 40, 0.45, hex(0xe9dcf5), palette::kAmber, 0.9);
  // The words, with a warm glow behind them.
  TextStyle style{"Lato", 900, 112, 2, false};
  Canvas shape(kWellW, kWellH);
  text_path_centred(shape.cr(), "Well done!", style, kWellW / 2.0, kWellH / 2.0 + 4);
  cairo_set_source_rgba(shape.cr(), 1, 1, 1, 1);
  cairo_fill(shape.cr());
  draw_soft_shape(cr, shape.surface(), 0, 0, 10, palette::kLantern, 0.45);
  cairo_new_path(cr);
  text_path_centred(cr, "Well done!", style, kWellW / 2.0, kWellH / 2.0 + 4);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 100, 0, 220);
  cairo_pattern_add_color_stop_rgb(fill, 0, 1.0, 0.86, 0.55);
  cairo_pattern_add_color_stop_rgb(fill, 1, palette::kAmber.r, palette::kAmber.g * 0.92,
                                   palette::kAmber.b * 0.8);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  return canvas.picture(true);
}

Picture well_done_shadow() {
  Canvas canvas(kWellW, kWellH);
  Canvas shape(kWellW, kWellH);
  banner_shape(shape.cr());
  cairo_set_source_rgba(shape.cr(), 0, 0, 0, 1);
  cairo_fill(shape.cr());
  draw_soft_shape(canvas.cr(), shape.surface(), 0, 0, 6, Rgb{0, 0, 0}, 1.0);
  return canvas.picture(true);
}

// The separator bar under screen titles: 4 pixels show between the title
// and the texts below, so it is a thin lens of ember fading into the panel.
// The game draws it opaque, colour key or not, on the flat panel: its
// rounded ends stand on panel colour, not on black.
Picture gradient_bar() {
  const int w = 520, h = 4;
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  set_colour(cr, palette::kPanel);
  cairo_paint(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  const Rgb a = palette::kPanelDeep, b = palette::kText;
  cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
  cairo_pattern_add_color_stop_rgb(p, 0.5, b.r, b.g, b.b);
  cairo_pattern_add_color_stop_rgb(p, 1, a.r, a.g, a.b);
  rounded_rect(cr, 0, 0, w, h, 2);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  return canvas.keyed_picture(palette::kPanel);
}

// The settings arrows: opaque panel-coloured tiles, so that the inactive
// one drawn over the active one hides it completely.
constexpr int kTile = 16;

Picture arrow(bool right, bool active) {
  Canvas canvas(kTile, kTile);
  cairo_t* cr = canvas.cr();
  set_colour(cr, palette::kPanel);
  cairo_paint(cr);
  cairo_new_path(cr);
  const double tip = right ? 13.5 : 2.5, back = right ? 3.5 : 12.5;
  cairo_move_to(cr, tip, 8);
  cairo_line_to(cr, back, 2);
  cairo_line_to(cr, back, 14);
  cairo_close_path(cr);
  const Rgb colour = active ? palette::kText : mix(palette::kPanel, palette::kText, 0.35);
  set_colour(cr, colour);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 2);
  cairo_fill_preserve(cr);
  cairo_stroke(cr);
  return canvas.keyed_picture(palette::kPanel);
}

// The music box: drawn opaque over the settings labels, so its rounded
// corners stand on the labels' panel colour, not on black.
Picture box(bool ticked) {
  Canvas canvas(kTile, kTile);
  cairo_t* cr = canvas.cr();
  set_colour(cr, palette::kPanel);
  cairo_paint(cr);
  rounded_rect(cr, 0, 0, kTile, kTile, 4);
  set_colour(cr, palette::kText);
  cairo_fill(cr);
  rounded_rect(cr, 2.5, 2.5, kTile - 5, kTile - 5, 2);
  set_colour(cr, palette::kPanelLight);
  cairo_fill(cr);
  if (ticked) {
    cairo_new_path(cr);
    cairo_move_to(cr, 4.2, 8.2);
    cairo_line_to(cr, 7.0, 11.2);
    cairo_line_to(cr, 12.0, 4.6);
    set_colour(cr, palette::kText);
    cairo_set_line_width(cr, 2.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  }
  return canvas.keyed_picture(palette::kPanel);
}

// The full-screen pointer: an amber arrow with a dark rim, its tip exactly
// at the top-left pixel, where the game places the pointer position.
Picture pointer() {
  Canvas canvas(32, 32);
  cairo_t* cr = canvas.cr();
  auto arrow_path = [cr](double dx, double dy) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0.8 + dx, 0.8 + dy);
    cairo_line_to(cr, 0.8 + dx, 24 + dy);
    cairo_line_to(cr, 6.6 + dx, 18.6 + dy);
    cairo_line_to(cr, 10.6 + dx, 27.6 + dy);
    cairo_line_to(cr, 14.4 + dx, 26 + dy);
    cairo_line_to(cr, 10.6 + dx, 17.2 + dy);
    cairo_line_to(cr, 18 + dx, 17.2 + dy);
    cairo_close_path(cr);
  };
  Canvas shade(32, 32);
  {
    cairo_t* sc = shade.cr();
    cairo_new_path(sc);
    cairo_move_to(sc, 2.8, 2.8);
    cairo_line_to(sc, 2.8, 26);
    cairo_line_to(sc, 8.6, 20.6);
    cairo_line_to(sc, 12.6, 29.6);
    cairo_line_to(sc, 16.4, 28);
    cairo_line_to(sc, 12.6, 19.2);
    cairo_line_to(sc, 20, 19.2);
    cairo_close_path(sc);
    cairo_set_source_rgba(sc, 0, 0, 0, 0.45);
    cairo_fill(sc);
    blur_surface(shade.surface(), 1);
  }
  cairo_set_source_surface(cr, shade.surface(), 0, 0);
  cairo_paint(cr);
  arrow_path(0, 0);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 12, 26);
  cairo_pattern_add_color_stop_rgb(p, 0, palette::kPanelLight.r, palette::kPanelLight.g,
                                   palette::kPanelLight.b);
  cairo_pattern_add_color_stop_rgb(p, 1, palette::kAmber.r, palette::kAmber.g, palette::kAmber.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  set_colour(cr, hex(0x1c1430));
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
  return canvas.picture(true);
}

}  // namespace

std::vector<GeneratedFile> make_interface_pictures() {
  std::vector<GeneratedFile> out;
  out.push_back(finish_picture("shadow.png", soft_shadow(256, 256, 4, 26, 4)));
  out.push_back(finish_picture("menu.png", menu_panel()));
  out.push_back(finish_picture("menushadow.png", soft_shadow(kPanelW, kPanelH, 2, kPanelRadius, 4)));
  out.push_back(finish_picture("well done shadow.png", well_done_shadow()));
  out.push_back(finish_picture("well done.png", well_done()));
  out.push_back(finish_picture("gradient.png", gradient_bar()));
  out.push_back(finish_picture("pointer.png", pointer()));
  out.push_back(finish_picture("left.png", arrow(false, true)));
  out.push_back(finish_picture("left off.png", arrow(false, false)));
  out.push_back(finish_picture("right.png", arrow(true, true)));
  out.push_back(finish_picture("right off.png", arrow(true, false)));
  out.push_back(finish_picture("box.png", box(false)));
  out.push_back(finish_picture("boxx.png", box(true)));
  return out;
}
