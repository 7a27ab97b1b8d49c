// The codecs the engine carries itself; registered by image_codecs_start.
// Used only inside engine/image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/image/image.h"

bool bmp_decode(const uint8_t* data, size_t size, ImageBuffer* out);
bool bmp_encode(const ImageBuffer& image, std::vector<uint8_t>* out);
bool png_decode(const uint8_t* data, size_t size, ImageBuffer* out);
// png_decode with image_apply_transparent_color's key (0x00BBGGRR) applied,
// for opaque pictures while their rows are widened; -1 for no key.
bool png_decode_keyed(const uint8_t* data, size_t size, int key, ImageBuffer* out);
bool png_encode(const ImageBuffer& image, std::vector<uint8_t>* out);
