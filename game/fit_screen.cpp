// Fitting a full-screen picture (a background, the title, the studio logo)
// to the screen size: stretched as it is decoded into its sprite.
#include <cstdint>

#include "engine/image/image.h"
#include "engine/screen/screen.h"
#include "game/assets.h"
#include "game/geometry.h"

namespace {

// Which part of a w x h picture fills a width x height screen, stretched:
// false when the picture is exactly the screen's size and is used as it is.
bool ChooseFit(int w, int h, int width, int height, ImageRect* rect) {
  if (w == width && h == height) return false;
  // Pictures and screens of the same rough shape (the same integer quotient
  // of width by height) are simply stretched, distorting a little.
  if (w / h == width / height) {
    *rect = ImageRect{0, 0, w, h};
    return true;
  }
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
  *rect = ImageRect{static_cast<int>(cut_x), static_cast<int>(cut_y), static_cast<int>(cut_w),
                    static_cast<int>(cut_h)};
  return true;
}

}  // namespace

int FitToScreen(const void* data, int size, int number, int flags) {
  const int width = ScreenWidth;
  const int height = ScreenHeight;
  if (data == nullptr || size <= 0 || width <= 0 || height <= 0) return 0;
  if (width > kImageMaxSide || height > kImageMaxSide) return 0;
  // The picture is stretched while it is decoded, so the decoded whole never
  // needs a scratch image of its own.
  return sprite_from_memory_fitted(number, data, static_cast<size_t>(size), width, height,
                                   [width, height](int w, int h, ImageRect* rect) {
                                     return ChooseFit(w, h, width, height, rect);
                                   },
                                   flags);
}
