// PNG decoding and encoding through libpng. Every picture of the data pack
// is a PNG, and screenshots are saved as PNG.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <tmmintrin.h>
#endif

#include "engine/image/codec_builtin.h"

namespace {

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void read_from_memory(png_structp png, png_bytep out, png_size_t count) {
  auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > r->size - r->pos) png_error(png, "truncated");
  std::memcpy(out, r->data + r->pos, count);
  r->pos += count;
}

// Bad data must give a plain failure: no message, no abort.
[[noreturn]] void fail_quietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void warn_quietly(png_structp, png_const_charp) {}

// Deflate cannot squeeze raw data much beyond about 1,032 to 1, so a header
// claiming more pixels than the remaining bytes could ever hold is refused
// before the pixel buffer is allocated.
constexpr uint64_t kMaxDeflateRatio = 1100;

// The colour key as the pixel word it matches (0x00RRGGBB), or a word no
// pixel's colour can equal when there is none.
uint32_t key_word(int key) {
  if (key < 0) return 0x01000000u;
  uint32_t c = static_cast<uint32_t>(key);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// The limits and checks of every read, whole or row by row, from reader.
void set_up_reading(png_structp png, MemoryReader* reader) {
  // Refuse absurd sizes in the header before anything is allocated, and cap
  // what ancillary chunks may allocate.
  png_set_user_limits(png, kImageMaxSide, kImageMaxSide);
  png_set_chunk_malloc_max(png, 8u << 20);
  png_set_chunk_cache_max(png, 1000);
  png_set_read_fn(png, reader, read_from_memory);
}

// Whether the bytes left could not possibly hold the picture the header
// describes (bits per pixel as stored), so that no pixel buffer is made.
bool too_little_data(png_structp png, png_infop info, const MemoryReader* reader) {
  const uint64_t raw_bytes = (static_cast<uint64_t>(png_get_image_width(png, info)) * png_get_channels(png, info) *
                                  png_get_bit_depth(png, info) / 8 +
                              1) *
                             png_get_image_height(png, info);
  return raw_bytes / kMaxDeflateRatio > reader->size - reader->pos;
}

// Called once the header and the chunks before the pixels are read. The
// checksum that ends the compressed pixels (Adler-32) is checked after the
// last row, and where it lies in a data chunk of its own libpng only warns
// about a wrong one; a picture whose pixels fail their checksum is damaged
// wherever it lies, so from here on every such complaint refuses it.
void strict_from_the_pixels_on(png_structp png) { png_set_benign_errors(png, 0); }

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define DUSK_PNG_SSSE3 1

// Four pixels at a time with one byte shuffle; the caller's loop does the
// rest. Each load reads 16 bytes for the 12 it uses, so the loop stops while
// the load stays inside the row; each store ends before the next load's
// first byte (4x + 16 <= width + 3x + 12 while x <= width - 4).
__attribute__((target("ssse3"))) int widen_ssse3(uint8_t* row, const uint8_t* rgb, int width, uint32_t match) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
  const __m128i key = _mm_set1_epi32(static_cast<int>(match));
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 6 <= width; x += 4) {
    __m128i px = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rgb + x * 3)), order);
    px = _mm_or_si128(px, _mm_andnot_si128(_mm_cmpeq_epi32(px, key), alpha));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x * 4), px);
  }
  return x;
}

// RGBA to BGRA in place, four pixels at a time; with keyed set, alpha
// becomes 0 where the colour is match and 255 elsewhere. Returns how many
// pixels were done.
__attribute__((target("ssse3"))) int swap_ssse3(uint8_t* row, int width, uint32_t match, bool keyed) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const __m128i key = _mm_set1_epi32(static_cast<int>(match));
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    auto* at = reinterpret_cast<__m128i*>(row + static_cast<size_t>(x) * 4);
    __m128i px = _mm_shuffle_epi8(_mm_loadu_si128(at), order);
    if (keyed) {
      px = _mm_and_si128(px, colour);
      px = _mm_or_si128(px, _mm_andnot_si128(_mm_cmpeq_epi32(px, key), alpha));
    }
    _mm_storeu_si128(at, px);
  }
  return x;
}

const bool g_ssse3 = __builtin_cpu_supports("ssse3");
#endif

// Widens a row of RGB read into the end of its own 4-byte row, from the
// front: pixel x is written over bytes that pixels up to x have already been
// read from. Red and blue swap places, alpha becomes 255, or 0 where the
// colour is the key's.
void widen_row(uint8_t* row, const uint8_t* rgb, int width, uint32_t match) {
  int x = 0;
#if DUSK_PNG_SSSE3
  if (g_ssse3) x = widen_ssse3(row, rgb, width, match);
#endif
  for (rgb += static_cast<size_t>(x) * 3; x < width; ++x, rgb += 3) {
    uint32_t c = static_cast<uint32_t>(rgb[0]) << 16 | static_cast<uint32_t>(rgb[1]) << 8 | rgb[2];
    if (c != match) c |= 0xFF000000u;
    std::memcpy(row + static_cast<size_t>(x) * 4, &c, 4);
  }
}

