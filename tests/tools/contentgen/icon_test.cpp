// The game's icon: one drawing at every size, the Windows icon file that
// holds it, the scalable SVG, and the files the build made from them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/pack/pack.h"
#include "engine/system/file.h"
#include "tools/contentgen/icon.h"
#include "tools/contentgen/palette.h"

namespace {

unsigned u16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  return u16(b, at) | (static_cast<uint32_t>(u16(b, at + 2)) << 16);
}

// Mean difference per channel (alpha-weighted colour plus alpha) of two
// pictures of one size, 0 to 255.
double mean_difference(const Picture& a, const Picture& b) {
  double sum = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const uint8_t* p = a.at(x, y);
      const uint8_t* q = b.at(x, y);
      for (int c = 0; c < 3; ++c) sum += std::abs(p[c] * p[3] - q[c] * q[3]) / 255.0;
      sum += std::abs(p[3] - q[3]);
    }
  }
  return sum / (4.0 * a.width * a.height);
}

TEST(Icon, AnOwlOnATileWithRoomAroundIt) {
  const Picture icon = icon_picture(256);
  ASSERT_EQ(icon.width, 256);
  ASSERT_EQ(icon.height, 256);
  ASSERT_TRUE(icon.alpha);
  // Corners outside the rounded tile are clear, its middle is opaque.
  for (int x : {0, 255}) {
    for (int y : {0, 255}) EXPECT_EQ(icon.at(x, y)[3], 0) << x << "," << y;
  }
  EXPECT_EQ(icon.at(128, 128)[3], 255);
  // The owl's amber body covers a good part of the middle.
  const Rgb amber = palette::kAmber;
  int owl = 0;
  for (int y = 96; y < 224; ++y) {
    for (int x = 64; x < 192; ++x) {
      const uint8_t* p = icon.at(x, y);
      if (std::abs(p[0] - amber.r * 255) < 3 && std::abs(p[1] - amber.g * 255) < 3 &&
          std::abs(p[2] - amber.b * 255) < 3) {
        ++owl;
      }
    }
  }
  EXPECT_GT(owl, 128 * 128 / 5);
}

TEST(Icon, EverySizeIsTheSameDrawing) {
  const Picture large = icon_picture(512);
  for (int size : {48, 64, 128, 256}) {
    const Picture drawn = icon_picture(size);
    const Picture scaled = picture_resize(large, size, size);
    EXPECT_LT(mean_difference(drawn, scaled), 6.0) << size;
  }
  // A different drawing would be far off: the icon against itself turned over.
  Picture flipped = icon_picture(64);
  const Picture upright = flipped;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      for (int c = 0; c < 4; ++c) flipped.at(x, y)[c] = upright.at(x, 63 - y)[c];
    }
  }
  EXPECT_GT(mean_difference(flipped, upright), 6.0);
}

TEST(Icon, WindowsIconFileHoldsEverySizeAsBitmapOrPng) {
  std::vector<Picture> pictures;
  for (int size : kWindowsIconSizes) pictures.push_back(icon_picture(size));
  const std::vector<uint8_t> ico = icon_file(pictures);
  ASSERT_GE(ico.size(), 6u + 16 * pictures.size());
  EXPECT_EQ(u16(ico, 0), 0u);
  EXPECT_EQ(u16(ico, 2), 1u);  // icon, not cursor
  ASSERT_EQ(u16(ico, 4), pictures.size());
  size_t end = 6 + 16 * pictures.size();
  for (size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(pictures[i].width);
    const size_t entry = 6 + 16 * i;
    const int side = pictures[i].width;
    EXPECT_EQ(ico[entry], side == 256 ? 0 : side);
    EXPECT_EQ(ico[entry + 1], side == 256 ? 0 : side);
    EXPECT_EQ(u16(ico, entry + 6), 32u);
    const uint32_t size = u32(ico, entry + 8), offset = u32(ico, entry + 12);
    ASSERT_EQ(offset, end) << "images follow each other";
    ASSERT_LE(offset + size, ico.size());
    end = offset + size;
    const std::vector<uint8_t> image(ico.begin() + offset, ico.begin() + offset + size);
    if (side == 256) {
      Picture decoded;
      ASSERT_TRUE(png_decode(image, &decoded));
      EXPECT_EQ(decoded.rgba, pictures[i].rgba);
      continue;
    }
    EXPECT_EQ(image, icon_bitmap(pictures[i]));
    // The bitmap: twice the height (pixels and mask), bottom row first, BGRA.
    EXPECT_EQ(u32(image, 4), static_cast<uint32_t>(side));
    EXPECT_EQ(u32(image, 8), static_cast<uint32_t>(2 * side));
    const uint8_t* top_middle = &image[40 + (static_cast<size_t>(side - 1) * side + side / 2) * 4];
    const uint8_t* p = pictures[i].at(side / 2, 0);
    EXPECT_EQ(top_middle[0], p[2]);
    EXPECT_EQ(top_middle[2], p[0]);
    EXPECT_EQ(top_middle[3], p[3]);
  }
  EXPECT_EQ(end, ico.size());
  Picture too_large;
  too_large.width = too_large.height = 257;
  too_large.rgba.assign(257 * 257 * 4, 0);
  EXPECT_TRUE(icon_file({too_large}).empty());
}

