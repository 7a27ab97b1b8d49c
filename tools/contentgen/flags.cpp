// Small national flags for the shipped languages, one ".flag" PNG each, kept
// far below the 16,000 bytes the game reads of a flag.
#include <cmath>
#include <functional>
#include <utility>

#include "tools/contentgen/canvas.h"
#include "tools/contentgen/content.h"

namespace {

constexpr int kW = 60;
constexpr int kH = 40;

void fill_rect(cairo_t* cr, double x, double y, double w, double h, uint32_t colour) {
  cairo_rectangle(cr, x, y, w, h);
  set_colour(cr, hex(colour));
  cairo_fill(cr);
}

void stripes_h(cairo_t* cr, const std::vector<uint32_t>& colours,
               const std::vector<double>& weights) {
  double total = 0;
  for (double w : weights) total += w;
  double y = 0;
  for (size_t i = 0; i < colours.size(); ++i) {
    const double h = kH * weights[i] / total;
    fill_rect(cr, 0, y, kW, h + 0.5, colours[i]);
    y += h;
  }
}

void stripes_v(cairo_t* cr, const std::vector<uint32_t>& colours) {
  const double w = static_cast<double>(kW) / colours.size();
  for (size_t i = 0; i < colours.size(); ++i) fill_rect(cr, i * w, 0, w + 0.5, kH, colours[i]);
}

void union_flag(cairo_t* cr) {
  fill_rect(cr, 0, 0, kW, kH, 0x012169);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  // The two diagonals, white and wide, then red and narrow over them.
  for (const auto& [colour, width] : {std::pair{0xffffff, 8.0}, std::pair{0xc8102e, 2.6}}) {
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, kW, kH);
    cairo_move_to(cr, kW, 0);
    cairo_line_to(cr, 0, kH);
    set_colour(cr, hex(colour));
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
  }
  fill_rect(cr, kW / 2.0 - 6.5, 0, 13, kH, 0xffffff);
  fill_rect(cr, 0, kH / 2.0 - 6.5, kW, 13, 0xffffff);
  fill_rect(cr, kW / 2.0 - 4, 0, 8, kH, 0xc8102e);
  fill_rect(cr, 0, kH / 2.0 - 4, kW, 8, 0xc8102e);
}

void stars_and_stripes(cairo_t* cr) {
  for (int i = 0; i < 13; ++i) {
    fill_rect(cr, 0, i * kH / 13.0, kW, kH / 13.0 + 0.5, i % 2 == 0 ? 0xb22234 : 0xffffff);
  }
  const double cw = kW * 0.4, ch = kH * 7 / 13.0;
  fill_rect(cr, 0, 0, cw, ch, 0x3c3b6e);
  set_colour(cr, hex(0xffffff));
  for (int row = 0; row < 5; ++row) {
    for (int col = 0; col < 6 - row % 2; ++col) {
      const double x = (col + 0.5 + (row % 2) * 0.5) * cw / 6;
      const double y = (row + 0.5) * ch / 5;
      cairo_new_path(cr);
      cairo_arc(cr, x, y, 0.9, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
}

void brazil(cairo_t* cr) {
  fill_rect(cr, 0, 0, kW, kH, 0x009c3b);
  cairo_move_to(cr, kW / 2.0, 4);
  cairo_line_to(cr, kW - 5, kH / 2.0);
  cairo_line_to(cr, kW / 2.0, kH - 4);
  cairo_line_to(cr, 5, kH / 2.0);
  cairo_close_path(cr);
  set_colour(cr, hex(0xffdf00));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_arc(cr, kW / 2.0, kH / 2.0, 9, 0, 2 * M_PI);
  set_colour(cr, hex(0x002776));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_arc(cr, kW / 2.0 - 4, kH / 2.0 + 14, 17, -M_PI * 0.78, -M_PI * 0.2);
  set_colour(cr, hex(0xffffff));
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
}

void sweden(cairo_t* cr) {
  fill_rect(cr, 0, 0, kW, kH, 0x006aa7);
  fill_rect(cr, 18, 0, 7, kH, 0xfecc00);
  fill_rect(cr, 0, kH / 2.0 - 3.5, kW, 7, 0xfecc00);
}

void japan(cairo_t* cr) {
  fill_rect(cr, 0, 0, kW, kH, 0xffffff);
  cairo_new_path(cr);
  cairo_arc(cr, kW / 2.0, kH / 2.0, 12, 0, 2 * M_PI);
  set_colour(cr, hex(0xbc002d));
  cairo_fill(cr);
}

struct FlagDraw {
  const char* code;
  std::function<void(cairo_t*)> draw;
};

Picture flag_picture(const std::function<void(cairo_t*)>& draw) {
  Canvas canvas(kW, kH);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  rounded_rect(cr, 0, 0, kW, kH, 4);
  cairo_clip(cr);
  draw(cr);
  cairo_restore(cr);
  // A faint rim so white flags keep their outline on a light panel.
  rounded_rect(cr, 0.5, 0.5, kW - 1, kH - 1, 3.5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  return canvas.picture(true);
}

}  // namespace

std::vector<GeneratedFile> make_flags() {
  const std::vector<FlagDraw> flags = {
      {"en_GB", union_flag},
      {"en_US", stars_and_stripes},
      {"de_DE", [](cairo_t* cr) { stripes_h(cr, {0x000000, 0xdd0000, 0xffce00}, {1, 1, 1}); }},
      {"fr_FR", [](cairo_t* cr) { stripes_v(cr, {0x0055a4, 0xffffff, 0xef4135}); }},
      {"es_ES", [](cairo_t* cr) { stripes_h(cr, {0xaa151b, 0xf1bf00, 0xaa151b}, {1, 2, 1}); }},
      {"it_IT", [](cairo_t* cr) { stripes_v(cr, {0x009246, 0xffffff, 0xce2b37}); }},
      {"nl_NL", [](cairo_t* cr) { stripes_h(cr, {0xae1c28, 0xffffff, 0x21468b}, {1, 1, 1}); }},
      {"pt_BR", brazil},
      {"pl_PL", [](cairo_t* cr) { stripes_h(cr, {0xffffff, 0xdc143c}, {1, 1}); }},
      {"sv_SE", sweden},
      {"ja_JP", japan},
  };
  std::vector<GeneratedFile> out;
  for (const FlagDraw& f : flags) {
    out.push_back(finish_picture(std::string(f.code) + ".flag", flag_picture(f.draw)));
  }
  return out;
}
