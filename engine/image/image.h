// Images: numbered off-screen pixel buffers. Pictures are decoded into them,
// text is drawn into them, and they are copied into sprites.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// The pixels of one image: rows top to bottom, each pixel four bytes blue,
// green, red, alpha (a little-endian 0xAARRGGBB). A 24-bit image keeps the
// same layout with every alpha byte 255.
struct ImageBuffer {
  int width = 0;
  int height = 0;
  int depth = 32;  // 24 or 32
  std::vector<uint8_t> pixels;

  uint8_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4; }
  const uint8_t* row(int y) const {
    return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
  }
};

// Largest side an image may have; larger requests fail instead of
// exhausting memory.
constexpr int kImageMaxSide = 16384;

// Makes an image of width x height at depth 24 or 32, every pixel the RGB
// colour 0x00BBGGRR with alpha 255, or transparent black for background -1.
// Returns the number, a handle for -1, or 0 on failure.
int image_create(int number, int width, int height, int depth, int background);

// Stores an image made elsewhere (a decoder) under a number or -1.
// Returns the number, a handle, or 0 on failure.
int image_store(int number, std::unique_ptr<ImageBuffer> buffer);

// Frees one image, or every image for -1.
void image_free(int image);

int image_width(int image);   // 0 if none
int image_height(int image);  // 0 if none
int image_depth(int image);   // 0 if none

// The image's pixels, for draw_image and the drawing passes; nullptr if none.
ImageBuffer* image_handle(int image);

// Whether the image exists.
bool image_exists(int image);
