// The owl icon at every size the desktops ask for, the scalable SVG and the
// Windows icon file, all from one vector drawing.
#include "tools/contentgen/icon.h"

#include <cairo-svg.h>

#include <cmath>
#include <cstdio>

#include "engine/system/bytes.h"
#include "engine/system/file.h"
#include "tools/contentgen/canvas.h"
#include "tools/contentgen/motifs.h"
#include "tools/contentgen/palette.h"

namespace {

// The crescent of the game's pictures (motifs.h) as a clipped fill rather
// than a group with a cut-out: the SVG keeps it as vectors that way.
void crescent(cairo_t* cr, double cx, double cy, double r, double bite, double angle, Rgb colour) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, cx - 2 * r, cy - 2 * r, 4 * r, 4 * r);
  cairo_arc(cr, cx + std::cos(angle) * bite * r, cy + std::sin(angle) * bite * r, r * 0.92, 0,
            2 * M_PI);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  set_colour(cr, colour);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Draws the icon into the unit square (0, 0) to (1, 1) of cr. `pixels` is
// the size it will be seen at: below 32 pixels the small ornaments would
// only blur the owl, so they are left out.
void draw_icon(cairo_t* cr, double pixels) {
  // The tile: a rounded square with a little room around it, as the other
  // icons of a menu have.
  const double inset = 0.04, radius = 0.2;
  rounded_rect(cr, inset, inset, 1 - 2 * inset, 1 - 2 * inset, radius);
  cairo_pattern_t* ground = cairo_pattern_create_radial(0.5, 0.38, 0.05, 0.5, 0.5, 0.72);
  const Rgb lit = palette::kViolet, dark = palette::kNight;
  cairo_pattern_add_color_stop_rgb(ground, 0, lit.r, lit.g, lit.b);
  cairo_pattern_add_color_stop_rgb(ground, 1, dark.r, dark.g, dark.b);
  cairo_set_source(cr, ground);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(ground);
  set_colour(cr, palette::kAmber);
  cairo_set_line_width(cr, pixels < 32 ? 0.05 : 0.03);
  cairo_stroke(cr);
  // The studio's emblem: the owl inside an amber ring.
  const double cx = 0.5, cy = 0.52;
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, 0.33, 0, 2 * M_PI);
  set_colour(cr, hex(0x1c1738));
  cairo_fill_preserve(cr);
  set_colour(cr, palette::kAmber);
  cairo_set_line_width(cr, pixels < 32 ? 0.06 : 0.04);
  cairo_stroke(cr);
  draw_owl(cr, cx, cy + 0.03, 0.5,
           {palette::kAmber, palette::kCream, hex(0x1c1738), palette::kAmber, palette::kEmber});
  if (pixels >= 32) {
    crescent(cr, 0.8, 0.2, 0.075, 0.45, -2.3, palette::kCream);
    draw_twinkle(cr, 0.2, 0.22, 0.05, palette::kCream, 0.9);
    draw_twinkle(cr, 0.83, 0.8, 0.035, palette::kCream, 0.7);
  }
}

cairo_status_t append_to_string(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

Picture icon_picture(int size) {
  Canvas canvas(size, size);
  cairo_scale(canvas.cr(), size, size);
  draw_icon(canvas.cr(), size);
  return canvas.picture(true);
}

std::string icon_svg() {
  constexpr double kSide = 512;
  std::string svg;
  cairo_surface_t* surface =
      cairo_svg_surface_create_for_stream(append_to_string, &svg, kSide, kSide);
  // Plain user units: the document scales to whatever size it is shown at.
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_USER);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, kSide, kSide);
  draw_icon(cr, kSide);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok ? svg : std::string();
}

std::vector<uint8_t> icon_bitmap(const Picture& picture) {
  std::vector<uint8_t> out;
  const int w = picture.width, h = picture.height;
  const uint32_t mask_stride = ((static_cast<uint32_t>(w) + 31) / 32) * 4;
  const uint32_t pixel_bytes = static_cast<uint32_t>(w) * h * 4;
  bytes_put_u32(&out, 40);                            // header size
  bytes_put_u32(&out, static_cast<uint32_t>(w));
  bytes_put_u32(&out, static_cast<uint32_t>(h * 2));  // colour rows plus mask rows
  bytes_put_u16(&out, 1);                             // planes
  bytes_put_u16(&out, 32);                            // bits per pixel
  bytes_put_u32(&out, 0);                             // no compression
  bytes_put_u32(&out, pixel_bytes + mask_stride * h);
  for (int i = 0; i < 4; ++i) bytes_put_u32(&out, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = picture.at(x, y);
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
      out.push_back(picture.alpha ? p[3] : 255);
    }
  }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(mask_stride, 0);
    for (int x = 0; x < w; ++x) {
      if (picture.alpha && picture.at(x, y)[3] == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<uint8_t> icon_file(const std::vector<Picture>& pictures) {
  std::vector<std::vector<uint8_t>> images;
  for (const Picture& p : pictures) {
    if (p.width <= 0 || p.height <= 0 || p.width > 256 || p.height > 256) return {};
    // Windows reads the large picture as PNG (since Vista); as a bitmap it
    // would take a quarter of a megabyte.
    images.push_back(p.width == 256 ? png_encode(p, 9) : icon_bitmap(p));
    if (images.back().empty()) return {};
  }
  std::vector<uint8_t> out;
  bytes_put_u16(&out, 0);  // reserved
  bytes_put_u16(&out, 1);  // resource type: icon
  bytes_put_u16(&out, static_cast<unsigned>(pictures.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    out.push_back(static_cast<uint8_t>(pictures[i].width == 256 ? 0 : pictures[i].width));
    out.push_back(static_cast<uint8_t>(pictures[i].height == 256 ? 0 : pictures[i].height));
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    bytes_put_u16(&out, 1);    // planes
    bytes_put_u16(&out, 32);   // bits per pixel
    bytes_put_u32(&out, static_cast<uint32_t>(images[i].size()));
    bytes_put_u32(&out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::vector<uint8_t>& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

bool write_icon_files(const std::string& folder) {
  bool ok = true;
  auto write = [&](const std::string& name, const void* data, size_t size) {
    if (size == 0 || !file_write_atomic(folder + name, data, size)) {
      std::fprintf(stderr, "contentgen: cannot write %s%s\n", folder.c_str(), name.c_str());
      ok = false;
    }
  };
  for (int size : kThemeIconSizes) {
    const std::vector<uint8_t> png = png_encode(icon_picture(size), 9);
    write("icon-" + std::to_string(size) + ".png", png.data(), png.size());
  }
  const std::string svg = icon_svg();
  write("icon.svg", svg.data(), svg.size());
  std::vector<Picture> windows;
  for (int size : kWindowsIconSizes) windows.push_back(icon_picture(size));
  const std::vector<uint8_t> ico = icon_file(windows);
  write("Duskmatch.ico", ico.data(), ico.size());
  return ok;
}
