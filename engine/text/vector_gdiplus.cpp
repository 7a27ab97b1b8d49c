// The vector drawing pass on GDI+: text drawn into an image of the image
// table at the pen, measured with the same typographic format, and wrapped
// paragraphs aligned and cut to their box.
#include "engine/text/text.h"
#include "engine/text/text_gdiplus.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "engine/image/image.h"

namespace gp = Gdiplus;
namespace gdip = Gdiplus::DllExports;

namespace {

// GDI+ lays text out in single-precision floats; pen positions beyond this
// would lose whole pixels (and Wine's GDI+ crashes on far larger ones).
constexpr double kPenLimit = 1e6;

// The one pass of the game thread (passes are never nested).
struct VectorPass {
  bool active = false;
  int image = 0;
  ImageBuffer* buffer = nullptr;  // to check at the end that it is still that image
  int width = 0;
  int height = 0;
  gp::GpBitmap* bitmap = nullptr;
  gp::GpGraphics* graphics = nullptr;
  gp::GpStringFormat* format = nullptr;  // typographic, trailing blanks measured
  gp::GpSolidFill* brush = nullptr;
  std::unique_ptr<TextFont> font;  // a copy: the font may be freed during the pass
  double x = 0, y = 0;
};

VectorPass g_pass;

// What GDI+ draws on: the image as premultiplied 0xAARRGGBB words (the
// image itself keeps straight alpha). GDI+ blends most exactly into
// premultiplied pixels, and converting back here rather than letting GDI+
// do it leaves every pixel the text did not touch exactly as it was. Kept
// from pass to pass, so the text pass does not allocate a fresh buffer for
// every caption.
std::vector<uint32_t> g_pixels;

uint32_t premultiply(const uint8_t* bgra, bool opaque) {
  uint32_t a = opaque ? 255 : bgra[3];
  if (a == 255) return 0xFF000000u | (uint32_t{bgra[2]} << 16) | (uint32_t{bgra[1]} << 8) | bgra[0];
  if (a == 0) return 0;
  auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (mul(bgra[2]) << 16) | (mul(bgra[1]) << 8) | mul(bgra[0]);
}

void unpremultiply(uint32_t argb, uint8_t* bgra, bool opaque) {
  uint32_t a = argb >> 24;
  if (a == 0) {
    bgra[0] = bgra[1] = bgra[2] = 0;
    bgra[3] = opaque ? 255 : 0;
    return;
  }
  auto div = [a](uint32_t c) { return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
  bgra[0] = div(argb & 0xFF);
  bgra[1] = div((argb >> 8) & 0xFF);
  bgra[2] = div((argb >> 16) & 0xFF);
  bgra[3] = opaque ? 255 : static_cast<uint8_t>(a);
}

void release_pass() {
  g_pass.font.reset();
  if (g_pass.brush) gdip::GdipDeleteBrush(g_pass.brush);
  if (g_pass.format) gdip::GdipDeleteStringFormat(g_pass.format);
  if (g_pass.graphics) gdip::GdipDeleteGraphics(g_pass.graphics);
  if (g_pass.bitmap) gdip::GdipDisposeImage(g_pass.bitmap);
  g_pass = VectorPass();
}

// The text to draw in the current font, or "" when nothing can be drawn.
std::wstring pass_text(const std::string& text) {
  if (!g_pass.active || !g_pass.font || text.empty() || text[0] == '\0') return std::wstring();
  return text_to_wide(text);
}

int length_of(const std::wstring& text) { return static_cast<int>(std::min<size_t>(text.size(), 1u << 30)); }

gp::RectF measure(const TextFont& font, const std::wstring& text, const gp::RectF& layout,
                  const gp::GpStringFormat* format) {
  gp::RectF box(0, 0, 0, 0);
  gdip::GdipMeasureString(g_pass.graphics, text.c_str(), length_of(text), font.font, &layout, format, &box, nullptr,
                          nullptr);
  return box;
}

// Width of an unwrapped line. Measured from the origin rather than the
// pen, so the width of a text is the same wherever it is drawn.
double line_width(const TextFont& font, const std::wstring& text, const gp::GpStringFormat* format) {
  return measure(font, text, gp::RectF(0, 0, 0, 0), format).Width;
}

// The font's underline and strike-out across one line of text whose box
// starts at (left, top).
void decorate_line(const TextFont& font, double left, double top, double width) {
  if (width <= 0) return;
  const TextDecoration& d = font.decoration;
  auto bar = [&](float offset, float size) {
    gdip::GdipFillRectangle(g_pass.graphics, g_pass.brush, static_cast<gp::REAL>(left),
                            static_cast<gp::REAL>(std::round(top + offset)), static_cast<gp::REAL>(width),
                            std::round(size));
  };
  if (font.flags & kFontUnderline) bar(d.underline_top, d.underline_size);
  if (font.flags & kFontStrikeOut) bar(d.strike_top, d.strike_size);
}

// Decorates every line of a paragraph laid out in layout: GDI+ measures the
// whole text as one range, which comes back as a rectangle per line (lines
// of equal extent merged into one taller rectangle).
void decorate_paragraph(const TextFont& font, const std::wstring& text, const gp::RectF& layout,
                        gp::GpStringFormat* format) {
  gp::CharacterRange all(0, length_of(text));
  gp::GpRegion* region = nullptr;
  gp::GpMatrix* identity = nullptr;
  gp::REAL line = 0;
  if (gdip::GdipSetStringFormatMeasurableCharacterRanges(format, 1, &all) == gp::Ok &&
      gdip::GdipCreateRegion(&region) == gp::Ok && gdip::GdipCreateMatrix(&identity) == gp::Ok &&
      gdip::GdipGetFontHeight(font.font, g_pass.graphics, &line) == gp::Ok && line > 0 &&
      gdip::GdipMeasureCharacterRanges(g_pass.graphics, text.c_str(), length_of(text), font.font, layout, format, 1,
                                       &region) == gp::Ok) {
    UINT count = 0;
    if (gdip::GdipGetRegionScansCount(region, &count, identity) == gp::Ok && count > 0) {
      std::vector<gp::RectF> rects(count);
      INT got = 0;
      if (gdip::GdipGetRegionScans(region, rects.data(), &got, identity) == gp::Ok) {
        for (INT i = 0; i < got && i < static_cast<INT>(count); ++i) {
          const gp::RectF& r = rects[static_cast<size_t>(i)];
          int lines = std::max(1, static_cast<int>(std::lround(r.Height / line)));
          for (int l = 0; l < lines; ++l) decorate_line(font, r.X, r.Y + l * line, r.Width);
        }
      }
    }
  }
  if (identity) gdip::GdipDeleteMatrix(identity);
  if (region) gdip::GdipDeleteRegion(region);
}

double clamp_pen(double v) { return std::max(-kPenLimit, std::min(kPenLimit, v)); }

// Sets up a graphics object on the pass's bitmap: pixel units, pixel edges
// on whole numbers, greyscale antialiased grid-fitted text, and the
// typographic format with trailing blanks measured.
bool set_up_graphics() {
  if (gdip::GdipGetImageGraphicsContext(g_pass.bitmap, &g_pass.graphics) != gp::Ok) return false;
  gdip::GdipSetPageUnit(g_pass.graphics, gp::UnitPixel);
  // Whole numbers are pixel edges, not pixel centres: (0, 0) is the
  // top-left corner of the first pixel, the pen at (0, 0) puts the text's
  // top-left there, and a box 80 high ends at the bottom edge of pixel row
  // 79. This keeps grid-fitted glyph stems and the box edges on whole
  // pixels, as in the Linux build.
  gdip::GdipSetPixelOffsetMode(g_pass.graphics, gp::PixelOffsetModeHalf);
  gdip::GdipSetSmoothingMode(g_pass.graphics, gp::SmoothingModeAntiAlias);
  gdip::GdipSetCompositingMode(g_pass.graphics, gp::CompositingModeSourceOver);
  // Greyscale, never ClearType: the pixels go into images with alpha that
  // end up anywhere on the screen.
  gdip::GdipSetTextRenderingHint(g_pass.graphics, gp::TextRenderingHintAntiAliasGridFit);

  gp::GpStringFormat* typographic = nullptr;  // GDI+'s own, never freed
  if (gdip::GdipStringFormatGetGenericTypographic(&typographic) != gp::Ok ||
      gdip::GdipCloneStringFormat(typographic, &g_pass.format) != gp::Ok)
    return false;
  INT flags = 0;
  gdip::GdipGetStringFormatFlags(g_pass.format, &flags);
  gdip::GdipSetStringFormatFlags(g_pass.format, flags | gp::StringFormatFlagsMeasureTrailingSpaces);
  return gdip::GdipCreateSolidFill(0xFF000000u, &g_pass.brush) == gp::Ok;
}

}  // namespace

VectorTarget image_vector_target(int image, int unit) {
  VectorTarget target;
  if (unit != kVectorUnitPixel || !image_exists(image)) return target;
  target.image = image;
  target.valid = true;
  return target;
}

int vector_start(const VectorTarget& target) {
  if (g_pass.active || !target) return 0;
  ImageBuffer* buffer = image_handle(target.image);
  if (!buffer || buffer->width <= 0 || buffer->height <= 0) return 0;
  size_t count = static_cast<size_t>(buffer->width) * static_cast<size_t>(buffer->height);
  if (buffer->pixels.size() < count * 4) return 0;
  if (!text_gdiplus_start()) return 0;

  g_pass.image = target.image;
  g_pass.buffer = buffer;
  g_pass.width = buffer->width;
  g_pass.height = buffer->height;
  bool opaque = buffer->depth == 24;
  g_pixels.resize(count);
  for (size_t i = 0; i < count; ++i) g_pixels[i] = premultiply(&buffer->pixels[i * 4], opaque);

  if (gdip::GdipCreateBitmapFromScan0(buffer->width, buffer->height, buffer->width * 4, PixelFormat32bppPARGB,
                                      reinterpret_cast<BYTE*>(g_pixels.data()), &g_pass.bitmap) != gp::Ok ||
      !set_up_graphics()) {
    release_pass();
    return 0;
  }
  g_pass.active = true;
  return 1;
}

void vector_font(const TextFont* font) {
  if (!g_pass.active) return;
  g_pass.font = font ? text_font_copy(*font) : nullptr;
}

void vector_color(uint32_t rgba) {
  if (!g_pass.active) return;
  // 0xAABBGGRR to GDI+'s 0xAARRGGBB.
  uint32_t argb = (rgba & 0xFF00FF00u) | ((rgba & 0xFF) << 16) | ((rgba >> 16) & 0xFF);
  gdip::GdipSetSolidFillColor(g_pass.brush, argb);
}

void vector_move_to(double x, double y) {
  if (!g_pass.active || !std::isfinite(x) || !std::isfinite(y)) return;
  g_pass.x = clamp_pen(x);
  g_pass.y = clamp_pen(y);
}

double vector_pen_x() { return g_pass.x; }
double vector_pen_y() { return g_pass.y; }

void vector_draw_text(const std::string& text) {
  std::wstring wide = pass_text(text);
  if (wide.empty()) return;
  const TextFont& font = text_font_for(*g_pass.font, wide);
  gp::RectF at(static_cast<gp::REAL>(g_pass.x), static_cast<gp::REAL>(g_pass.y), 0, 0);
  gdip::GdipDrawString(g_pass.graphics, wide.c_str(), length_of(wide), font.font, &at, g_pass.format, g_pass.brush);
  double width = line_width(font, wide, g_pass.format);
  decorate_line(font, g_pass.x, g_pass.y, width);
  g_pass.x = clamp_pen(g_pass.x + width);
}

double vector_text_width(const std::string& text) {
  std::wstring wide = pass_text(text);
  if (wide.empty()) return 0;
  return line_width(text_font_for(*g_pass.font, wide), wide, g_pass.format);
}

void vector_draw_paragraph(const std::string& text, double box_width, double box_height, int flags) {
  if (!std::isfinite(box_width) || !std::isfinite(box_height)) return;
  std::wstring wide = pass_text(text);
  if (wide.empty()) return;
  const TextFont& font = text_font_for(*g_pass.font, wide);
  bool wrap = box_width > 0;
  bool cut = box_height > 0;

  gp::GpStringFormat* format = nullptr;
  if (gdip::GdipCloneStringFormat(g_pass.format, &format) != gp::Ok) return;
  INT format_flags = 0;
  gdip::GdipGetStringFormatFlags(format, &format_flags);
  format_flags &= ~(gp::StringFormatFlagsNoWrap | gp::StringFormatFlagsLineLimit | gp::StringFormatFlagsNoClip |
                    gp::StringFormatFlagsNoFitBlackBox | gp::StringFormatFlagsMeasureTrailingSpaces);
  if (!wrap) format_flags |= gp::StringFormatFlagsNoWrap;
  gdip::GdipSetStringFormatFlags(format, format_flags);
  gp::StringAlignment align = (flags & kParagraphRight)    ? gp::StringAlignmentFar
                              : (flags & kParagraphCentre) ? gp::StringAlignmentCenter
                                                           : gp::StringAlignmentNear;
  gdip::GdipSetStringFormatAlign(format, align);
  gdip::GdipSetStringFormatLineAlign(format, gp::StringAlignmentNear);
  gdip::GdipSetStringFormatTrimming(format, gp::StringTrimmingNone);

  // Without a box width the lines align within the widest of them, which
  // starts at the pen. The layout is as tall as the text needs; the clip
  // does the cutting.
  double width = wrap ? std::min(box_width, kPenLimit) : line_width(font, wide, format);
  gp::RectF layout(static_cast<gp::REAL>(g_pass.x), static_cast<gp::REAL>(g_pass.y), static_cast<gp::REAL>(width),
                   static_cast<gp::REAL>(kPenLimit));
  double taken = measure(font, wide, layout, format).Height;

  double left = wrap ? g_pass.x : -1.0;
  double right = wrap ? g_pass.x + box_width : g_pass.width + 1.0;
  double top = cut ? g_pass.y : -1.0;
  double bottom = cut ? g_pass.y + box_height : g_pass.height + 1.0;
  gdip::GdipSetClipRect(g_pass.graphics, static_cast<gp::REAL>(left), static_cast<gp::REAL>(top),
                        static_cast<gp::REAL>(right - left), static_cast<gp::REAL>(bottom - top),
                        gp::CombineModeReplace);
  gdip::GdipDrawString(g_pass.graphics, wide.c_str(), length_of(wide), font.font, &layout, format, g_pass.brush);
  if (font.flags & (kFontUnderline | kFontStrikeOut)) decorate_paragraph(font, wide, layout, format);
  gdip::GdipResetClip(g_pass.graphics);
  gdip::GdipDeleteStringFormat(format);

  if (cut) taken = std::min(taken, box_height);
  g_pass.y = clamp_pen(g_pass.y + taken);
}

void vector_stop() {
  if (!g_pass.active) return;
  gdip::GdipFlush(g_pass.graphics, gp::FlushIntentionSync);
  // The bitmap goes before its pixels are read: GDI+ may hold them until
  // then.
  gdip::GdipDeleteGraphics(g_pass.graphics);
  g_pass.graphics = nullptr;
  gdip::GdipDisposeImage(g_pass.bitmap);
  g_pass.bitmap = nullptr;
  // The image may have been freed or made anew under its number during the
  // pass; then the drawing has nowhere to go.
  ImageBuffer* buffer = image_handle(g_pass.image);
  if (buffer == g_pass.buffer && buffer->width == g_pass.width && buffer->height == g_pass.height &&
      buffer->pixels.size() >= g_pixels.size() * 4) {
    // Only the pixels the pass changed are converted back; every other
    // pixel keeps its exact value (premultiplying loses colour where alpha
    // is low).
    bool opaque = buffer->depth == 24;
    for (size_t i = 0; i < g_pixels.size(); ++i) {
      uint8_t* px = &buffer->pixels[i * 4];
      if (g_pixels[i] != premultiply(px, opaque)) unpremultiply(g_pixels[i], px, opaque);
    }
  }
  release_pass();
}

void text_reset() {
  vector_stop();
  font_free(-1);
  text_gdiplus_stop();
  std::vector<uint32_t>().swap(g_pixels);
}
