// Fitting a full-screen picture (a background, the title, the studio logo)
// to the screen size through the two scratch images.
#include <cstdint>
#include <memory>
#include <utility>

#include "app/display.h"
#include "engine/image/image.h"
#include "engine/screen/screen.h"
#include "game/assets.h"

namespace {

// Stores the rectangle x, y, w x h of src smoothly stretched to width x
// height as scratch image 1. The stretch reads the rectangle in place, so
// nothing is cut out or copied first.
bool StretchIntoResult(const ImageBuffer& src, int x, int y, int w, int h, int width, int height) {
  auto result = std::make_unique<ImageBuffer>();
  result->width = width;
  result->height = height;
  result->depth = src.depth;
  result->pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  image_stretch_smooth(src, x, y, w, h, result.get());
  return image_store(kFitResultImage, std::move(result)) != 0;
}

// Makes scratch image 1 exactly width x height from scratch image 0.
bool FitScratchImage(int width, int height) {
  ImageBuffer* source = image_handle(kFitSourceImage);
  if (source == nullptr || source->width <= 0 || source->height <= 0) return false;
  const int w = source->width;
  const int h = source->height;
  if (width > kImageMaxSide || height > kImageMaxSide) return false;
  if (w == width && h == height) {
    // The decoded pixels themselves become the result; image 0 is left
    // empty and freed as before.
    auto whole = std::make_unique<ImageBuffer>(std::move(*source));
    return image_store(kFitResultImage, std::move(whole)) != 0;
  }
  // Pictures and screens of the same rough shape (the same integer quotient
  // of width by height) are simply stretched, distorting a little.
  if (w / h == width / height) return StretchIntoResult(*source, 0, 0, w, h, width, height);
  // Otherwise the picture keeps its proportions and covers the screen in both
  // directions; what sticks out on one side is cut off equally at both ends.
  // The part of the picture that will show is scaled to exactly the screen
  // size: the same picture as scaling the whole and cutting afterwards, but
  // no rounding can leave a row or column uncovered, and a very long picture
  // never needs a scaled copy beyond the largest image side.
  const int64_t W = width;
  const int64_t H = height;
  int64_t cut_x = 0, cut_y = 0, cut_w = w, cut_h = h;
  if (W * h >= H * w) {
    // Relatively taller than the screen: full width, the middle rows.
    cut_h = (2 * H * w + W) / (2 * W);  // H * w / W, rounded
    if (cut_h < 1) cut_h = 1;
    if (cut_h > h) cut_h = h;
    cut_y = (h - cut_h) / 2;
  } else {
    // Relatively wider: full height, the middle columns.
    cut_w = (2 * W * h + H) / (2 * H);
    if (cut_w < 1) cut_w = 1;
    if (cut_w > w) cut_w = w;
    cut_x = (w - cut_w) / 2;
  }
  return StretchIntoResult(*source, static_cast<int>(cut_x), static_cast<int>(cut_y), static_cast<int>(cut_w),
                           static_cast<int>(cut_h), width, height);
}

}  // namespace

int FitToScreen(const void* data, int size, int number) {
  const int width = ScreenWidth;
  const int height = ScreenHeight;
  if (data == nullptr || size <= 0 || width <= 0 || height <= 0) return 0;
  if (image_from_memory_sized(kFitSourceImage, data, static_cast<size_t>(size)) == 0) return 0;
  const bool fitted = FitScratchImage(width, height);
  image_free(kFitSourceImage);
  if (!fitted) {
    image_free(kFitResultImage);
    return 0;
  }
  // The screen-sized sprite is what an empty one with the scratch image
  // drawn in at (0, 0) would be; it takes the scratch image's pixels over
  // rather than being cleared and copied into, a full screen of memory
  // less to touch for every picture.
  return sprite_from_image(number, kFitResultImage, 0);
}
