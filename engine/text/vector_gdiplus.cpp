// The vector drawing pass on GDI+: text drawn into the pass's pixels at the
// pen, measured with the same typographic format, and wrapped
// paragraphs aligned and cut to their box.
#include "engine/text/text.h"
#include "engine/text/text_gdiplus.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace gp = Gdiplus;
namespace gdip = Gdiplus::DllExports;

namespace {

// What GDI+ keeps for the one pass. It draws premultiplied pixels most
// exactly, which is what the pass gives it.
struct GdiplusPass {
  gp::GpBitmap* bitmap = nullptr;
  gp::GpGraphics* graphics = nullptr;
  gp::GpStringFormat* format = nullptr;  // typographic, trailing blanks measured
  gp::GpSolidFill* brush = nullptr;
  std::unique_ptr<TextFont> font;  // a copy: the font may be freed during the pass
};

GdiplusPass g_pass;

// The text to draw in the current font, or "" when nothing can be drawn.
std::wstring pass_text(const std::string& text) {
  if (!g_pass.font) return std::wstring();
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

// Sets up a graphics object on the pass's bitmap: pixel units, pixel edges
// on whole numbers, greyscale antialiased grid-fitted text, and the
// typographic format with trailing blanks measured.
bool set_up_graphics() {
  if (gdip::GdipGetImageGraphicsContext(g_pass.bitmap, &g_pass.graphics) != gp::Ok) return false;
  gdip::GdipSetPageUnit(g_pass.graphics, gp::UnitPixel);
  // Whole numbers are pixel centres: pixel (0, 0) spans -0.5 to 0.5, so the
  // pen at (0, 0) puts the text's top-left corner in the middle of the
  // first pixel, as in the Linux build. Said outright rather than left to
  // the default offset mode: pixel edges on whole device numbers, and all
  // drawing moved by half a pixel.
  gdip::GdipSetPixelOffsetMode(g_pass.graphics, gp::PixelOffsetModeHalf);
  gdip::GdipTranslateWorldTransform(g_pass.graphics, 0.5f, 0.5f, gp::MatrixOrderPrepend);
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

bool vector_backend_ready(int) { return text_gdiplus_start(); }

bool vector_backend_start(uint32_t* pixels, int width, int height) {
  return gdip::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                         reinterpret_cast<BYTE*>(pixels), &g_pass.bitmap) == gp::Ok &&
         set_up_graphics();
}

bool vector_backend_font(const TextFont* font) {
  g_pass.font = font ? text_font_copy(*font) : nullptr;
  return g_pass.font != nullptr;
}

void vector_backend_color(uint32_t rgba) {
  // 0xAABBGGRR to GDI+'s 0xAARRGGBB.
  uint32_t argb = (rgba & 0xFF00FF00u) | ((rgba & 0xFF) << 16) | ((rgba >> 16) & 0xFF);
  gdip::GdipSetSolidFillColor(g_pass.brush, argb);
}

double vector_backend_draw_text(const std::string& text, double x, double y) {
  std::wstring wide = pass_text(text);
  if (wide.empty()) return -1;
  const TextFont& font = text_font_for(*g_pass.font, wide);
  gp::RectF at(static_cast<gp::REAL>(x), static_cast<gp::REAL>(y), 0, 0);
  gdip::GdipDrawString(g_pass.graphics, wide.c_str(), length_of(wide), font.font, &at, g_pass.format, g_pass.brush);
  double width = line_width(font, wide, g_pass.format);
  decorate_line(font, x, y, width);
  return width;
}

double vector_backend_text_width(const std::string& text) {
  std::wstring wide = pass_text(text);
  if (wide.empty()) return 0;
  return line_width(text_font_for(*g_pass.font, wide), wide, g_pass.format);
}

double vector_backend_draw_paragraph(const std::string& text, double x, double y, double box_width, int flags,
                                     const VectorClip& clip) {
  std::wstring wide = pass_text(text);
  if (wide.empty()) return -1;
  const TextFont& font = text_font_for(*g_pass.font, wide);
  bool wrap = box_width > 0;

  gp::GpStringFormat* format = nullptr;
  if (gdip::GdipCloneStringFormat(g_pass.format, &format) != gp::Ok) return -1;
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
  double width = wrap ? std::min(box_width, kVectorPenLimit) : line_width(font, wide, format);
  gp::RectF layout(static_cast<gp::REAL>(x), static_cast<gp::REAL>(y), static_cast<gp::REAL>(width),
                   static_cast<gp::REAL>(kVectorPenLimit));
  double taken = measure(font, wide, layout, format).Height;

  // The cut takes whole pixels, those whose centres lie in the box: its
  // edges go half a pixel out to the pixels' own edges.
  gdip::GdipSetClipRect(g_pass.graphics, static_cast<gp::REAL>(clip.left - 0.5),
                        static_cast<gp::REAL>(clip.top - 0.5), static_cast<gp::REAL>(clip.right - clip.left),
                        static_cast<gp::REAL>(clip.bottom - clip.top), gp::CombineModeReplace);
  gdip::GdipDrawString(g_pass.graphics, wide.c_str(), length_of(wide), font.font, &layout, format, g_pass.brush);
  if (font.flags & (kFontUnderline | kFontStrikeOut)) decorate_paragraph(font, wide, layout, format);
  gdip::GdipResetClip(g_pass.graphics);
  gdip::GdipDeleteStringFormat(format);
  return taken;
}

void vector_backend_finish() {
  gdip::GdipFlush(g_pass.graphics, gp::FlushIntentionSync);
  // The bitmap goes before its pixels are read: GDI+ may hold them until
  // then.
  gdip::GdipDeleteGraphics(g_pass.graphics);
  g_pass.graphics = nullptr;
  gdip::GdipDisposeImage(g_pass.bitmap);
  g_pass.bitmap = nullptr;
}

void vector_backend_release() {
  g_pass.font.reset();
  if (g_pass.brush) gdip::GdipDeleteBrush(g_pass.brush);
  if (g_pass.format) gdip::GdipDeleteStringFormat(g_pass.format);
  if (g_pass.graphics) gdip::GdipDeleteGraphics(g_pass.graphics);
  if (g_pass.bitmap) gdip::GdipDisposeImage(g_pass.bitmap);
  g_pass = GdiplusPass();
}
