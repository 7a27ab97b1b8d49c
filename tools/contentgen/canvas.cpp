// Cairo canvases, blurs, Pango text and the dithered sky layer.
#include "tools/contentgen/canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

Rgb hex(uint32_t rrggbb) {
  return {((rrggbb >> 16) & 0xff) / 255.0, ((rrggbb >> 8) & 0xff) / 255.0,
          (rrggbb & 0xff) / 255.0};
}

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void set_colour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

uint64_t Rng::next() {
  uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

double Rng::uniform() { return (next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

Picture Canvas::picture(bool alpha) const {
  cairo_surface_flush(surface_);
  Picture out;
  out.width = width_;
  out.height = height_;
  out.alpha = alpha;
  out.rgba.resize(static_cast<size_t>(width_) * height_ * 4);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      const uint32_t p = row[x];
      const unsigned a = p >> 24;
      uint8_t* d = out.at(x, y);
      unsigned c[3] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff};
      for (int i = 0; i < 3; ++i) {
        d[i] = a == 0 ? 0 : static_cast<uint8_t>(std::min(255u, (c[i] * 255 + a / 2) / a));
      }
      d[3] = static_cast<uint8_t>(alpha ? a : 255);
    }
  }
  return out;
}

Picture Canvas::keyed_picture(Rgb under) const {
  Picture out = picture(true);
  out.alpha = false;
  const double u[3] = {under.r * 255, under.g * 255, under.b * 255};
  for (size_t i = 0; i < out.rgba.size(); i += 4) {
    uint8_t* d = &out.rgba[i];
    const double a = d[3] / 255.0;
    if (d[3] < 128) {
      d[0] = d[1] = d[2] = 0;
    } else {
      for (int c = 0; c < 3; ++c) {
        d[c] = static_cast<uint8_t>(std::lround(d[c] * a + u[c] * (1 - a)));
      }
      if (d[0] == 0 && d[1] == 0 && d[2] == 0) d[2] = 1;
    }
    d[3] = 255;
  }
  return out;
}

namespace {

// One box pass along rows (or columns, through the strides) of one channel.
void box_pass(std::vector<float>* channel, int length, int count, int step, int line_step,
              int radius) {
  std::vector<float> line(length);
  const float scale = 1.0f / (2 * radius + 1);
  for (int l = 0; l < count; ++l) {
    float* base = channel->data() + static_cast<size_t>(l) * line_step;
    for (int i = 0; i < length; ++i) line[i] = base[static_cast<size_t>(i) * step];
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += line[std::clamp(i, 0, length - 1)];
    for (int i = 0; i < length; ++i) {
      base[static_cast<size_t>(i) * step] = sum * scale;
      sum += line[std::min(i + radius + 1, length - 1)] - line[std::max(i - radius, 0)];
    }
  }
}

}  // namespace

void blur_surface(cairo_surface_t* surface, int radius) {
  if (radius <= 0) return;
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  for (int shift = 0; shift < 32; shift += 8) {
    std::vector<float> channel(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
      const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
      for (int x = 0; x < w; ++x) channel[static_cast<size_t>(y) * w + x] = (row[x] >> shift) & 0xff;
    }
    for (int pass = 0; pass < 3; ++pass) {
      box_pass(&channel, w, h, 1, w, radius);
      box_pass(&channel, h, w, w, 1, radius);
    }
    for (int y = 0; y < h; ++y) {
      uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
      for (int x = 0; x < w; ++x) {
        const uint32_t v = static_cast<uint32_t>(
            std::clamp(std::lround(channel[static_cast<size_t>(y) * w + x]), 0L, 255L));
        row[x] = (row[x] & ~(0xffu << shift)) | (v << shift);
      }
    }
  }
  // Rounding per channel can leave a colour above its alpha; keep the
  // premultiplied invariant.
  for (int y = 0; y < h; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const uint32_t a = row[x] >> 24;
      uint32_t p = row[x] & 0xff000000u;
      for (int s = 0; s < 24; s += 8) p |= std::min((row[x] >> s) & 0xff, a) << s;
      row[x] = p;
    }
  }
  cairo_surface_mark_dirty(surface);
}

