// Decoding a picture and stretching it in one go: whether the rows are
// stretched as they are read (8-bit RGB and RGBA) or the picture is decoded
// whole first (every other kind), the result must be exactly a whole decode
// followed by the smooth stretch, and damaged data must fail exactly when a
// whole decode fails.
#include <gtest/gtest.h>
#include <png.h>

#include <utility>
#include <vector>

#include "engine/image/image_buffer.h"
#include "tests/engine/image/png_writer.h"

namespace {

// A w x h PNG of colour type `type` at 8 or 16 bits, plain or interlaced,
// with every sample different from its neighbours.
std::vector<uint8_t> png_file(int w, int h, int type, int bits, bool interlaced) {
  const int channels = type == PNG_COLOR_TYPE_RGB ? 3 : type == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                       : type == PNG_COLOR_TYPE_GRAY_ALPHA                           ? 2
                                                                                     : 1;
  const int bytes = bits / 8;
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < channels * bytes; ++c)
        rows[static_cast<size_t>(y)].push_back(static_cast<uint8_t>((x * 37 + y * 91 + c * 53) ^ (x * y)));
  png_writer::PngSpec spec;
  spec.width = w;
  spec.height = h;
  spec.color_type = type;
  spec.bit_depth = bits;
  spec.interlaced = interlaced;
  if (type == PNG_COLOR_TYPE_PALETTE) {
    for (int i = 0; i < 256; ++i)
      spec.palette.push_back({static_cast<png_byte>(i), static_cast<png_byte>(255 - i), static_cast<png_byte>(i * 7)});
  }
  return png_writer::write_png(spec, std::move(rows));
}

// What the combined call must equal: a whole decode, then the stretch.
std::unique_ptr<ImageBuffer> decode_then_stretch(const std::vector<uint8_t>& file, ImageRect rect, int width,
                                                 int height) {
  auto whole = image_decode(file.data(), file.size());
  if (!whole) return nullptr;
  auto out = std::make_unique<ImageBuffer>();
  out->width = width;
  out->height = height;
  out->depth = whole->depth;
  out->pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  image_stretch_smooth(*whole, rect.x, rect.y, rect.width, rect.height, out.get());
  return out;
}

ImageChooseRect always(ImageRect rect) {
  return [rect](int, int, ImageRect* out) {
    *out = rect;
    return true;
  };
}

TEST(DecodeStretched, EqualsAWholeDecodeThenTheStretchForEveryKindOfPng) {
  struct Kind {
    int type, bits;
    bool interlaced;
  };
  // The first two are read row by row; the others are decoded whole.
  const Kind kinds[] = {{PNG_COLOR_TYPE_RGB, 8, false},       {PNG_COLOR_TYPE_RGB_ALPHA, 8, false},
                        {PNG_COLOR_TYPE_RGB, 8, true},        {PNG_COLOR_TYPE_RGB_ALPHA, 16, false},
                        {PNG_COLOR_TYPE_PALETTE, 8, false},   {PNG_COLOR_TYPE_GRAY, 8, false},
                        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false}};
  for (const Kind& kind : kinds) {
    for (auto [w, h] : {std::pair{37, 23}, std::pair{96, 54}, std::pair{5, 40}}) {
      const std::vector<uint8_t> file = png_file(w, h, kind.type, kind.bits, kind.interlaced);
      ASSERT_FALSE(file.empty());
      // The whole picture, its middle, and a corner piece; shrunk, enlarged
      // and squeezed one way while stretched the other.
      const ImageRect rects[] = {{0, 0, w, h}, {1, 2, w - 3, h - 4}, {w / 2, h / 3, w - w / 2, h - h / 3}};
      for (const ImageRect& rect : rects) {
        for (auto [ow, oh] : {std::pair{17, 9}, std::pair{130, 71}, std::pair{w, 3}}) {
          SCOPED_TRACE(testing::Message() << "type " << kind.type << " bits " << kind.bits << " interlaced "
                                          << kind.interlaced << " " << w << "x" << h << " rect " << rect.x << ","
                                          << rect.y << " " << rect.width << "x" << rect.height << " to " << ow
                                          << "x" << oh);
          auto want = decode_then_stretch(file, rect, ow, oh);
          auto got = image_decode_stretched(file.data(), file.size(), ow, oh, always(rect));
          ASSERT_TRUE(want && got);
          EXPECT_EQ(got->width, ow);
          EXPECT_EQ(got->height, oh);
          EXPECT_EQ(got->depth, want->depth);
          ASSERT_TRUE(got->pixels == want->pixels);
        }
      }
    }
  }
}

TEST(DecodeStretched, ThePictureComesBackWholeWhenNoRectangleIsChosen) {
  const std::vector<uint8_t> file = png_file(40, 30, PNG_COLOR_TYPE_RGB, 8, false);
  int seen_w = 0, seen_h = 0;
  auto got = image_decode_stretched(file.data(), file.size(), 40, 30, [&](int w, int h, ImageRect*) {
    seen_w = w;
    seen_h = h;
    return false;
  });
  auto want = image_decode(file.data(), file.size());
  ASSERT_TRUE(got && want);
  EXPECT_EQ(seen_w, 40);
  EXPECT_EQ(seen_h, 30);
  EXPECT_EQ(got->width, 40);
  EXPECT_EQ(got->depth, want->depth);
  EXPECT_TRUE(got->pixels == want->pixels);
}

