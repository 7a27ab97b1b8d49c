// Fonts on GDI+: the numbered font table, the display's dots per inch, the
// choice of family (with a heavy stand-in where "Arial Black" is missing),
// and what the log reports of the face GDI actually picked.
#include "engine/text/text.h"
#include "engine/text/text_gdiplus.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/system/objects.h"
#include "engine/system/unicode.h"

namespace gp = Gdiplus;
namespace gdip = Gdiplus::DllExports;

namespace {

// Larger em sizes are refused: a mistaken size must not make GDI render
// glyphs of absurd size.
constexpr int kFontMaxPixels = 2048;

ObjectTable<TextFont> g_fonts(16);

ULONG_PTR g_gdiplus_token = 0;
bool g_gdiplus_running = false;

// The logical dots per inch of the screen. A program that does not declare
// itself DPI-aware is told 96 whatever the monitor, which is what the menus
// are laid out for.
int read_display_dpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 96;
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

struct FamilyDelete {
  void operator()(gp::GpFontFamily* family) const {
    if (family) gdip::GdipDeleteFontFamily(family);
  }
};
using FamilyPtr = std::unique_ptr<gp::GpFontFamily, FamilyDelete>;

// The family under this name, or null when it is not installed: GDI+ does
// not substitute, it refuses.
FamilyPtr installed_family(const std::string& name) {
  gp::GpFontFamily* family = nullptr;
  if (gdip::GdipCreateFontFamilyFromName(text_to_wide(name).c_str(), nullptr, &family) != gp::Ok) family = nullptr;
  return FamilyPtr(family);
}

bool is_arial_black(const std::string& family) {
  std::string squeezed;
  for (char c : family)
    if (c != ' ') squeezed += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return squeezed == "arialblack";
}

struct FaceChoice {
  FamilyPtr family;
  bool bold = false;
};

// The family to make the font from. An installed family is used as asked,
// except that "Arial Black" exists in one black weight only, so the bold
// flag would only smear it (GDI emboldens it by hand); it is dropped, as it
// is for the black stand-ins. Where "Arial Black" is missing, another black
// face takes its place before a merely bold one; any other missing family
// becomes a plain sans-serif at the weight asked.
FaceChoice choose_face(const std::string& family, bool bold) {
  bool heavy = is_arial_black(family);
  FaceChoice choice;
  choice.family = installed_family(family);
  if (choice.family) {
    choice.bold = bold && !heavy;
    return choice;
  }
  if (heavy) {
    for (const char* name : {"Lato Black", "Segoe UI Black"}) {
      choice.family = installed_family(name);
      if (choice.family) return choice;
    }
    bold = true;
  }
  choice.bold = bold;
  for (const char* name : {"Arial", "Lato", "Segoe UI", "Tahoma", "DejaVu Sans"}) {
    choice.family = installed_family(name);
    if (choice.family) return choice;
  }
  gp::GpFontFamily* generic = nullptr;
  if (gdip::GdipGetGenericFontFamilySansSerif(&generic) == gp::Ok) choice.family.reset(generic);
  return choice;
}

// The font in the wanted style, or in the nearest style the family has:
// GDI+ refuses a style a family cannot show.
gp::GpFont* make_font(gp::GpFontFamily* family, int pixels, int style) {
  const int tries[] = {style, style & ~gp::FontStyleBold, style & ~gp::FontStyleItalic, gp::FontStyleRegular};
  for (int s : tries) {
    gp::GpFont* font = nullptr;
    if (gdip::GdipCreateFont(family, static_cast<gp::REAL>(pixels), s, gp::UnitPixel, &font) == gp::Ok) return font;
  }
  return nullptr;
}

uint16_t big_endian16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

// Fills in what GDI picked for the font: the weight class of the face file
// (GDI itself reports the weight asked, not the weight drawn), raised to
// bold when GDI emboldens a lighter face, and the underline and strike-out
// lines of the face.
void describe_face(TextFont* font, int style) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  gp::GpGraphics* graphics = nullptr;
  LOGFONTW logfont{};
  bool have_logfont = gdip::GdipCreateFromHDC(dc, &graphics) == gp::Ok &&
                      gdip::GdipGetLogFontW(font->font, graphics, &logfont) == gp::Ok;
  if (graphics) gdip::GdipDeleteGraphics(graphics);
  HFONT hfont = have_logfont ? CreateFontIndirectW(&logfont) : nullptr;
  if (!hfont) {
    DeleteDC(dc);
    return;
  }
  HGDIOBJ old = SelectObject(dc, hfont);

  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc, &metrics)) font->face_weight = static_cast<int>(metrics.tmWeight);
  uint8_t weight_class[2];
  const DWORD os2 = 0x322F534F;  // the "OS/2" table tag as GetFontData takes it
  if (GetFontData(dc, os2, 4, weight_class, 2) == 2) font->face_weight = big_endian16(weight_class);
  if ((style & gp::FontStyleBold) && font->face_weight < 700) font->face_weight = 700;

  // GDI+ puts the baseline a cell ascent below the line's top.
  gp::GpFontFamily* family = nullptr;
  UINT16 ascent = 0, em = 0;
  if (gdip::GdipGetFamily(font->font, &family) == gp::Ok) {
    gdip::GdipGetCellAscent(family, style, &ascent);
    gdip::GdipGetEmHeight(family, style, &em);
    gdip::GdipDeleteFontFamily(family);
  }
  float baseline = em ? static_cast<float>(font->pixels) * ascent / em : metrics.tmAscent;
  TextDecoration& d = font->decoration;
  d.underline_size = std::max(1.0f, std::round(font->pixels / 16.0f));
  d.underline_top = baseline + d.underline_size / 2;
  d.strike_size = d.underline_size;
  d.strike_top = baseline - font->pixels / 4.0f;
  std::vector<uint8_t> buffer(GetOutlineTextMetricsW(dc, 0, nullptr));
  auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
  if (buffer.size() >= sizeof(OUTLINETEXTMETRICW) &&
      GetOutlineTextMetricsW(dc, static_cast<UINT>(buffer.size()), outline)) {
    // The positions are those of each line's middle above the baseline.
    d.underline_size = std::max(1.0f, static_cast<float>(outline->otmsUnderscoreSize));
    d.underline_top = baseline - outline->otmsUnderscorePosition - d.underline_size / 2;
    d.strike_size = std::max(1.0f, static_cast<float>(outline->otmsStrikeoutSize));
    d.strike_top = baseline - outline->otmsStrikeoutPosition - d.strike_size / 2;
  }
  SelectObject(dc, old);
  DeleteObject(hfont);
  DeleteDC(dc);
}

}  // namespace