// Turns a row of RGBA as read into blue, green, red, alpha in place; with
// keyed set, also applies image_apply_transparent_color's key on the way.
void swap_row(uint8_t* row, int width, uint32_t match, bool keyed) {
  int x = 0;
#if DUSK_PNG_SSSE3
  if (g_ssse3) x = swap_ssse3(row, width, match, keyed);
#endif
  for (uint8_t* p = row + static_cast<size_t>(x) * 4; x < width; ++x, p += 4) {
    uint32_t c = static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    c |= keyed ? (c == match ? 0u : 0xFF000000u) : static_cast<uint32_t>(p[3]) << 24;
    std::memcpy(p, &c, 4);
  }
}

// Everything after setjmp happens here, so that no local of the function
// holding the jump buffer changes between setjmp and a longjmp. Sets
// *keyed when the colour key has been applied on the way.
void read_png_body(png_structp png, png_infop info, const MemoryReader* reader, int key, ImageBuffer* out,
                   bool* keyed) {
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  int color_type = png_get_color_type(png, info);
  int bit_depth = png_get_bit_depth(png, info);

  if (too_little_data(png, info, reader)) png_error(png, "too little data");

  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (color_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if ((color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA) && bit_depth < 8)
    png_set_expand_gray_1_2_4_to_8(png);
  if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (bit_depth == 16) png_set_strip_16(png);
  int passes = png_set_interlace_handling(png);
  bool has_alpha = (color_type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS);
  // The image keeps blue, green, red, alpha. Opaque pictures are read as RGB
  // rows and widened here (swapping red and blue, setting alpha and applying
  // the colour key in the same step), and 8-bit RGBA rows are read as they
  // are and swapped here: both cheaper than libpng's swap and filler, which
  // work pixel by pixel. Every other kind with alpha comes out of libpng's
  // transforms in the image's order. Interlaced rows are filled in over
  // several passes, so they must be read straight into their final form.
  bool widen_here = !has_alpha && passes == 1;
  bool swap_here = color_type == PNG_COLOR_TYPE_RGB_ALPHA && bit_depth == 8 && passes == 1 &&
                   !png_get_valid(png, info, PNG_INFO_tRNS);
  if (!widen_here && !swap_here) png_set_bgr(png);
  if (!has_alpha && !widen_here) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  strict_from_the_pixels_on(png);
  if (has_alpha != ((png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0)) png_error(png, "alpha");
  size_t channels = widen_here ? 3 : 4;
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * channels) png_error(png, "unexpected layout");

  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->depth = has_alpha ? 32 : 24;
  if (!pixels_resize(&out->pixels, static_cast<size_t>(width) * height * 4)) png_error(png, "out of memory");
  if (swap_here) {
    const bool keying = key >= 0;
    const uint32_t match = key_word(key);
    for (png_uint_32 y = 0; y < height; ++y) {
      uint8_t* row = out->row(static_cast<int>(y));
      png_read_row(png, row, nullptr);
      swap_row(row, static_cast<int>(width), match, keying);
    }
    *keyed = keying;
  } else if (!widen_here) {
    for (int pass = 0; pass < passes; ++pass) {
      for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, out->row(static_cast<int>(y)), nullptr);
    }
  } else {
    // Each RGB row is read into the end of its own 4-byte row and widened
    // there, so no second buffer is needed.
    const uint32_t match = key_word(key);
    for (png_uint_32 y = 0; y < height; ++y) {
      uint8_t* row = out->row(static_cast<int>(y));
      const uint8_t* rgb = row + static_cast<size_t>(width);
      png_read_row(png, row + static_cast<size_t>(width), nullptr);
      widen_row(row, rgb, static_cast<int>(width), match);
    }
    *keyed = true;
  }
  png_read_end(png, nullptr);
}

struct VectorWriter {
  std::vector<uint8_t>* out;
};

void write_to_vector(png_structp png, png_bytep data, png_size_t count) {
  auto* w = static_cast<VectorWriter*>(png_get_io_ptr(png));
  w->out->insert(w->out->end(), data, data + count);
}

void flush_nothing(png_structp) {}

void write_png_body(png_structp png, png_infop info, const ImageBuffer& image) {
  bool alpha = image.depth != 24;
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  png_set_bgr(png);
  // 24-bit images still hold four bytes a pixel: drop the fourth on writing.
  if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < image.height; ++y) png_write_row(png, const_cast<png_bytep>(image.row(y)));
  png_write_end(png, nullptr);
}

}  // namespace

bool png_decode_keyed(const uint8_t* data, size_t size, int key, ImageBuffer* out) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail_quietly, warn_quietly);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  MemoryReader reader{data, size, 0};
  set_up_reading(png, &reader);
  bool ok = false;
  bool keyed = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    read_png_body(png, info, &reader, key, out, &keyed);
    ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) {
    out->pixels.clear();
    return false;
  }
  if (key >= 0 && !keyed) image_apply_transparent_color(out, key);
  return true;
}