TEST(Icon, ScalableVersionIsPlainVectors) {
  const std::string svg = icon_svg();
  ASSERT_FALSE(svg.empty());
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 512 512\""), std::string::npos);
  EXPECT_NE(svg.find("<path"), std::string::npos);
  // No embedded raster picture: it would look blurred when scaled up.
  EXPECT_EQ(svg.find("<image"), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

// The drawing commands of an SVG document, in order: its elements' "d"
// attributes. (Cairo numbers its elements' ids per process, so the same
// drawing made by two processes differs in those.)
std::vector<std::string> svg_paths(const std::string& svg) {
  std::vector<std::string> paths;
  for (size_t at = svg.find(" d=\""); at != std::string::npos; at = svg.find(" d=\"", at + 1)) {
    paths.push_back(svg.substr(at, svg.find('"', at + 4) - at));
  }
  return paths;
}

// The files the build made: the same drawing, and the data pack's window
// icon is the 128-pixel one.
TEST(Icon, TheBuiltFilesAreTheOnesGeneratedHere) {
  const char* build = std::getenv("DUSK_BINARY_DIR");
  ASSERT_NE(build, nullptr);
  const std::string icons = std::string(build) + "/data/icons/";
  std::vector<uint8_t> bytes;
  if (!file_read_all(icons + "icon-128.png", &bytes)) GTEST_SKIP() << "the icons have not been built";
  for (int size : kThemeIconSizes) {
    SCOPED_TRACE(size);
    ASSERT_TRUE(file_read_all(icons + "icon-" + std::to_string(size) + ".png", &bytes));
    Picture built;
    ASSERT_TRUE(png_decode(bytes, &built));
    EXPECT_EQ(built.rgba, icon_picture(size).rgba);
  }
  ASSERT_TRUE(file_read_all(icons + "icon.svg", &bytes));
  const std::vector<std::string> built_paths = svg_paths(std::string(bytes.begin(), bytes.end()));
  EXPECT_GT(built_paths.size(), 10u);
  EXPECT_EQ(built_paths, svg_paths(icon_svg()));
  std::vector<Picture> pictures;
  for (int size : kWindowsIconSizes) pictures.push_back(icon_picture(size));
  ASSERT_TRUE(file_read_all(icons + "Duskmatch.ico", &bytes));
  EXPECT_EQ(bytes, icon_file(pictures));

  pack_register_formats();
  const int pack = pack_open(-1, std::string(build) + "/bin/DuskmatchData.pack", kPackFormatData);
  if (pack == 0) GTEST_SKIP() << "the data pack has not been built";
  std::vector<uint8_t> entry(204800);
  const int64_t got = pack_read_entry(pack, entry.data(), static_cast<int64_t>(entry.size()), "icon.png");
  pack_close(pack);
  pack_shutdown();
  ASSERT_GT(got, 0) << "the data pack has no window icon";
  entry.resize(static_cast<size_t>(got));
  Picture window_icon;
  ASSERT_TRUE(png_decode(entry, &window_icon));
  EXPECT_EQ(window_icon.width, kWindowIconSize);
  EXPECT_EQ(window_icon.rgba, icon_picture(kWindowIconSize).rgba);
}

}  // namespace