bool text_gdiplus_start() {
  if (g_gdiplus_running) return true;
  gp::GdiplusStartupInput input;
  if (gp::GdiplusStartup(&g_gdiplus_token, &input, nullptr) != gp::Ok) return false;
  g_gdiplus_running = true;
  return true;
}

void text_gdiplus_stop() {
  if (!g_gdiplus_running) return;
  gp::GdiplusShutdown(g_gdiplus_token);
  g_gdiplus_running = false;
}

std::wstring text_to_wide(const std::string& text) {
  std::u16string units = utf8_to_utf16(text.substr(0, text.find('\0')));
  return std::wstring(units.begin(), units.end());
}

int font_points_to_pixels(int points, int dpi) {
  int64_t product = static_cast<int64_t>(points) * dpi;
  int64_t half = product >= 0 ? 36 : -36;
  return static_cast<int>((product + half) / 72);
}

int font_dpi() {
  static const int dpi = read_display_dpi();
  return dpi;
}

int font_load(int number, const std::string& family, int points, int flags) {
  if (number < -1) return 0;
  std::string name = family.substr(0, family.find('\0'));
  if (name.empty() || points <= 0) return 0;
  int pixels = font_points_to_pixels(points, font_dpi());
  if (pixels <= 0 || pixels > kFontMaxPixels) return 0;
  if (!text_gdiplus_start()) return 0;

  FaceChoice face = choose_face(name, (flags & kFontBold) != 0);
  if (!face.family) return 0;
  // Underline and strike-out are left out of the GDI+ style: the pass draws
  // them itself, the same on every system.
  int style = (face.bold ? gp::FontStyleBold : 0) | ((flags & kFontItalic) ? gp::FontStyleItalic : 0);
  auto font = std::make_unique<TextFont>();
  font->flags = flags;
  font->pixels = pixels;
  font->font = make_font(face.family.get(), pixels, style);
  if (!font->font) return 0;
  int made_style = style;
  gdip::GdipGetFontStyle(font->font, &made_style);

  WCHAR picked[LF_FACESIZE] = {};
  if (gdip::GdipGetFamilyName(face.family.get(), picked, LANG_NEUTRAL) == gp::Ok) {
    std::u16string units(picked, picked + wcsnlen(picked, LF_FACESIZE));
    font->face_family = utf16_to_utf8(units);
  }
  describe_face(font.get(), made_style);

  int id = g_fonts.put(number, std::move(font));
  if (id == -2) return 0;
  return id == 0 ? 1 : id;  // number 0 is success too: report non-zero
}

const TextFont* font_handle(int font) { return g_fonts.get(font); }

void font_free(int font) { g_fonts.free(font); }

int font_pixel_size(int font) {
  const TextFont* f = g_fonts.get(font);
  return f ? f->pixels : 0;
}

std::string font_face_family(int font) {
  const TextFont* f = g_fonts.get(font);
  return f ? f->face_family : std::string();
}

int font_face_weight(int font) {
  const TextFont* f = g_fonts.get(font);
  return f ? f->face_weight : 0;
}
