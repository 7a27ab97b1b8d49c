// The codecs the engine carries itself; registered by image_codecs_start.
// Used only inside engine/image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/image/image_buffer.h"

bool bmp_decode(const uint8_t* data, size_t size, ImageBuffer* out);
bool bmp_encode(const ImageBuffer& image, std::vector<uint8_t>* out);
bool png_decode(const uint8_t* data, size_t size, ImageBuffer* out);
// png_decode with image_apply_transparent_color's key (0x00BBGGRR) applied,
// for opaque pictures while their rows are widened; -1 for no key.
bool png_decode_keyed(const uint8_t* data, size_t size, int key, ImageBuffer* out);
bool png_encode(const ImageBuffer& image, std::vector<uint8_t>* out);

// A PNG picture read one row at a time, in blue, green, red, alpha as
// png_decode gives it, for pictures stretched as they are read. Only 8-bit
// RGB and RGBA pictures without interlacing or a transparent colour; open
// refuses every other kind (and damaged headers).
class PngRowReader {
 public:
  struct State;
  PngRowReader();
  ~PngRowReader();
  PngRowReader(const PngRowReader&) = delete;
  PngRowReader& operator=(const PngRowReader&) = delete;

  bool open(const uint8_t* data, size_t size);
  int width() const;   // 0 unless open succeeded
  int height() const;
  int depth() const;   // 24 for RGB, 32 for RGBA, as png_decode sets it
  // Row y (width x 4 bytes), reading on to it; rows can only be asked for
  // in order, the last one again or later ones. nullptr when the data is
  // damaged or y is out of order; valid until the next call.
  const uint8_t* row(int y);
  // Reads what is left of the picture and its end, as a whole decode does;
  // false when any of it is damaged.
  bool finish();

 private:
  std::unique_ptr<State> s_;
};
