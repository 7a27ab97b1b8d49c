// What the Pango back-end files of the text service share: the font object,
// the one font map and context settings, and text laid out in a font.
#pragma once

#include <pango/pangocairo.h>

#include <memory>
#include <string>

#include "engine/text/text_backend.h"

// A font as font_load made it: the Pango description (absolute pixel size)
// and where its lines go (below); the style flags Pango applies as
// attributes rather than in the face, and the face fontconfig actually gave,
// are in the common part.
struct TextFont : TextFontCommon {
  PangoFontDescription* desc = nullptr;
  // A line's baseline lies this many pixels below the top of its line box,
  // and the lines of a paragraph follow each other this many pixels apart:
  // the face's own figures as Windows reads them (see text_line_metrics).
  double ascent = 0;
  double line_spacing = 0;

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

// Where a face puts its lines at an em height of pixels, as Windows lays
// them out, in whole pixels as the grid-fitted face has them: the baseline
// *ascent below the top of a line's box, and the boxes *line_spacing apart.
// Both are left as they were for a face without the tables that say.
void text_line_metrics(PangoFont* font, int pixels, double* ascent, double* line_spacing);

// A new Pango context on the text service's font map, with the fixed
// rendering settings (greyscale antialiasing, outlines fitted to the pixel
// grid, metrics rounded to whole pixels), whatever the desktop's font
// settings are.
ContextPtr text_new_context();

// A layout of text (cut at a NUL, malformed UTF-8 mended) in a font,
// including its underline and strike-out, without ligatures or kerning.
LayoutPtr text_new_layout(PangoContext* context, const PangoFontDescription* desc, int flags,
                          const std::string& text);
