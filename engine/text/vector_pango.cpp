// The vector drawing pass on Cairo: text laid out by Pango and drawn into an
// image of the image table, measured the same way, and wrapped paragraphs.
#include "engine/text/text.h"
#include "engine/text/text_pango.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/image/image.h"

namespace {

// Cairo works in 24.8 fixed point; pen positions beyond this would wrap.
constexpr double kPenLimit = 1e6;

// The one pass of the game thread (passes are never nested).
struct VectorPass {
  bool active = false;
  int image = 0;
  ImageBuffer* buffer = nullptr;  // to check at the end that it is still that image
  int width = 0;
  int height = 0;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  ContextPtr context;
  PangoFontDescription* font = nullptr;  // a copy: the font may be freed during the pass
  int font_flags = 0;
  double red = 0, green = 0, blue = 0, alpha = 1;
  double x = 0, y = 0;
};

VectorPass g_pass;

// What Cairo draws on: the image as premultiplied 0xAARRGGBB words (the
// image itself keeps straight alpha). Kept from pass to pass, so the text
// pass does not allocate and fault in a fresh buffer for every caption.
std::vector<uint32_t> g_pixels;

uint32_t premultiply(const uint8_t* bgra, bool opaque) {
  uint32_t a = opaque ? 255 : bgra[3];
  if (a == 255) return 0xFF000000u | (uint32_t{bgra[2]} << 16) | (uint32_t{bgra[1]} << 8) | bgra[0];
  if (a == 0) return 0;
  auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (mul(bgra[2]) << 16) | (mul(bgra[1]) << 8) | mul(bgra[0]);
}

void unpremultiply(uint32_t argb, uint8_t* bgra, bool opaque) {
  uint32_t a = argb >> 24;
  if (a == 0) {
    bgra[0] = bgra[1] = bgra[2] = 0;
    bgra[3] = opaque ? 255 : 0;
    return;
  }
  auto div = [a](uint32_t c) { return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
  bgra[0] = div(argb & 0xFF);
  bgra[1] = div((argb >> 8) & 0xFF);
  bgra[2] = div((argb >> 16) & 0xFF);
  bgra[3] = opaque ? 255 : static_cast<uint8_t>(a);
}

void release_pass() {
  if (g_pass.cr) cairo_destroy(g_pass.cr);
  if (g_pass.surface) cairo_surface_destroy(g_pass.surface);
  if (g_pass.font) pango_font_description_free(g_pass.font);
  g_pass = VectorPass();
}

// The current font's layout of a text, or null when nothing can be laid out.
LayoutPtr pass_layout(const std::string& text) {
  if (!g_pass.active || !g_pass.font || text.empty() || text[0] == '\0') return LayoutPtr();
  return text_new_layout(g_pass.context.get(), g_pass.font, g_pass.font_flags, text);
}

PangoRectangle logical_extents(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return logical;
}

void show_at_pen(PangoLayout* layout) {
  cairo_set_source_rgba(g_pass.cr, g_pass.red, g_pass.green, g_pass.blue, g_pass.alpha);
  cairo_move_to(g_pass.cr, g_pass.x, g_pass.y);
  pango_cairo_show_layout(g_pass.cr, layout);
}

double clamp_pen(double v) { return std::max(-kPenLimit, std::min(kPenLimit, v)); }

}  // namespace

VectorTarget image_vector_target(int image, int unit) {
  VectorTarget target;
  if (unit != kVectorUnitPixel || !image_exists(image)) return target;
  target.image = image;
  target.valid = true;
  return target;
}

int vector_start(const VectorTarget& target) {
  if (g_pass.active || !target) return 0;
  ImageBuffer* buffer = image_handle(target.image);
  if (!buffer || buffer->width <= 0 || buffer->height <= 0) return 0;
  size_t count = static_cast<size_t>(buffer->width) * static_cast<size_t>(buffer->height);
  if (buffer->pixels.size() < count * 4) return 0;
  if (cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, buffer->width) != buffer->width * 4) return 0;

  g_pass.image = target.image;
  g_pass.buffer = buffer;
  g_pass.width = buffer->width;
  g_pass.height = buffer->height;
  bool opaque = buffer->depth == 24;
  g_pixels.resize(count);
  for (size_t i = 0; i < count; ++i) g_pixels[i] = premultiply(&buffer->pixels[i * 4], opaque);

