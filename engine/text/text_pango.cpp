// Fonts on Pango and fontconfig: the display's dots per inch, the choice of
// face (with the heavy fallback for "Arial Black"), and the context and
// layouts the drawing pass draws with.
#include "engine/text/text.h"
#include "engine/text/text_pango.h"

#include <fontconfig/fontconfig.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// One font map for the whole program, made on first use and kept until
// text_reset, so that glyph caches survive from one text image to the next.
PangoFontMap* g_font_map = nullptr;

PangoFontMap* font_map() {
  if (!g_font_map) g_font_map = pango_cairo_font_map_new();
  return g_font_map;
}

// Whether fontconfig knows a face of this family (and weight, when given as
// a fontconfig weight; -1 for any). A listing, not a match: matching always
// succeeds by substituting some other font.
bool family_installed(const std::string& family, int fc_weight) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (fc_weight >= 0) FcPatternAddInteger(pattern, FC_WEIGHT, fc_weight);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  if (objects) FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

struct FaceChoice {
  std::string family;
  PangoWeight weight;
};

// The family and weight to ask Pango for. An installed family is used as
// asked. Where it is missing, fontconfig would substitute whatever the
// machine's configuration prefers (DejaVu Sans on a bare Debian), so the
// choice is made here instead: Lato, which the game depends on, in its Black
// face for "Arial Black" (a face that only exists in that heavy weight, so
// the bold flag changes nothing there either).
FaceChoice choose_face(const std::string& family, bool bold) {
  PangoWeight asked = bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL;
  if (family_installed(family, -1)) return {family, asked};
  if (font_is_arial_black(family)) {
    if (family_installed("Lato", FC_WEIGHT_BLACK)) return {"Lato", PANGO_WEIGHT_HEAVY};
    return {family, PANGO_WEIGHT_HEAVY};
  }
  if (family_installed("Lato", -1)) return {"Lato", asked};
  return {family, asked};
}

// One table of a face, read by its big-endian 16-bit fields.
class FontTable {
 public:
  FontTable(hb_face_t* face, hb_tag_t tag) : blob_(hb_face_reference_table(face, tag)) {}
  ~FontTable() { hb_blob_destroy(blob_); }
  FontTable(const FontTable&) = delete;
  FontTable& operator=(const FontTable&) = delete;

  unsigned size() const { return hb_blob_get_length(blob_); }
  // The field at offset; 0 beyond the table's end.
  int field(unsigned offset, bool is_signed) const {
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob_, &length);
    if (!data || offset + 2 > length) return 0;
    const auto* p = reinterpret_cast<const uint8_t*>(data) + offset;
    int value = (p[0] << 8) | p[1];
    return is_signed && value >= 0x8000 ? value - 0x10000 : value;
  }

 private:
  hb_blob_t* blob_;
};

}  // namespace

// Windows reads the face's "OS/2" table: usWinAscent, usWinDescent, and
// the "hhea" line gap only where it asks for more than those two. Pango
// takes the typographic figures instead where a face asks for them (Lato
// does): its baseline would sit a fifth of an em higher.
void text_line_metrics(PangoFont* font, int pixels, double* ascent, double* line_spacing) {
  hb_font_t* shaper = pango_font_get_hb_font(font);  // the font's own, not ours to free
  hb_face_t* face = shaper ? hb_font_get_face(shaper) : nullptr;
  unsigned upem = face ? hb_face_get_upem(face) : 0;
  if (!face || upem == 0) return;
  const FontTable os2(face, HB_TAG('O', 'S', '/', '2'));
  const FontTable hhea(face, HB_TAG('h', 'h', 'e', 'a'));
  if (hhea.size() < 10) return;
  const int hhea_ascent = hhea.field(4, true), hhea_descent = -hhea.field(6, true);
  const int hhea_gap = hhea.field(8, true);
  int win_ascent = hhea_ascent, win_descent = hhea_descent;
  if (os2.size() >= 78) {
    win_ascent = os2.field(74, false);
    win_descent = os2.field(76, false);
  }
  const int leading = std::max(0, hhea_gap - ((win_ascent + win_descent) - (hhea_ascent + hhea_descent)));
  auto to_pixels = [&](int units) { return std::round(static_cast<double>(pixels) * units / upem); };
  const double spacing = to_pixels(win_ascent) + to_pixels(win_descent) + to_pixels(leading);
  if (spacing <= 0) return;
  *ascent = to_pixels(win_ascent);
  *line_spacing = spacing;
}