TEST(DecodeStretched, DamagedDataFailsExactlyWhenAWholeDecodeFails) {
  for (int type : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA}) {
    const std::vector<uint8_t> file = png_file(64, 48, type, 8, false);
    const ImageRect middle{3, 4, 50, 40};
    // Cut short anywhere: in the header, in the picture data, before its end.
    for (size_t keep = 0; keep < file.size(); keep += keep < 80 ? 1 : 97) {
      std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(keep));
      const bool whole = image_decode(cut.data(), cut.size()) != nullptr;
      const bool stretched = image_decode_stretched(cut.data(), cut.size(), 20, 15, always(middle)) != nullptr;
      ASSERT_EQ(stretched, whole) << "type " << type << " cut to " << keep << " of " << file.size() << " bytes";
    }
    // One byte changed in the picture data (its chunk's CRC no longer
    // matches), early and late in it.
    for (size_t at : {file.size() / 3, file.size() - 20}) {
      std::vector<uint8_t> changed = file;
      changed[at] ^= 0x40;
      EXPECT_EQ(image_decode(changed.data(), changed.size()), nullptr);
      EXPECT_EQ(image_decode_stretched(changed.data(), changed.size(), 20, 15, always(middle)), nullptr)
          << "changed at " << at;
    }
    // Pixels that fail their own checksum (every chunk's CRC right), the
    // checksum with the last pixels or in a data chunk of its own.
    for (size_t last_chunk : {size_t{0}, size_t{4}}) {
      const std::vector<uint8_t> broken = png_writer::rechunk(file, last_chunk, true);
      EXPECT_EQ(image_decode_stretched(broken.data(), broken.size(), 20, 15, always(middle)), nullptr)
          << "checksum broken, last data chunk of " << last_chunk << " bytes";
    }
  }
}

TEST(DecodeStretched, RectanglesOutsideThePictureAndBadSizesAreRefused) {
  const std::vector<uint8_t> file = png_file(40, 30, PNG_COLOR_TYPE_RGB, 8, false);
  for (ImageRect rect : {ImageRect{-1, 0, 10, 10}, ImageRect{0, 0, 41, 30}, ImageRect{35, 0, 6, 30},
                         ImageRect{0, 25, 40, 6}, ImageRect{0, 0, 0, 30}}) {
    EXPECT_EQ(image_decode_stretched(file.data(), file.size(), 10, 10, always(rect)), nullptr)
        << rect.x << "," << rect.y << " " << rect.width << "x" << rect.height;
  }
  EXPECT_EQ(image_decode_stretched(file.data(), file.size(), 0, 10, always({0, 0, 40, 30})), nullptr);
  EXPECT_EQ(image_decode_stretched(file.data(), file.size(), kImageMaxSide + 1, 10, always({0, 0, 40, 30})), nullptr);
  EXPECT_EQ(image_decode_stretched(nullptr, 0, 10, 10, always({0, 0, 40, 30})), nullptr);
  const char junk[] = "not a picture at all";
  EXPECT_EQ(image_decode_stretched(junk, sizeof junk, 10, 10, always({0, 0, 1, 1})), nullptr);
}

// The start-up check of a picture shown later must say yes exactly when the
// decode it stands for would give a picture of the wanted size.
TEST(DecodeStretched, TheCheckAgreesWithTheDecodeItStandsFor) {
  ImageBuffer scratch;
  for (bool interlaced : {false, true}) {  // read row by row, decoded whole
    const std::vector<uint8_t> file = png_file(64, 48, PNG_COLOR_TYPE_RGB_ALPHA, 8, interlaced);
    std::vector<std::vector<uint8_t>> inputs = {file, png_writer::rechunk(file, 0, true),
                                                png_writer::rechunk(file, 4, true)};
    for (size_t keep : {size_t{20}, file.size() / 2, file.size() - 13, file.size() - 1})
      inputs.emplace_back(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(keep));
    for (size_t at : {file.size() / 3, file.size() - 20}) {
      inputs.push_back(file);
      inputs.back()[at] ^= 0x40;
    }
    const ImageChooseRect chooses[] = {always({3, 4, 50, 40}), always({0, 0, 65, 48}), always({60, 0, 5, 10}),
                                       [](int, int, ImageRect*) { return false; }};
    for (size_t i = 0; i < inputs.size(); ++i) {
      for (size_t c = 0; c < std::size(chooses); ++c) {
        for (auto [w, h] : {std::pair{20, 15}, std::pair{64, 48}}) {
          const std::vector<uint8_t>& in = inputs[i];
          auto made = image_decode_stretched(in.data(), in.size(), w, h, chooses[c]);
          const bool want = made && made->width == w && made->height == h;
          EXPECT_EQ(image_check_stretched(in.data(), in.size(), w, h, chooses[c], &scratch), want)
              << "interlaced " << interlaced << " input " << i << " choice " << c << " to " << w << "x" << h;
        }
      }
    }
  }
}

}  // namespace
