// The image table and the operations on whole images.
#include "engine/image/image_buffer.h"

#include <algorithm>
#include <cstring>

#include "engine/system/objects.h"

static ObjectTable<ImageBuffer> g_images(16);

int image_store(int number, std::unique_ptr<ImageBuffer> buffer) {
  if (!buffer || buffer->width <= 0 || buffer->height <= 0) return 0;
  int id = g_images.put(number, std::move(buffer));
  if (id == -2) return 0;
  return id == 0 ? 1 : id;  // number 0 is success too: report non-zero
}

int image_create(int number, int width, int height, int depth, int background) {
  if (width <= 0 || height <= 0 || width > kImageMaxSide || height > kImageMaxSide) return 0;
  if (depth != 24 && depth != 32) return 0;
  auto img = std::make_unique<ImageBuffer>();
  img->width = width;
  img->height = height;
  img->depth = depth;
  if (!pixels_resize(&img->pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4)) return 0;
  uint8_t px[4] = {0, 0, 0, 0};
  if (background != -1) {
    px[0] = static_cast<uint8_t>((background >> 16) & 0xFF);  // blue
    px[1] = static_cast<uint8_t>((background >> 8) & 0xFF);   // green
    px[2] = static_cast<uint8_t>(background & 0xFF);          // red
    px[3] = 255;
  } else if (depth == 24) {
    px[3] = 255;  // 24-bit images have no transparency
  }
  uint32_t word;
  std::memcpy(&word, px, 4);
  std::fill_n(reinterpret_cast<uint32_t*>(img->pixels.data()), img->pixels.size() / 4, word);
  return image_store(number, std::move(img));
}

void image_free(int image) { g_images.free(image); }

ImageBuffer* image_handle(int image) { return g_images.get(image); }

bool image_exists(int image) { return g_images.exists(image); }