std::unique_ptr<TextFontCommon> text_make_font(const std::string& family, int pixels, int flags) {
  FaceChoice face = choose_face(family, (flags & kFontBold) != 0);
  auto font = std::make_unique<TextFont>();
  font->flags = flags;
  font->pixels = pixels;
  font->desc = pango_font_description_new();
  pango_font_description_set_family(font->desc, face.family.c_str());
  pango_font_description_set_weight(font->desc, face.weight);
  pango_font_description_set_style(font->desc, (flags & kFontItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  // The em height in device pixels, not points: Pango's own point sizes
  // would be scaled by its resolution a second time.
  pango_font_description_set_absolute_size(font->desc, static_cast<double>(pixels) * PANGO_SCALE);

  // Load the face now, so a machine without any usable font fails here
  // rather than drawing nothing later, and so the log can name the face.
  ContextPtr context = text_new_context();
  if (!context) return nullptr;
  PangoFont* loaded = pango_font_map_load_font(font_map(), context.get(), font->desc);
  if (!loaded) return nullptr;
  text_line_metrics(loaded, pixels, &font->ascent, &font->line_spacing);
  PangoFontDescription* described = pango_font_describe(loaded);
  if (described) {
    const char* got = pango_font_description_get_family(described);
    font->face_family = got ? got : "";
    font->face_weight = static_cast<int>(pango_font_description_get_weight(described));
    pango_font_description_free(described);
  }
  g_object_unref(loaded);
  return font;
}

// Every font in the table is one this back end made.
const TextFont* font_handle(int font) { return static_cast<const TextFont*>(text_font_common(font)); }

// Lets go of the font map and its caches (with no pass running, no context
// is left on it).
void text_release_platform() {
  if (g_font_map) g_object_unref(g_font_map);
  g_font_map = nullptr;
}

ContextPtr text_new_context() {
  ContextPtr context(pango_font_map_create_context(font_map()));
  if (!context) return context;
  cairo_font_options_t* options = cairo_font_options_create();
  // Greyscale, never subpixel, antialiasing: the pixels go into images with
  // alpha that end up anywhere on the screen.
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  // Antialiased and fitted to the pixel grid, as GDI+ draws text on
  // Windows: the face's hinting sets stems and baselines on whole pixels,
  // and advances are rounded to whole pixels.
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context.get(), options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context.get(), TRUE);
  pango_context_set_base_dir(context.get(), PANGO_DIRECTION_LTR);
  return context;
}

LayoutPtr text_new_layout(PangoContext* context, const PangoFontDescription* desc, int flags,
                          const std::string& text) {
  LayoutPtr layout(pango_layout_new(context));
  if (!layout) return layout;
  pango_layout_set_auto_dir(layout.get(), FALSE);  // left stays left for any script
  pango_layout_set_font_description(layout.get(), desc);

  std::string line = text.substr(0, text.find('\0'));
  if (g_utf8_validate(line.data(), static_cast<gssize>(line.size()), nullptr)) {
    pango_layout_set_text(layout.get(), line.data(), static_cast<int>(line.size()));
  } else {
    gchar* mended = g_utf8_make_valid(line.data(), static_cast<gssize>(line.size()));
    pango_layout_set_text(layout.get(), mended, -1);
    g_free(mended);
  }

  PangoAttrList* attrs = pango_attr_list_new();
  // GDI+ sets Latin text glyph after glyph at each glyph's own advance: no
  // ligatures ("tt" stays two letters) and no kerning ("To" is as wide as
  // "T" and "o"). So does the game here, and a caption is as wide, and
  // centred the same, on both.
  pango_attr_list_insert(attrs, pango_attr_font_features_new("liga 0, clig 0, kern 0"));
  if (flags & kFontUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (flags & kFontStrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout.get(), attrs);
  pango_attr_list_unref(attrs);
  return layout;
}