void draw_soft_shape(cairo_t* cr, cairo_surface_t* shape, double x, double y, int radius,
                     Rgb colour, double alpha) {
  // Blur only the part of the shape that has ink: text glows on splash
  // pictures would otherwise blur a whole screen of nothing.
  cairo_surface_flush(shape);
  const int sw = cairo_image_surface_get_width(shape);
  const int sh = cairo_image_surface_get_height(shape);
  const int stride = cairo_image_surface_get_stride(shape);
  const unsigned char* data = cairo_image_surface_get_data(shape);
  int left = sw, top = sh, right = -1, bottom = -1;
  for (int yy = 0; yy < sh; ++yy) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(yy) * stride);
    for (int xx = 0; xx < sw; ++xx) {
      if ((row[xx] >> 24) == 0) continue;
      left = std::min(left, xx);
      right = std::max(right, xx);
      top = std::min(top, yy);
      bottom = std::max(bottom, yy);
    }
  }
  if (right < 0) return;
  const int pad = radius * 3;
  const int w = right - left + 1 + 2 * pad;
  const int h = bottom - top + 1 + 2 * pad;
  cairo_surface_t* soft = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* sc = cairo_create(soft);
  cairo_set_source_surface(sc, shape, pad - left, pad - top);
  cairo_paint(sc);
  cairo_destroy(sc);
  blur_surface(soft, radius);
  cairo_save(cr);
  set_colour(cr, colour, alpha);
  cairo_mask_surface(cr, soft, x + left - pad, y + top - pad);
  cairo_restore(cr);
  cairo_surface_destroy(soft);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

namespace {

// A layout with fixed font options, so the result does not follow any
// desktop setting of the machine that builds.
PangoLayout* make_layout(cairo_t* cr, const std::string& text, const std::string& family,
                         int weight, bool italic, double size_px, double spacing_px) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout);
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, family.c_str());
  pango_font_description_set_weight(desc, static_cast<PangoWeight>(weight));
  pango_font_description_set_style(desc, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(desc, size_px * PANGO_SCALE);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  if (spacing_px != 0) {
    PangoAttrList* attrs = pango_attr_list_new();
    pango_attr_list_insert(attrs, pango_attr_letter_spacing_new(static_cast<int>(spacing_px * PANGO_SCALE)));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
  }
  pango_layout_set_text(layout, text.c_str(), -1);
  return layout;
}

PangoLayout* make_layout(cairo_t* cr, const std::string& text, const TextStyle& style) {
  return make_layout(cr, text, style.family, style.weight, style.italic, style.size_px,
                     style.letter_spacing_px);
}

}  // namespace

bool fonts_available(std::string* missing) {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  bool ok = true;
  for (const char* family : {"Lato", "Noto Color Emoji"}) {
    PangoFontDescription* desc = pango_font_description_from_string(family);
    pango_font_description_set_absolute_size(desc, 20 * PANGO_SCALE);
    PangoFont* font = pango_font_map_load_font(map, context, desc);
    std::string got;
    if (font != nullptr) {
      PangoFontDescription* real = pango_font_describe(font);
      const char* name = pango_font_description_get_family(real);
      got = name != nullptr ? name : "";
      pango_font_description_free(real);
      g_object_unref(font);
    }
    pango_font_description_free(desc);
    if (got != family) {
      *missing = family;
      ok = false;
      break;
    }
  }
  g_object_unref(context);
  return ok;
}

void text_size(const std::string& text, const TextStyle& style, double* w, double* h) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(s);
  PangoLayout* layout = make_layout(cr, text, style);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  *w = static_cast<double>(logical.width) / PANGO_SCALE;
  *h = static_cast<double>(logical.height) / PANGO_SCALE;
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
}

void text_path_centred(cairo_t* cr, const std::string& text, const TextStyle& style, double cx,
                       double cy) {
  PangoLayout* layout = make_layout(cr, text, style);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  cairo_move_to(cr, cx - (logical.x + logical.width / 2.0) / PANGO_SCALE,
                cy - (logical.y + logical.height / 2.0) / PANGO_SCALE);
  pango_cairo_layout_path(cr, layout);
  g_object_unref(layout);
}

