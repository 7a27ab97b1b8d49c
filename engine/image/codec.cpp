// The codec registry and the operations that turn encoded pictures into
// images.
#include <algorithm>
#include <utility>

#include "engine/image/codec_builtin.h"
#include "engine/image/image_buffer.h"
#include "engine/system/file.h"

namespace {

struct Registry {
  bool started = false;
  std::vector<ImageDecodeFn> decoders;
  std::vector<std::pair<uint32_t, ImageEncodeFn>> encoders;
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

void image_codecs_start() {
  Registry& r = registry();
  if (r.started) return;
  r.started = true;
  // BMP first, as the game's engine always did; the game itself only uses PNG.
  image_decoder_register(bmp_decode);
  image_encoder_register(kImageFormatBMP, bmp_encode);
  image_decoder_register(png_decode);
  image_encoder_register(kImageFormatPNG, png_encode);
}

void image_decoder_register(ImageDecodeFn decode) {
  if (decode) registry().decoders.push_back(decode);
}

void image_encoder_register(uint32_t key, ImageEncodeFn encode) {
  if (!encode) return;
  auto& list = registry().encoders;
  for (auto& e : list) {
    if (e.first == key) {
      e.second = encode;
      return;
    }
  }
  list.emplace_back(key, encode);
}

bool image_decode_reusing(const void* data, size_t size, int key, ImageBuffer* img) {
  image_codecs_start();
  if (!data || size == 0) return false;
  size = std::min(size, kImageMaxInput);
  for (ImageDecodeFn decode : registry().decoders) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    bool keyed = key >= 0 && decode == png_decode;
    bool ok = keyed ? png_decode_keyed(bytes, size, key, img) : decode(bytes, size, img);
    if (ok && img->width > 0 && img->height > 0 &&
        img->pixels.size() == static_cast<size_t>(img->width) * static_cast<size_t>(img->height) * 4) {
      if (key >= 0 && !keyed) image_apply_transparent_color(img, key);
      return true;
    }
  }
  return false;
}

namespace {

// The first decoder's picture, keyed when key is not -1.
std::unique_ptr<ImageBuffer> decode_with_key(const void* data, size_t size, int key) {
  auto img = std::make_unique<ImageBuffer>();
  return image_decode_reusing(data, size, key, img.get()) ? std::move(img) : nullptr;
}

}  // namespace

std::unique_ptr<ImageBuffer> image_decode(const void* data, size_t size) { return decode_with_key(data, size, -1); }

std::unique_ptr<ImageBuffer> image_decode_keyed(const void* data, size_t size, int rgb) {
  return decode_with_key(data, size, rgb & 0xFFFFFF);
}

bool image_encode(const ImageBuffer& image, uint32_t key, std::vector<uint8_t>* out) {
  image_codecs_start();
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4) {
    return false;
  }
  for (const auto& e : registry().encoders) {
    if (e.first == key) return e.second(image, out);
  }
  return false;
}

int image_from_memory_sized(int number, const void* data, size_t size) {
  auto img = image_decode(data, size);
  if (!img) return 0;
  return image_store(number, std::move(img));
}

int image_from_memory(int number, const std::vector<uint8_t>& data) {
  return image_from_memory_sized(number, data.data(), data.size());
}

int image_load(int number, const std::string& path) {
  std::vector<uint8_t> data;
  if (!file_read_all(path, &data, kImageMaxInput)) return 0;
  return image_from_memory(number, data);
}
