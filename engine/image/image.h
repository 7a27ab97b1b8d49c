// Images: numbered off-screen pixel buffers. Pictures are decoded into them,
// text is drawn into them, and they are copied into sprites. The pixels
// themselves, the codecs and the pixel operations are in image_buffer.h, for
// the engine's services.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The pixels of one image (image_buffer.h).
struct ImageBuffer;

// Largest side an image may have; larger requests fail instead of
// exhausting memory.
constexpr int kImageMaxSide = 16384;

// A rectangle of a picture.
struct ImageRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// Makes an image of width x height at depth 24 or 32, every pixel the RGB
// colour 0x00BBGGRR with alpha 255, or transparent black for background -1.
// Returns the number, a handle for -1, or 0 on failure.
int image_create(int number, int width, int height, int depth, int background);

// Frees one image, or every image for -1.
void image_free(int image);

// The image's pixels, for draw_image and the drawing passes; nullptr if none.
ImageBuffer* image_handle(int image);

// Whether the image exists.
bool image_exists(int image);

// Picture formats, by a key made of the format name's bytes, first byte
// lowest.
constexpr uint32_t kImageFormatBMP = 0x504D42;  // "BMP"
constexpr uint32_t kImageFormatPNG = 0x474E50;  // "PNG"

// Registers the built-in codecs once, in this order: BMP, the PNG decoder,
// the PNG encoder. Every decode and encode call does this first.
void image_codecs_start();

// Decodes an encoded picture held in memory into an image, reading at most
// the buffer (and never more than kImageMaxInput bytes). Returns the number,
// a handle for -1, or 0 when no decoder accepts the data.
int image_from_memory(int number, const std::vector<uint8_t>& data);

// As image_from_memory, reading at most size bytes from data.
int image_from_memory_sized(int number, const void* data, size_t size);

// Decodes a picture file into an image; 0 when it cannot be read or decoded.
int image_load(int number, const std::string& path);