  g_pass.surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(g_pixels.data()),
                                                       CAIRO_FORMAT_ARGB32, buffer->width, buffer->height,
                                                       buffer->width * 4);
  if (cairo_surface_status(g_pass.surface) != CAIRO_STATUS_SUCCESS) {
    release_pass();
    return 0;
  }
  g_pass.cr = cairo_create(g_pass.surface);
  g_pass.context = text_new_context();
  if (cairo_status(g_pass.cr) != CAIRO_STATUS_SUCCESS || !g_pass.context) {
    release_pass();
    return 0;
  }
  // No half-pixel shift here. The game's coordinates put pixel edges on
  // whole numbers: (0, 0) is the top-left corner of the first pixel, the
  // pen at (0, 0) puts the text's top-left there, and a box 80 high ends at
  // the bottom edge of pixel row 79. That is Cairo's own convention, and it
  // keeps grid-fitted glyph stems on whole pixels instead of smearing each
  // over two.
  cairo_set_antialias(g_pass.cr, CAIRO_ANTIALIAS_GOOD);
  pango_cairo_update_context(g_pass.cr, g_pass.context.get());
  g_pass.active = true;
  return 1;
}

void vector_font(const TextFont* font) {
  if (!g_pass.active) return;
  if (g_pass.font) pango_font_description_free(g_pass.font);
  g_pass.font = font && font->desc ? pango_font_description_copy(font->desc) : nullptr;
  g_pass.font_flags = font ? font->flags : 0;
}

void vector_color(uint32_t rgba) {
  if (!g_pass.active) return;
  g_pass.red = (rgba & 0xFF) / 255.0;
  g_pass.green = ((rgba >> 8) & 0xFF) / 255.0;
  g_pass.blue = ((rgba >> 16) & 0xFF) / 255.0;
  g_pass.alpha = ((rgba >> 24) & 0xFF) / 255.0;
}

void vector_move_to(double x, double y) {
  if (!g_pass.active || !std::isfinite(x) || !std::isfinite(y)) return;
  g_pass.x = clamp_pen(x);
  g_pass.y = clamp_pen(y);
}

double vector_pen_x() { return g_pass.x; }
double vector_pen_y() { return g_pass.y; }

void vector_draw_text(const std::string& text) {
  LayoutPtr layout = pass_layout(text);
  if (!layout) return;
  show_at_pen(layout.get());
  g_pass.x = clamp_pen(g_pass.x + static_cast<double>(logical_extents(layout.get()).width) / PANGO_SCALE);
}

double vector_text_width(const std::string& text) {
  LayoutPtr layout = pass_layout(text);
  if (!layout) return 0;
  // The logical extent of an unwrapped line runs from the pen to the end of
  // the last advance, trailing blanks included.
  return static_cast<double>(logical_extents(layout.get()).width) / PANGO_SCALE;
}

void vector_draw_paragraph(const std::string& text, double box_width, double box_height, int flags) {
  if (!std::isfinite(box_width) || !std::isfinite(box_height)) return;
  LayoutPtr layout = pass_layout(text);
  if (!layout) return;
  bool wrap = box_width > 0;
  bool cut = box_height > 0;
  if (wrap) {
    pango_layout_set_width(layout.get(), pango_units_from_double(std::min(box_width, kPenLimit)));
    // A word wider than the whole box is broken inside, rather than
    // running out of the box.
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }
  PangoAlignment align = (flags & kParagraphRight)    ? PANGO_ALIGN_RIGHT
                         : (flags & kParagraphCentre) ? PANGO_ALIGN_CENTER
                                                      : PANGO_ALIGN_LEFT;
  pango_layout_set_alignment(layout.get(), align);

  cairo_save(g_pass.cr);
  double left = wrap ? g_pass.x : -1.0;
  double right = wrap ? g_pass.x + box_width : g_pass.width + 1.0;
  double top = cut ? g_pass.y : -1.0;
  double bottom = cut ? g_pass.y + box_height : g_pass.height + 1.0;
  cairo_rectangle(g_pass.cr, left, top, right - left, bottom - top);
  cairo_clip(g_pass.cr);
  show_at_pen(layout.get());
  cairo_restore(g_pass.cr);

  double taken = static_cast<double>(logical_extents(layout.get()).height) / PANGO_SCALE;
  if (cut) taken = std::min(taken, box_height);
  g_pass.y = clamp_pen(g_pass.y + taken);
}

void vector_stop() {
  if (!g_pass.active) return;
  cairo_surface_flush(g_pass.surface);
  // The image may have been freed or made anew under its number during the
  // pass; then the drawing has nowhere to go.
  ImageBuffer* buffer = image_handle(g_pass.image);
  if (buffer == g_pass.buffer && buffer->width == g_pass.width && buffer->height == g_pass.height &&
      buffer->pixels.size() >= g_pixels.size() * 4) {
    // Only the pixels the pass changed are converted back; every other
    // pixel keeps its exact value (premultiplying loses colour where alpha
    // is low).
    bool opaque = buffer->depth == 24;
    for (size_t i = 0; i < g_pixels.size(); ++i) {
      uint8_t* px = &buffer->pixels[i * 4];
      if (g_pixels[i] != premultiply(px, opaque)) unpremultiply(g_pixels[i], px, opaque);
    }
  }
  release_pass();
}

void text_reset() {
  vector_stop();
  font_free(-1);
  text_release_font_map();
  std::vector<uint32_t>().swap(g_pixels);
}
