// The tests' font reads, on the text service's font table.
#include "tests/support/text_probe.h"

#include "engine/text/text_backend.h"

int font_pixel_size(int font) {
  const TextFontCommon* f = text_font_common(font);
  return f ? f->pixels : 0;
}

std::string font_face_family(int font) {
  const TextFontCommon* f = text_font_common(font);
  return f ? f->face_family : std::string();
}

int font_face_weight(int font) {
  const TextFontCommon* f = text_font_common(font);
  return f ? f->face_weight : 0;
}
