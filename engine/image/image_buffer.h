// The pixels of images and the picture codecs, for the engine's services:
// the buffer behind every image number, the decoders and encoders, and the
// pixel operations that images and sprites share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/image/image.h"
#include "engine/system/memory.h"

// An allocator whose new elements are left as they are instead of being
// zeroed: a picture's pixels are written whole right after they are sized,
// so clearing megabytes first would be wasted work. Elements given a value
// (resize(n, v), assign, insert) get it as usual. Its memory comes from
// memory_allocate, which makes buffers of card size and up cheap to touch
// the first time.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  // As std::allocator, the vector is told of a failure by std::bad_alloc.
  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    void* p = memory_allocate(n * sizeof(T));
    if (p == nullptr && n > 0) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) noexcept { memory_free(p, n * sizeof(T)); }
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  // GCC 12 at -O3 takes the move of a vector's old bytes into new room for
  // a write past the room (a false alarm of -Wstringop-overflow, as with
  // other allocators that construct element by element).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) noexcept(std::is_nothrow_constructible<U, Args...>::value) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
};

// Pixel bytes; resize(n) leaves the new bytes unset.
using PixelVector = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

// Sizes a pixel buffer to bytes (the new bytes unset); false, with the
// buffer emptied, when the memory cannot be had. A picture of allowed size
// can still need more memory than is free, and that must end as a refused
// picture, not as an uncaught std::bad_alloc.
inline bool pixels_resize(PixelVector* pixels, size_t bytes) noexcept {
  try {
    pixels->resize(bytes);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  PixelVector().swap(*pixels);
  return false;
}

// The pixels of one image: rows top to bottom, each pixel four bytes blue,
// green, red, alpha (a little-endian 0xAARRGGBB). A 24-bit image keeps the
// same layout with every alpha byte 255.
struct ImageBuffer {
  int width = 0;
  int height = 0;
  int depth = 32;  // 24 or 32
  PixelVector pixels;  // resize(n) leaves new bytes unset: write them all

  uint8_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4; }
  const uint8_t* row(int y) const {
    return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
  }
};

// Stores an image made elsewhere (a decoder) under a number or -1.
// Returns the number, a handle, or 0 on failure.
int image_store(int number, std::unique_ptr<ImageBuffer> buffer);

// ---- Picture codecs ----
// Decoders are tried in the order they were registered; encoders are found
// by a format key (kImageFormatBMP, kImageFormatPNG).

// The most input bytes a decoder is ever given.
constexpr size_t kImageMaxInput = 2147483647;

// A decoder fills out (24-bit pictures with alpha 255) and returns true, or
// returns false when the data is not its format or is damaged.
using ImageDecodeFn = bool (*)(const uint8_t* data, size_t size, ImageBuffer* out);
// An encoder appends the encoded picture to out and returns true on success.
using ImageEncodeFn = bool (*)(const ImageBuffer& image, std::vector<uint8_t>* out);

// Adds a decoder after those already registered.
void image_decoder_register(ImageDecodeFn decode);

// Adds (or replaces) the encoder of a format key.
void image_encoder_register(uint32_t key, ImageEncodeFn encode);

// Decodes a picture with the first decoder that accepts it; nullptr if none.
std::unique_ptr<ImageBuffer> image_decode(const void* data, size_t size);

// image_decode followed by image_apply_transparent_color(rgb), the way
// sprites are loaded; the built-in PNG decoder applies the key as it goes.
std::unique_ptr<ImageBuffer> image_decode_keyed(const void* data, size_t size, int rgb);

// image_decode (keyed as image_decode_keyed when key is not -1) into *out,
// whose memory is used again when it is large enough; false when no
// decoder accepts the data (*out is then unusable).
bool image_decode_reusing(const void* data, size_t size, int key, ImageBuffer* out);

// Encodes with the encoder of key; false when there is none or it fails.
bool image_encode(const ImageBuffer& image, uint32_t key, std::vector<uint8_t>* out);

// ---- Pixel operations shared by images and sprites ----

// Sets each pixel's alpha to 0 where its colour is exactly rgb
// (0x00BBGGRR), else to 255.
void image_apply_transparent_color(ImageBuffer* image, int rgb);

// Copies src into dst with its top-left corner at (x, y), clipped to dst;
// only red, green and blue are written, dst keeps its alpha.
void image_copy_rgb(ImageBuffer* dst, const ImageBuffer& src, int x, int y);

// Fills a rectangle of dst with the colour rgb (0x00BBGGRR), clipped to dst;
// the alpha stays as it was.
void image_fill_rgb(ImageBuffer* dst, int x, int y, int width, int height, int rgb);

// Resamples the rectangle sx, sy, sw x sh of src to width x height pixels
// into out the way a texture sampler does: each output pixel samples the
// source at its centre, nearest texel (filter 0) or bilinear between the four
// nearest (filter 1), with coordinates wrapping around the whole source.
void image_sample_stretch(const ImageBuffer& src, int sx, int sy, int sw, int sh, int width, int height,
                          int filter, ImageBuffer* out);

// The smooth stretch: the rectangle sx, sy, sw x sh (inside
// src) stretched to fill out, whose width, height and pixels are set
// already; area averaging when shrinking and bilinear between pixel centres
// when enlarging, each axis on its own, all four channels.
void image_stretch_smooth(const ImageBuffer& src, int sx, int sy, int sw, int sh, ImageBuffer* out);

// Given a decoded picture's width and height, sets the rectangle of it to
// stretch and answers true, or answers false to keep the picture as it is.
using ImageChooseRect = std::function<bool(int width, int height, ImageRect* rect)>;

// Decodes an encoded picture and stretches the rectangle choose gives for
// its size smoothly to width x height: the same pixels and depth as
// image_decode followed by image_stretch_smooth, but the usual PNGs (8-bit
// RGB or RGBA, not interlaced) are stretched row by row as they are read,
// so the whole decoded picture is never held. When choose answers false the
// picture comes back decoded whole. nullptr when it does not decode or the
// rectangle does not lie inside it.
std::unique_ptr<ImageBuffer> image_decode_stretched(const void* data, size_t size, int width, int height,
                                                    const ImageChooseRect& choose);

// image_decode_stretched into *out, whose memory is used again when it is
// large enough: one scratch buffer serves picture after picture. False
// (with *out left unusable) where image_decode_stretched gives nullptr.
bool image_decode_stretched_into(const void* data, size_t size, int width, int height,
                                 const ImageChooseRect& choose, ImageBuffer* out);

// Whether image_decode_stretched would give a width x height picture,
// without making it: a PNG the row reader takes is read to its end, row by
// row, with every check of a whole decode; any other picture is decoded
// into *scratch, whose memory is used again as above.
bool image_check_stretched(const void* data, size_t size, int width, int height, const ImageChooseRect& choose,
                           ImageBuffer* scratch);

// Lets the smooth stretch use at most its plain loops (0), SSE2 (1) or AVX2
// (2, the default), for tests and benchmarks; returns the widest it now uses.
int image_stretch_vector_limit(int widest);
