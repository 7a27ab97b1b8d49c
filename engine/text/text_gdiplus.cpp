// Fonts on GDI+: the display's dots per inch, the choice of family (with a heavy stand-in where "Arial Black" is missing),
// and what the log reports of the face GDI actually picked.
#include "engine/text/text.h"
#include "engine/text/text_gdiplus.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/system/unicode.h"

namespace gp = Gdiplus;
namespace gdip = Gdiplus::DllExports;

namespace {

ULONG_PTR g_gdiplus_token = 0;
bool g_gdiplus_running = false;

struct FamilyDelete {
  void operator()(gp::GpFontFamily* family) const {
    if (family) gdip::GdipDeleteFontFamily(family);
  }
};
using FamilyPtr = std::unique_ptr<gp::GpFontFamily, FamilyDelete>;

// The family under this name, or null when it is not installed: GDI+ does
// not substitute, it refuses.
FamilyPtr installed_family(const std::wstring& name) {
  gp::GpFontFamily* family = nullptr;
  if (gdip::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family) == gp::Ok) return FamilyPtr(family);
  // Wine finds a family by its name only where the full name of its
  // regular face is the family name ("Lato Black" yes, "Lato" and "VL
  // PGothic" no); the list of installed families holds them all.
  gp::GpFontCollection* installed = nullptr;  // GDI+'s own, never freed
  INT count = 0;
  if (gdip::GdipNewInstalledFontCollection(&installed) != gp::Ok ||
      gdip::GdipGetFontCollectionFamilyCount(installed, &count) != gp::Ok || count <= 0)
    return FamilyPtr();
  std::vector<gp::GpFontFamily*> families(static_cast<size_t>(count));  // the collection's, not ours
  INT listed = 0;
  if (gdip::GdipGetFontCollectionFamilyList(installed, count, families.data(), &listed) != gp::Ok) return FamilyPtr();
  for (INT i = 0; i < listed && i < count; ++i) {
    WCHAR listed_name[LF_FACESIZE] = {};
    if (gdip::GdipGetFamilyName(families[static_cast<size_t>(i)], listed_name, LANG_NEUTRAL) == gp::Ok &&
        _wcsicmp(listed_name, name.c_str()) == 0) {
      if (gdip::GdipCloneFontFamily(families[static_cast<size_t>(i)], &family) != gp::Ok) family = nullptr;
      return FamilyPtr(family);
    }
  }
  return FamilyPtr();
}

FamilyPtr installed_family(const std::string& name) { return installed_family(text_to_wide(name)); }

struct FaceChoice {
  FamilyPtr family;
  bool bold = false;
};

