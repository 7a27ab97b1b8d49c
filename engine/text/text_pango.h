// What the Pango back-end files of the text service share: the font object,
// the one font map and context settings, and text laid out in a font.
#pragma once

#include <pango/pangocairo.h>

#include <memory>
#include <string>

#include "engine/text/text_backend.h"

// A font as font_load made it: the Pango description (absolute pixel size);
// the style flags Pango applies as attributes rather than in the face, and
// the face fontconfig actually gave, are in the common part.
struct TextFont : TextFontCommon {
  PangoFontDescription* desc = nullptr;

  ~TextFont() override {
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
// rendering settings (greyscale antialiasing, outlines not fitted to the
// pixel grid, metrics rounded to whole pixels), whatever the desktop's font
// settings are.
ContextPtr text_new_context();

// A layout of text (cut at a NUL, malformed UTF-8 mended) in a font,
// including its underline and strike-out.
LayoutPtr text_new_layout(PangoContext* context, const PangoFontDescription* desc, int flags,
                          const std::string& text);
