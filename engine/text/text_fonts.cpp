// The numbered font table and the font sizes, the same on every platform;
// the back end makes each font (text_make_font) and draws with it.
#include "engine/text/text.h"
#include "engine/text/text_backend.h"

#include <cctype>
#include <cstdint>

#include "engine/system/objects.h"

namespace {

// Larger em sizes are refused: a mistaken size must not make the platform
// render glyphs of absurd size.
constexpr int kFontMaxPixels = 2048;

ObjectTable<TextFontCommon> g_fonts(16);

}  // namespace

int font_points_to_pixels(int points, int dpi) {
  int64_t product = static_cast<int64_t>(points) * dpi;
  int64_t half = product >= 0 ? 36 : -36;
  return static_cast<int>((product + half) / 72);
}

int font_dpi() {
  static const int dpi = text_display_dpi();
  return dpi;
}

bool font_is_arial_black(const std::string& family) {
  std::string squeezed;
  for (char c : family)
    if (c != ' ') squeezed += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return squeezed == "arialblack";
}

int font_load(int number, const std::string& family, int points, int flags) {
  if (number < -1) return 0;
  std::string name = family.substr(0, family.find('\0'));
  if (name.empty() || points <= 0) return 0;
  int pixels = font_points_to_pixels(points, font_dpi());
  if (pixels <= 0 || pixels > kFontMaxPixels) return 0;
  std::unique_ptr<TextFontCommon> font = text_make_font(name, pixels, flags);
  if (!font) return 0;
  int id = g_fonts.put(number, std::move(font));
  if (id == -2) return 0;
  return id == 0 ? 1 : id;  // number 0 is success too: report non-zero
}

const TextFontCommon* text_font_common(int font) { return g_fonts.get(font); }

void font_free(int font) { g_fonts.free(font); }
