// Pictures as the content generator hands them around: straight (not
// premultiplied) RGBA bytes, and the PNG encoding written into the packs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture in straight RGBA, 4 bytes per pixel, rows top to bottom.
// `alpha` says whether its PNG keeps the alpha channel; a picture without it
// is written as RGB, and black pixels are what the game keys out.
struct Picture {
  int width = 0;
  int height = 0;
  bool alpha = true;
  std::vector<uint8_t> rgba;

  uint8_t* at(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* at(int x, int y) const {
    return &rgba[(static_cast<size_t>(y) * width + x) * 4];
  }
};

// One generated file: its entry name in the pack and its bytes, plus the
// picture it came from (for the contact sheet).
struct GeneratedFile {
  std::string name;
  Picture picture;
  std::vector<uint8_t> bytes;
};

// Encodes a picture as an 8-bit PNG: RGBA when it has alpha, RGB otherwise.
// Fixed settings and no time or text chunks, so the same picture always gives
// the same bytes. Empty on failure.
std::vector<uint8_t> png_encode(const Picture& picture, int level = 9);

// Decodes a PNG into straight RGBA (RGB pictures get alpha 255). Used by the
// tests and the contact sheet reader. False when the bytes are no PNG.
bool png_decode(const std::vector<uint8_t>& bytes, Picture* out, int* color_type = nullptr);

// A smooth box-filtered downscale (or upscale) to w x h, in straight RGBA
// weighted by alpha.
Picture picture_resize(const Picture& source, int w, int h);
