// The vector drawing pass on Cairo: text laid out by Pango and drawn into the
// pass's pixels, measured the same way, and wrapped paragraphs.
#include "engine/text/text.h"
#include "engine/text/text_pango.h"

#include <algorithm>

namespace {

// What Cairo keeps for the one pass.
struct CairoPass {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  ContextPtr context;
  PangoFontDescription* font = nullptr;  // a copy: the font may be freed during the pass
  int font_flags = 0;
  double red = 0, green = 0, blue = 0, alpha = 1;
};

CairoPass g_cairo;

// The current font's layout of a text, or null when nothing can be laid out.
LayoutPtr pass_layout(const std::string& text) {
  if (!g_cairo.font) return LayoutPtr();
  return text_new_layout(g_cairo.context.get(), g_cairo.font, g_cairo.font_flags, text);
}

PangoRectangle logical_extents(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return logical;
}

void show_at(PangoLayout* layout, double x, double y) {
  cairo_set_source_rgba(g_cairo.cr, g_cairo.red, g_cairo.green, g_cairo.blue, g_cairo.alpha);
  cairo_move_to(g_cairo.cr, x, y);
  pango_cairo_show_layout(g_cairo.cr, layout);
}

}  // namespace

bool vector_backend_ready(int width) {
  return cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width) == width * 4;
}

bool vector_backend_start(uint32_t* pixels, int width, int height) {
  g_cairo.surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                                        CAIRO_FORMAT_ARGB32, width, height, width * 4);
  if (cairo_surface_status(g_cairo.surface) != CAIRO_STATUS_SUCCESS) return false;
  g_cairo.cr = cairo_create(g_cairo.surface);
  g_cairo.context = text_new_context();
  if (cairo_status(g_cairo.cr) != CAIRO_STATUS_SUCCESS || !g_cairo.context) return false;
  // No half-pixel shift here. The game's coordinates put pixel edges on
  // whole numbers: (0, 0) is the top-left corner of the first pixel, the
  // pen at (0, 0) puts the text's top-left there, and a box 80 high ends at
  // the bottom edge of pixel row 79. That is Cairo's own convention, and it
  // keeps box edges on whole pixels instead of smearing each over two.
  cairo_set_antialias(g_cairo.cr, CAIRO_ANTIALIAS_GOOD);
  pango_cairo_update_context(g_cairo.cr, g_cairo.context.get());
  return true;
}

bool vector_backend_font(const TextFont* font) {
  if (g_cairo.font) pango_font_description_free(g_cairo.font);
  g_cairo.font = font && font->desc ? pango_font_description_copy(font->desc) : nullptr;
  g_cairo.font_flags = font ? font->flags : 0;
  return g_cairo.font != nullptr;
}

void vector_backend_color(uint32_t rgba) {
  g_cairo.red = (rgba & 0xFF) / 255.0;
  g_cairo.green = ((rgba >> 8) & 0xFF) / 255.0;
  g_cairo.blue = ((rgba >> 16) & 0xFF) / 255.0;
  g_cairo.alpha = ((rgba >> 24) & 0xFF) / 255.0;
}

double vector_backend_draw_text(const std::string& text, double x, double y) {
  LayoutPtr layout = pass_layout(text);
  if (!layout) return -1;
  show_at(layout.get(), x, y);
  return static_cast<double>(logical_extents(layout.get()).width) / PANGO_SCALE;
}

double vector_backend_text_width(const std::string& text) {
  LayoutPtr layout = pass_layout(text);
  if (!layout) return 0;
  // The logical extent of an unwrapped line runs from the pen to the end of
  // the last advance, trailing blanks included.
  return static_cast<double>(logical_extents(layout.get()).width) / PANGO_SCALE;
}

double vector_backend_draw_paragraph(const std::string& text, double x, double y, double box_width, int flags,
                                     const VectorClip& clip) {
  LayoutPtr layout = pass_layout(text);
  if (!layout) return -1;
  if (box_width > 0) {
    pango_layout_set_width(layout.get(), pango_units_from_double(std::min(box_width, kVectorPenLimit)));
    // A word wider than the whole box is broken inside, rather than
    // running out of the box.
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }
  PangoAlignment align = (flags & kParagraphRight)    ? PANGO_ALIGN_RIGHT
                         : (flags & kParagraphCentre) ? PANGO_ALIGN_CENTER
                                                      : PANGO_ALIGN_LEFT;
  pango_layout_set_alignment(layout.get(), align);

  cairo_save(g_cairo.cr);
  cairo_rectangle(g_cairo.cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  cairo_clip(g_cairo.cr);
  show_at(layout.get(), x, y);
  cairo_restore(g_cairo.cr);
  return static_cast<double>(logical_extents(layout.get()).height) / PANGO_SCALE;
}

void vector_backend_finish() { cairo_surface_flush(g_cairo.surface); }

void vector_backend_release() {
  if (g_cairo.cr) cairo_destroy(g_cairo.cr);
  if (g_cairo.surface) cairo_surface_destroy(g_cairo.surface);
  if (g_cairo.font) pango_font_description_free(g_cairo.font);
  g_cairo = CairoPass();
}
