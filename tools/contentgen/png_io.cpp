// PNG encoding and decoding for the content generator through libpng, in
// memory, with settings fixed so that the output is reproducible.
#include "tools/contentgen/picture.h"

#include <png.h>

#include <cstring>

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

struct ReadCursor {
  const std::vector<uint8_t>* bytes;
  size_t offset;
};

void read_bytes(png_structp png, png_bytep data, png_size_t length) {
  auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
  if (cursor->offset + length > cursor->bytes->size()) {
    png_error(png, "truncated");
  }
  std::memcpy(data, cursor->bytes->data() + cursor->offset, length);
  cursor->offset += length;
}

// The row layout libpng is given: RGBA as stored, or RGB packed from it.
void build_rows(const Picture& picture, std::vector<uint8_t>* packed,
                std::vector<png_bytep>* rows) {
  const int channels = picture.alpha ? 4 : 3;
  packed->resize(static_cast<size_t>(picture.width) * picture.height * channels);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* s = picture.at(x, y);
      uint8_t* d = &(*packed)[(static_cast<size_t>(y) * picture.width + x) * channels];
      std::memcpy(d, s, channels);
    }
    rows->push_back(&(*packed)[static_cast<size_t>(y) * picture.width * channels]);
  }
}

bool encode_into(const Picture& picture, int level, std::vector<uint8_t>* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<uint8_t> packed;
  std::vector<png_bytep> rows;
  build_rows(picture, &packed, &rows);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, append_bytes, no_flush);
  png_set_IHDR(png, info, picture.width, picture.height, 8,
               picture.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, level);
  png_set_compression_mem_level(png, 9);
  // Rows are written unfiltered: the game undoes nothing per row then, and
  // its pictures (flat panels, cards, dithered backgrounds) come out about
  // as small as with the adaptive filters, whose Paeth rows are the slowest
  // to undo.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<uint8_t> png_encode(const Picture& picture, int level) {
  std::vector<uint8_t> out;
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgba.size() != static_cast<size_t>(picture.width) * picture.height * 4) {
    return out;
  }
  if (!encode_into(picture, level, &out)) out.clear();
  return out;
}

bool png_decode(const std::vector<uint8_t>& bytes, Picture* out, int* color_type) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  ReadCursor cursor{&bytes, 0};
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &cursor, read_bytes);
  png_read_info(png, info);
  const int type = png_get_color_type(png, info);
  if (color_type != nullptr) *color_type = type;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  out->width = static_cast<int>(png_get_image_width(png, info));
  out->height = static_cast<int>(png_get_image_height(png, info));
  out->alpha = (type & PNG_COLOR_MASK_ALPHA) != 0;
  out->rgba.assign(static_cast<size_t>(out->width) * out->height * 4, 0);
  for (int y = 0; y < out->height; ++y) rows.push_back(out->at(0, y));
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}
