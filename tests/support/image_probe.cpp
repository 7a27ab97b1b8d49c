// The tests' image reads and edits, on the engine's image buffers.
#include "tests/support/image_probe.h"

#include <cstring>
#include <memory>
#include <utility>

#include "engine/image/image_buffer.h"

namespace {

void stretch_nearest(const ImageBuffer& src, ImageBuffer* dst) {
  for (int y = 0; y < dst->height; ++y) {
    int sy = static_cast<int>(static_cast<int64_t>(y) * src.height / dst->height);
    const uint32_t* in = reinterpret_cast<const uint32_t*>(src.row(sy));
    uint32_t* out = reinterpret_cast<uint32_t*>(dst->row(y));
    for (int x = 0; x < dst->width; ++x) out[x] = in[static_cast<int64_t>(x) * src.width / dst->width];
  }
}

}  // namespace

int image_width(int image) {
  const ImageBuffer* b = image_handle(image);
  return b ? b->width : 0;
}

int image_height(int image) {
  const ImageBuffer* b = image_handle(image);
  return b ? b->height : 0;
}

int image_depth(int image) {
  const ImageBuffer* b = image_handle(image);
  return b ? b->depth : 0;
}

int image_resize(int image, int width, int height, int mode) {
  ImageBuffer* src = image_handle(image);
  if (!src || width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide) return 0;
  if (mode != 0 && mode != 1) return 0;
  if (src->width == width && src->height == height) return 1;
  ImageBuffer resized;
  resized.width = width;
  resized.height = height;
  resized.depth = src->depth;
  if (!pixels_resize(&resized.pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4)) return 0;
  if (mode == 0) {
    image_stretch_smooth(*src, 0, 0, src->width, src->height, &resized);
  } else {
    stretch_nearest(*src, &resized);
  }
  *src = std::move(resized);
  return 1;
}

int image_grab(int source, int number, int x, int y, int width, int height) {
  const ImageBuffer* src = image_handle(source);
  if (!src || x < 0 || y < 0 || width <= 0 || height <= 0) return 0;
  if (static_cast<int64_t>(x) + width > src->width || static_cast<int64_t>(y) + height > src->height) return 0;
  auto part = std::make_unique<ImageBuffer>();
  part->width = width;
  part->height = height;
  part->depth = src->depth;
  if (!pixels_resize(&part->pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4)) return 0;
  for (int r = 0; r < height; ++r)
    std::memcpy(part->row(r), src->row(y + r) + static_cast<size_t>(x) * 4, static_cast<size_t>(width) * 4);
  // Grabbing into the source's own number replaces it only after the copy.
  return image_store(number, std::move(part));
}
