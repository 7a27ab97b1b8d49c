// The contact sheet: every generated picture small on one page, for review.
// Cards are shown at 110 pixels, their size on a 1280x720 screen.
#include <algorithm>
#include <cstring>

#include "tools/contentgen/canvas.h"
#include "tools/contentgen/content.h"
#include "tools/contentgen/palette.h"

namespace {

constexpr int kSheetW = 2010;
constexpr int kMargin = 20;
constexpr int kLabel = 18;

// A premultiplied Cairo surface of a picture; colour-keyed pictures show
// their black as clear, the way the game draws them.
cairo_surface_t* to_surface(const Picture& p) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < p.height; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* c = p.at(x, y);
      uint32_t a = c[3];
      if (!p.alpha) a = (c[0] == 0 && c[1] == 0 && c[2] == 0) ? 0 : 255;
      const uint32_t r = c[0] * a / 255, g = c[1] * a / 255, b = c[2] * a / 255;
      row[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

struct Placed {
  const GeneratedFile* file;
  int w, h;
  int cell;  // width taken in the row: the picture or its label, if wider
};

void draw_item(cairo_t* cr, const Placed& item, double x, double y) {
  const Picture small = picture_resize(item.file->picture, item.w, item.h);
  cairo_surface_t* s = to_surface(small);
  x += (item.cell - item.w) / 2.0;
  // Shadows are black on clear: show them on a light checker so their
  // softness can be judged.
  if (item.file->name.find("shadow") != std::string::npos) {
    for (int cy = 0; cy < item.h; cy += 8) {
      for (int cx = 0; cx < item.w; cx += 8) {
        set_colour(cr, ((cx + cy) / 8) % 2 ? hex(0xd8d4e4) : hex(0xf2f0f6));
        cairo_rectangle(cr, x + cx, y + cy, std::min(8, item.w - cx), std::min(8, item.h - cy));
        cairo_fill(cr);
      }
    }
  }
  cairo_set_source_surface(cr, s, x, y);
  cairo_paint(cr);
  cairo_surface_destroy(s);
  TextStyle style{"Lato", 400, 12, 0, false};
  cairo_new_path(cr);
  text_path_centred(cr, item.file->name, style, x + item.w / 2.0, y + item.h + kLabel / 2.0);
  set_colour(cr, palette::kCream, 0.85);
  cairo_fill(cr);
}

}  // namespace

Picture contact_sheet(const std::vector<GeneratedFile>& files) {
  // Lay the pictures out in rows: large pictures at 320x180, cards at 110,
  // the rest at a size that keeps small pictures readable.
  std::vector<std::vector<Placed>> rows(1);
  int row_w = kMargin;
  int kind_of_row = -1;
  for (const GeneratedFile& f : files) {
    const Picture& p = f.picture;
    int kind, w, h;
    if (p.width >= 1000) {
      kind = 0, w = 320, h = 180;
    } else if (p.width == 256 && p.height == 256) {
      kind = 1, w = 110, h = 110;
    } else {
      kind = 2;
      const double scale = p.width > 400 ? 0.5 : (p.width <= 64 ? 2.0 : 1.0);
      w = static_cast<int>(p.width * scale);
      h = static_cast<int>(p.height * scale);
    }
    TextStyle label{"Lato", 400, 12, 0, false};
    double tw, th;
    text_size(f.name, label, &tw, &th);
    const int cell = std::max(w, static_cast<int>(tw) + 8);
    const bool starts_set = f.name.size() > 2 && f.name.compare(1, 6, "-back.") == 0;
    if (!rows.back().empty() &&
        (kind != kind_of_row || row_w + cell + kMargin > kSheetW || starts_set)) {
      rows.emplace_back();
      row_w = kMargin;
    }
    kind_of_row = kind;
    rows.back().push_back({&f, w, h, cell});
    row_w += cell + 12;
  }
  int height = kMargin;
  for (const auto& row : rows) {
    int tallest = 0;
    for (const Placed& p : row) tallest = std::max(tallest, p.h);
    height += tallest + kLabel + 14;
  }
  Canvas canvas(kSheetW, height + kMargin);
  cairo_t* cr = canvas.cr();
  set_colour(cr, hex(0x2a2444));
  cairo_paint(cr);
  int y = kMargin;
  for (const auto& row : rows) {
    int tallest = 0;
    for (const Placed& p : row) tallest = std::max(tallest, p.h);
    int x = kMargin;
    for (const Placed& p : row) {
      draw_item(cr, p, x, y + (tallest - p.h) / 2.0);
      x += p.cell + 12;
    }
    y += tallest + kLabel + 14;
  }
  return canvas.picture(false);
}
