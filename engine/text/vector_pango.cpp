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
  int font_pixels = 0;
  double font_ascent = 0, font_line_spacing = 0;  // 0: the face gave none
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

// Where the pass's face lacks characters of a text, Pango draws them in
// another face; GDI+ draws the whole text in that other face, and lays its
// lines out by that face's figures. So do the lines here: *ascent and
// *line_spacing become those of the first face other than the pass's own.
void stand_in_metrics(PangoLayout* layout, double* ascent, double* line_spacing) {
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
    if (!run || !run->item->analysis.font) continue;
    double run_ascent = *ascent, run_spacing = *line_spacing;
    text_line_metrics(run->item->analysis.font, g_cairo.font_pixels, &run_ascent, &run_spacing);
    if (run_ascent != *ascent || run_spacing != *line_spacing) {
      *ascent = run_ascent;
      *line_spacing = run_spacing;
      break;
    }
  } while (pango_layout_iter_next_run(iter));
  pango_layout_iter_free(iter);
}

// Draws every line of a layout into line boxes stacked from (x, y), as
// GDI+ does: each baseline the font's ascent below the top of its box, the
// boxes the font's line spacing apart, each line aligned by flags within
// the given width (to the exact half pixel when centred; Pango would round
// that to a whole one). Returns the height the lines take.
double show_lines(PangoLayout* layout, double x, double y, double width, int flags) {
  cairo_set_source_rgba(g_cairo.cr, g_cairo.red, g_cairo.green, g_cairo.blue, g_cairo.alpha);
  double ascent = g_cairo.font_ascent, spacing = g_cairo.font_line_spacing;
  stand_in_metrics(layout, &ascent, &spacing);
  const bool own = spacing > 0;
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  int count = 0;
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    PangoRectangle logical{};
    pango_layout_line_get_extents(line, nullptr, &logical);
    const double room = width - static_cast<double>(logical.width) / PANGO_SCALE;
    const double left = (flags & kParagraphRight) ? x + room : (flags & kParagraphCentre) ? x + room / 2 : x;
    const double baseline = own ? y + ascent + count * spacing
                                : y + static_cast<double>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
    cairo_move_to(g_cairo.cr, left - static_cast<double>(logical.x) / PANGO_SCALE, baseline);
    pango_cairo_show_layout_line(g_cairo.cr, line);
    ++count;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  if (own) return count * spacing;
  return static_cast<double>(logical_extents(layout).height) / PANGO_SCALE;
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
  // Whole numbers are pixel centres: pixel (0, 0) spans -0.5 to 0.5, so
  // the pen at (0, 0) puts the text's top-left corner in the middle of the
  // first pixel, as on Windows. Cairo's own whole numbers are pixel edges.
  cairo_translate(g_cairo.cr, 0.5, 0.5);
  cairo_set_antialias(g_cairo.cr, CAIRO_ANTIALIAS_GOOD);
  pango_cairo_update_context(g_cairo.cr, g_cairo.context.get());
  return true;
}

bool vector_backend_font(const TextFont* font) {
  if (g_cairo.font) pango_font_description_free(g_cairo.font);
  g_cairo.font = font && font->desc ? pango_font_description_copy(font->desc) : nullptr;
  g_cairo.font_flags = font ? font->flags : 0;
  g_cairo.font_pixels = font ? font->pixels : 0;
  g_cairo.font_ascent = font ? font->ascent : 0;
  g_cairo.font_line_spacing = font ? font->line_spacing : 0;
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
  show_lines(layout.get(), x, y, 0, 0);
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
  // Without a box width the lines align within the widest of them, which
  // starts at the pen.
  double width = static_cast<double>(logical_extents(layout.get()).width) / PANGO_SCALE;
  if (box_width > 0) {
    width = std::min(box_width, kVectorPenLimit);
    pango_layout_set_width(layout.get(), pango_units_from_double(width));
    // A word wider than the whole box is broken inside, rather than
    // running out of the box.
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }

  cairo_save(g_cairo.cr);
  // The cut takes whole pixels, those whose centres lie in the box, rather
  // than fading the pixels its edges cross.
  cairo_set_antialias(g_cairo.cr, CAIRO_ANTIALIAS_NONE);
  cairo_rectangle(g_cairo.cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  cairo_clip(g_cairo.cr);
  cairo_set_antialias(g_cairo.cr, CAIRO_ANTIALIAS_GOOD);
  double taken = show_lines(layout.get(), x, y, width, flags);
  cairo_restore(g_cairo.cr);
  return taken;
}

void vector_backend_finish() { cairo_surface_flush(g_cairo.surface); }

void vector_backend_release() {
  if (g_cairo.cr) cairo_destroy(g_cairo.cr);
  if (g_cairo.surface) cairo_surface_destroy(g_cairo.surface);
  if (g_cairo.font) pango_font_description_free(g_cairo.font);
  g_cairo = CairoPass();
}