bool png_decode(const uint8_t* data, size_t size, ImageBuffer* out) { return png_decode_keyed(data, size, -1, out); }

// ---- Reading a picture a row at a time ----

struct PngRowReader::State {
  png_structp png = nullptr;
  png_infop info = nullptr;
  MemoryReader reader{nullptr, 0, 0};
  int width = 0;
  int height = 0;
  int rows_read = 0;
  bool widen = false;  // RGB rows widened here; otherwise RGBA rows swapped
  bool failed = false;
  PixelVector row;
};

namespace {

// The header and the transforms, as png_decode_keyed sets them for the two
// kinds read row by row. False for damaged data and for every other kind.
bool open_rows(PngRowReader::State* s) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_read_info(s->png, s->info);
  const png_uint_32 width = png_get_image_width(s->png, s->info);
  const png_uint_32 height = png_get_image_height(s->png, s->info);
  const int color_type = png_get_color_type(s->png, s->info);
  if (png_get_bit_depth(s->png, s->info) != 8 || png_get_interlace_type(s->png, s->info) != PNG_INTERLACE_NONE ||
      png_get_valid(s->png, s->info, PNG_INFO_tRNS) ||
      (color_type != PNG_COLOR_TYPE_RGB && color_type != PNG_COLOR_TYPE_RGB_ALPHA)) {
    return false;
  }
  if (too_little_data(s->png, s->info, &s->reader)) return false;
  const size_t channels = color_type == PNG_COLOR_TYPE_RGB ? 3 : 4;
  png_read_update_info(s->png, s->info);
  strict_from_the_pixels_on(s->png);
  if (png_get_rowbytes(s->png, s->info) != static_cast<size_t>(width) * channels) return false;
  s->width = static_cast<int>(width);
  s->height = static_cast<int>(height);
  s->widen = channels == 3;
  s->row.resize(static_cast<size_t>(width) * 4);
  return true;
}

// One more row into s->row, turned into the engine's pixels unless it is
// read only to be checked; false when the data is damaged.
bool read_next_row(PngRowReader::State* s, bool wanted) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  uint8_t* row = s->row.data();
  if (!wanted) {
    png_read_row(s->png, row, nullptr);
  } else if (s->widen) {
    png_read_row(s->png, row + s->width, nullptr);
    widen_row(row, row + s->width, s->width, key_word(-1));
  } else {
    png_read_row(s->png, row, nullptr);
    swap_row(row, s->width, 0, false);
  }
  return true;
}

bool read_end(PngRowReader::State* s) {
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_read_end(s->png, nullptr);
  return true;
}

}  // namespace

PngRowReader::PngRowReader() = default;

PngRowReader::~PngRowReader() {
  if (s_ && s_->png) png_destroy_read_struct(&s_->png, &s_->info, nullptr);
}

bool PngRowReader::open(const uint8_t* data, size_t size) {
  if (s_ || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  s_ = std::make_unique<State>();
  s_->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail_quietly, warn_quietly);
  if (!s_->png) return false;
  s_->info = png_create_info_struct(s_->png);
  if (!s_->info) return false;
  s_->reader = MemoryReader{data, size, 0};
  set_up_reading(s_->png, &s_->reader);
  if (!open_rows(s_.get())) {
    s_->failed = true;
    return false;
  }
  return true;
}

int PngRowReader::width() const { return s_ && !s_->failed ? s_->width : 0; }
int PngRowReader::height() const { return s_ && !s_->failed ? s_->height : 0; }
int PngRowReader::depth() const { return s_ && s_->widen ? 24 : 32; }

namespace {

// Reads on until `count` rows are read, converting only row `wanted`; false
// (and failed from then on) when the data is damaged.
bool read_rows_until(PngRowReader::State* s, int count, int wanted) {
  while (s->rows_read < count) {
    if (!read_next_row(s, s->rows_read == wanted)) {
      s->failed = true;
      return false;
    }
    ++s->rows_read;
  }
  return true;
}

}  // namespace

const uint8_t* PngRowReader::row(int y) {
  if (!s_ || s_->failed || y < s_->rows_read - 1 || y >= s_->height) return nullptr;
  return read_rows_until(s_.get(), y + 1, y) ? s_->row.data() : nullptr;
}

bool PngRowReader::finish() {
  if (!s_ || s_->failed) return false;
  if (!read_rows_until(s_.get(), s_->height, -1)) return false;
  if (!read_end(s_.get())) s_->failed = true;
  return !s_->failed;
}

bool png_encode(const ImageBuffer& image, std::vector<uint8_t>* out) {
  if (image.width > kImageMaxSide || image.height > kImageMaxSide) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, fail_quietly, warn_quietly);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  out->clear();
  VectorWriter writer{out};
  png_set_write_fn(png, &writer, write_to_vector, flush_nothing);
  bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    write_png_body(png, info, image);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return ok;
}
