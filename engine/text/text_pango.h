// What the Pango back-end files of the text service share: the font object,
// the one font map and context settings, and text laid out in a font.
#pragma once

#include <pango/pangocairo.h>

#include <memory>
#include <string>

// A font as font_load made it: the Pango description (absolute pixel size)
// and the style flags Pango applies as attributes rather than in the face.
struct TextFont {
  PangoFontDescription* desc = nullptr;
  int flags = 0;
  int pixels = 0;
  std::string face_family;  // what fontconfig actually gave
  int face_weight = 0;

  TextFont() = default;
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;
  ~TextFont() {
    if (desc) pango_font_description_free(desc);
  }
};

struct GObjectUnref {
  void operator()(void* p) const {
    if (p) g_object_unref(p);
  }
};
using ContextPtr = std::unique_ptr<PangoContext, GObjectUnref>;
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;

// A new Pango context on the text service's font map, with the fixed
// rendering settings (greyscale antialiasing, grid-fitted glyphs and
// metrics), whatever the desktop's font settings are.
ContextPtr text_new_context();

// Lets go of the font map and its caches (text_reset, with no pass
// running and so no context left on it).
void text_release_font_map();

// A layout of text (cut at a NUL, malformed UTF-8 mended) in a font,
// including its underline and strike-out.
LayoutPtr text_new_layout(PangoContext* context, const PangoFontDescription* desc, int flags,
                          const std::string& text);