// The family to make the font from. An installed family is used as asked,
// except that "Arial Black" exists in one black weight only, so the bold
// flag would only smear it (GDI thickens the strokes artificially); it is
// dropped, as it is for the black stand-ins. Where "Arial Black" is
// missing, another black face takes its place before a merely bold one; any
// other missing family becomes a plain sans-serif at the weight asked.
FaceChoice choose_face(const std::string& family, bool bold) {
  bool heavy = font_is_arial_black(family);
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

// A font of a family made as font_load makes it, with what the log and
// the pass need to know of its face.
std::unique_ptr<TextFont> make_text_font(gp::GpFontFamily* family, int pixels, int style, int flags) {
  auto font = std::make_unique<TextFont>();
  font->flags = flags;
  font->pixels = pixels;
  // Underline and strike-out are left out of the GDI+ style: the pass draws
  // them itself, the same on every system.
  font->font = make_font(family, pixels, style);
  if (!font->font) return nullptr;
  font->style = style;
  gdip::GdipGetFontStyle(font->font, &font->style);
  WCHAR picked[LF_FACESIZE] = {};
  if (gdip::GdipGetFamilyName(family, picked, LANG_NEUTRAL) == gp::Ok) {
    font->family.assign(picked, wcsnlen(picked, LF_FACESIZE));
    font->face_family = utf16_to_utf8(std::u16string(font->family.begin(), font->family.end()));
  }
  describe_face(font.get(), font->style);
  return font;
}

// ---- Characters a face does not have ----

// Families that stand in for characters missing from a font's face, most
// of them for Japanese: those of Windows first, then those a Linux machine
// lends to Wine.
const char* const kFallbackFamilies[] = {
    "Yu Gothic UI", "Meiryo UI", "Meiryo", "MS UI Gothic", "MS PGothic", "Microsoft YaHei UI",
    "Malgun Gothic", "Noto Sans CJK JP", "Noto Sans JP", "VL PGothic", "VL Gothic", "Droid Sans Fallback",
    "WenQuanYi Zen Hei", "Arial Unicode MS", "Segoe UI", "Tahoma", "Lato", "DejaVu Sans"};

std::vector<std::unique_ptr<TextFont>> g_fallback_fonts;
std::vector<std::wstring> g_fallback_families;  // those installed, in order
bool g_fallback_families_found = false;
HDC g_glyph_dc = nullptr;
std::vector<std::pair<std::wstring, HFONT>> g_glyph_fonts;  // by family, to look glyphs up in

const std::vector<std::wstring>& fallback_families() {
  if (!g_fallback_families_found) {
    for (const char* name : kFallbackFamilies)
      if (installed_family(name)) g_fallback_families.push_back(text_to_wide(name));
    g_fallback_families_found = true;
  }
  return g_fallback_families;
}

HFONT glyph_font(const std::wstring& family) {
  for (const auto& entry : g_glyph_fonts)
    if (entry.first == family) return entry.second;
  LOGFONTW logfont{};
  logfont.lfHeight = -32;
  logfont.lfWeight = FW_NORMAL;
  logfont.lfCharSet = DEFAULT_CHARSET;
  family.copy(logfont.lfFaceName, LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&logfont);
  if (font) g_glyph_fonts.emplace_back(family, font);
  return font;
}

// The characters of text (control characters aside) that the family's
// face has no glyph for; all of them when it cannot be asked.
std::wstring missing_characters(const std::wstring& family, const std::wstring& text) {
  if (!g_glyph_dc) g_glyph_dc = CreateCompatibleDC(nullptr);
  HFONT font = glyph_font(family);
  std::vector<WORD> glyphs(text.size());
  if (!g_glyph_dc || !font || !SelectObject(g_glyph_dc, font) ||
      GetGlyphIndicesW(g_glyph_dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    return text;
  std::wstring missing;
  for (size_t i = 0; i < text.size(); ++i)
    if (glyphs[i] == 0xFFFF && text[i] >= 0x20) missing += text[i];
  return missing;
}

}  // namespace

bool text_gdiplus_start() {
  if (g_gdiplus_running) return true;
  gp::GdiplusStartupInput input;
  if (gp::GdiplusStartup(&g_gdiplus_token, &input, nullptr) != gp::Ok) return false;
  g_gdiplus_running = true;
  return true;
}

// Shuts GDI+ down again, once every font and the pass are gone.
void text_release_platform() {
  if (!g_gdiplus_running) return;
  text_release_fallbacks();
  gp::GdiplusShutdown(g_gdiplus_token);
  g_gdiplus_running = false;
}

std::wstring text_to_wide(const std::string& text) {
  std::u16string units = utf8_to_utf16(text.substr(0, text.find('\0')));
  return std::wstring(units.begin(), units.end());
}

// The logical dots per inch of the screen. A program that does not declare
// itself DPI-aware is told 96 whatever the monitor, which is what the menus
// are laid out for.
int text_display_dpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 96;
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

std::unique_ptr<TextFontCommon> text_make_font(const std::string& family, int pixels, int flags) {
  if (!text_gdiplus_start()) return nullptr;
  FaceChoice face = choose_face(family, (flags & kFontBold) != 0);
  if (!face.family) return nullptr;
  int style = (face.bold ? gp::FontStyleBold : 0) | ((flags & kFontItalic) ? gp::FontStyleItalic : 0);
  return make_text_font(face.family.get(), pixels, style, flags);
}

std::unique_ptr<TextFont> text_font_copy(const TextFont& font) {
  auto copy = std::make_unique<TextFont>();
  if (!font.font || gdip::GdipCloneFont(font.font, &copy->font) != gp::Ok) return nullptr;
  copy->flags = font.flags;
  copy->pixels = font.pixels;
  copy->style = font.style;
  copy->decoration = font.decoration;
  copy->family = font.family;
  copy->face_family = font.face_family;
  copy->face_weight = font.face_weight;
  return copy;
}

const TextFont& text_font_for(const TextFont& font, const std::wstring& text) {
  bool plain = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
  if (plain || font.family.empty()) return font;
  std::wstring missing = missing_characters(font.family, text);
  if (missing.empty()) return font;

  // The first stand-in that has every missing character, else the one that
  // has the most of them.
  const std::wstring* best = nullptr;
  size_t best_missing = missing.size();
  for (const std::wstring& family : fallback_families()) {
    if (family == font.family) continue;
    size_t still = missing_characters(family, missing).size();
    if (still < best_missing) {
      best = &family;
      best_missing = still;
      if (still == 0) break;
    }
  }
  if (!best) return font;
  // The stand-ins have no black weight: bold keeps them from looking thin
  // beside a black face.
  int style = font.style | (font.face_weight >= 600 ? gp::FontStyleBold : 0);
  for (const auto& f : g_fallback_fonts)
    if (f->family == *best && f->pixels == font.pixels && f->style == style && f->flags == font.flags) return *f;
  FamilyPtr family = installed_family(*best);
  std::unique_ptr<TextFont> made = family ? make_text_font(family.get(), font.pixels, style, font.flags) : nullptr;
  if (!made) return font;
  g_fallback_fonts.push_back(std::move(made));
  return *g_fallback_fonts.back();
}

void text_release_fallbacks() {
  g_fallback_fonts.clear();
  g_fallback_families.clear();
  g_fallback_families_found = false;
  for (auto& entry : g_glyph_fonts) DeleteObject(entry.second);
  g_glyph_fonts.clear();
  if (g_glyph_dc) DeleteDC(g_glyph_dc);
  g_glyph_dc = nullptr;
}

// Every font in the table is one this back end made.
const TextFont* font_handle(int font) { return static_cast<const TextFont*>(text_font_common(font)); }