void draw_emoji_centred(cairo_t* cr, const std::string& text, double size_px, double cx,
                        double cy) {
  PangoLayout* layout = make_layout(cr, text, "Noto Color Emoji", 400, false, size_px, 0);
  PangoRectangle ink;
  pango_layout_get_extents(layout, &ink, nullptr);
  // Centre on the ink, not the line box: emoji line boxes carry the font's
  // ascent and descent, which would push every motif off centre.
  cairo_move_to(cr, cx - (ink.x + ink.width / 2.0) / PANGO_SCALE,
                cy - (ink.y + ink.height / 2.0) / PANGO_SCALE);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
}

Sky::Sky(int width, int height)
    : width_(width), height_(height), rgb_(static_cast<size_t>(width) * height * 3, 0.0f) {}

void Sky::vertical(const std::vector<Rgb>& stops) {
  for (int y = 0; y < height_; ++y) {
    const double t = static_cast<double>(y) / (height_ - 1) * (stops.size() - 1);
    const size_t i = std::min(static_cast<size_t>(t), stops.size() - 2);
    const double f = t - i;
    // Smoothstep between stops avoids visible kinks at each stop.
    const Rgb c = mix(stops[i], stops[i + 1], f * f * (3 - 2 * f));
    for (int x = 0; x < width_; ++x) {
      float* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
      p[0] = static_cast<float>(c.r);
      p[1] = static_cast<float>(c.g);
      p[2] = static_cast<float>(c.b);
    }
  }
}

void Sky::glow(double cx, double cy, double radius, Rgb colour, double strength) {
  const double limit = radius * 3.2;
  const int x0 = std::max(0, static_cast<int>(cx - limit)), x1 = std::min(width_, static_cast<int>(cx + limit));
  const int y0 = std::max(0, static_cast<int>(cy - limit)), y1 = std::min(height_, static_cast<int>(cy + limit));
  const double k = 1.0 / (2 * radius * radius);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      const double g = strength * std::exp(-d2 * k);
      float* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
      p[0] += static_cast<float>(colour.r * g);
      p[1] += static_cast<float>(colour.g * g);
      p[2] += static_cast<float>(colour.b * g);
    }
  }
}

void Sky::band(double y, double half_height, Rgb colour, double strength, double wave_amp,
               double wave_len, double phase) {
  for (int x = 0; x < width_; ++x) {
    const double centre = y + wave_amp * std::sin(x / wave_len * 2 * M_PI + phase) +
                          wave_amp * 0.4 * std::sin(x / (wave_len * 0.37) * 2 * M_PI + phase * 1.7);
    const int y0 = std::max(0, static_cast<int>(centre - half_height * 3));
    const int y1 = std::min(height_, static_cast<int>(centre + half_height * 3));
    for (int yy = y0; yy < y1; ++yy) {
      const double d = (yy - centre) / half_height;
      const double g = strength * std::exp(-d * d);
      float* p = &rgb_[(static_cast<size_t>(yy) * width_ + x) * 3];
      // Blend toward the band colour rather than adding, so bands can also
      // darken.
      p[0] += static_cast<float>((colour.r - p[0]) * g);
      p[1] += static_cast<float>((colour.g - p[1]) * g);
      p[2] += static_cast<float>((colour.b - p[2]) * g);
    }
  }
}

void Sky::paint(Canvas* canvas) const {
  // An ordered dither of one step: the thresholds of a 2 x 2 Bayer matrix,
  // so every level between two 8-bit values shows as one of four fixed fine
  // patterns. To the eye it is as smooth as random noise, but where the sky
  // is flat the pattern repeats every 2 pixels across and down; zlib finds
  // those repeats, so the picture packs to a third of a noise-dithered one
  // and inflates more than twice as fast when the game starts. (A 4 x 4
  // matrix looks no different and inflates about a fifth slower.)
  static constexpr int kBayer[2][2] = {{0, 2}, {3, 1}};
  cairo_surface_t* s = canvas->surface();
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < height_; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      const float* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
      const double threshold = (kBayer[y & 1][x & 1] + 0.5) / 4.0;
      uint32_t px = 0xff000000u;
      for (int c = 0; c < 3; ++c) {
        const long v = std::clamp(static_cast<long>(std::floor(p[c] * 255.0 + threshold)), 0L, 255L);
        px |= static_cast<uint32_t>(v) << (16 - 8 * c);
      }
      row[x] = px;
    }
  }
  cairo_surface_mark_dirty(s);
}
