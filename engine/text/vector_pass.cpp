// The vector drawing pass's state, the same on every platform: the target
// image and its pixels, the pen and its limits, and which calls do nothing
// outside a pass or without a font. The back end lays the text out and
// draws it into the pass's premultiplied copy of the image.
#include "engine/text/text.h"
#include "engine/text/text_backend.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/image/image_buffer.h"

namespace {

// The one pass of the game thread (passes are never nested).
struct VectorPass {
  bool active = false;
  int image = 0;
  ImageBuffer* buffer = nullptr;  // to check at the end that it is still that image
  int width = 0;
  int height = 0;
  bool has_font = false;
  double x = 0, y = 0;
};

VectorPass g_pass;

// What the back end draws on: the image as premultiplied 0xAARRGGBB words
// (the image itself keeps straight alpha). Both platforms blend most exactly
// into premultiplied pixels, and converting back here leaves every pixel the
// text did not touch exactly as it was. Kept from pass to pass, so the text
// pass does not allocate and fault in a fresh buffer for every caption.
// Pixel memory, not cleared when it grows: every word is written as the
// pass begins.
using PassWords = std::vector<uint32_t, UninitialisedAllocator<uint32_t>>;
PassWords g_pixels;
// The same words as the pass began, so that the end finds what the text
// changed by comparing whole stretches instead of converting every pixel.
PassWords g_before;

// A pixel of partial alpha as a premultiplied word (the pass's start keeps
// pixels of full alpha as they are).
uint32_t premultiply(const uint8_t* bgra) {
  const uint32_t a = bgra[3];
  if (a == 0) return 0;
  auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (mul(bgra[2]) << 16) | (mul(bgra[1]) << 8) | mul(bgra[0]);
}

void unpremultiply(uint32_t argb, uint8_t* bgra, bool opaque) {
  uint32_t a = argb >> 24;
  if (a == 0) {
    bgra[0] = bgra[1] = bgra[2] = 0;
    bgra[3] = opaque ? 255 : 0;
    return;
  }
  auto div = [a](uint32_t c) { return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
  bgra[0] = div(argb & 0xFF);
  bgra[1] = div((argb >> 8) & 0xFF);
  bgra[2] = div((argb >> 16) & 0xFF);
  bgra[3] = opaque ? 255 : static_cast<uint8_t>(a);
}

void release_pass() {
  vector_backend_release();
  g_pass = VectorPass();
}

// Whether a text is something to draw or measure in this pass.
bool drawable(const std::string& text) {
  return g_pass.active && g_pass.has_font && !text.empty() && text[0] != '\0';
}

double clamp_pen(double v) { return std::max(-kVectorPenLimit, std::min(kVectorPenLimit, v)); }

}  // namespace

VectorTarget image_vector_target(int image, int unit) {
  VectorTarget target;
  if (unit != kVectorUnitPixel || !image_exists(image)) return target;
  target.image = image;
  target.valid = true;
  return target;
}

int vector_start(const VectorTarget& target) {
  if (g_pass.active || !target) return 0;
  ImageBuffer* buffer = image_handle(target.image);
  if (!buffer || buffer->width <= 0 || buffer->height <= 0) return 0;
  size_t count = static_cast<size_t>(buffer->width) * static_cast<size_t>(buffer->height);
  if (buffer->pixels.size() < count * 4) return 0;
  if (!vector_backend_ready(buffer->width)) return 0;

  g_pass.image = target.image;
  g_pass.buffer = buffer;
  g_pass.width = buffer->width;
  g_pass.height = buffer->height;
  bool opaque = buffer->depth == 24;
  g_pixels.resize(count);
  // Pixels of full alpha (all of them on a panel-coloured caption) keep
  // their bytes: blue, green, red, alpha in memory is 0xAARRGGBB as a word.
  const uint8_t* in = buffer->pixels.data();
  for (size_t i = 0; i < count; ++i, in += 4) {
    uint32_t word;
    std::memcpy(&word, in, 4);
    if (opaque || (word >> 24) == 255) {
      g_pixels[i] = word | 0xFF000000u;
    } else {
      g_pixels[i] = premultiply(in);
    }
  }
  g_before = g_pixels;

  if (!vector_backend_start(g_pixels.data(), buffer->width, buffer->height)) {
    release_pass();
    return 0;
  }
  g_pass.active = true;
  return 1;
}

void vector_font(const TextFont* font) {
  if (!g_pass.active) return;
  g_pass.has_font = vector_backend_font(font);
}

void vector_color(uint32_t rgba) {
  if (!g_pass.active) return;
  vector_backend_color(rgba);
}

void vector_move_to(double x, double y) {
  if (!g_pass.active || !std::isfinite(x) || !std::isfinite(y)) return;
  g_pass.x = clamp_pen(x);
  g_pass.y = clamp_pen(y);
}

double vector_pen_x() { return g_pass.x; }
double vector_pen_y() { return g_pass.y; }

void vector_draw_text(const std::string& text) {
  if (!drawable(text)) return;
  double width = vector_backend_draw_text(text, g_pass.x, g_pass.y);
  if (width < 0) return;
  g_pass.x = clamp_pen(g_pass.x + width);
}

double vector_text_width(const std::string& text) {
  if (!drawable(text)) return 0;
  return vector_backend_text_width(text);
}

void vector_draw_paragraph(const std::string& text, double box_width, double box_height, int flags) {
  if (!std::isfinite(box_width) || !std::isfinite(box_height)) return;
  if (!drawable(text)) return;
  bool wrap = box_width > 0;
  bool cut = box_height > 0;
  // A side without a limit reaches a pixel past the image's edge.
  VectorClip clip;
  clip.left = wrap ? g_pass.x : -1.0;
  clip.right = wrap ? g_pass.x + box_width : g_pass.width + 1.0;
  clip.top = cut ? g_pass.y : -1.0;
  clip.bottom = cut ? g_pass.y + box_height : g_pass.height + 1.0;
  double taken = vector_backend_draw_paragraph(text, g_pass.x, g_pass.y, box_width, flags, clip);
  if (taken < 0) return;
  if (cut) taken = std::min(taken, box_height);
  g_pass.y = clamp_pen(g_pass.y + taken);
}

void vector_stop() {
  if (!g_pass.active) return;
  vector_backend_finish();
  // The image may have been freed or made anew under its number during the
  // pass; then the drawing has nowhere to go.
  ImageBuffer* buffer = image_handle(g_pass.image);
  if (buffer == g_pass.buffer && buffer->width == g_pass.width && buffer->height == g_pass.height &&
      buffer->pixels.size() >= g_pixels.size() * 4) {
    // Only the pixels the pass changed are converted back; every other
    // pixel keeps its exact value (premultiplying loses colour where alpha
    // is low). Text covers little of its image, so stretches of 16 pixels
    // that are as they were are passed over whole.
    bool opaque = buffer->depth == 24;
    constexpr size_t kStretch = 16;
    const size_t count = g_pixels.size();  // g_before is the same length
    for (size_t start = 0; start < count; start += kStretch) {
      const size_t end = std::min(count, start + kStretch);
      if (std::memcmp(&g_pixels[start], &g_before[start], (end - start) * sizeof(uint32_t)) == 0) continue;
      for (size_t i = start; i < end; ++i) {
        if (g_pixels[i] != g_before[i]) unpremultiply(g_pixels[i], &buffer->pixels[i * 4], opaque);
      }
    }
  }
  release_pass();
}

void text_reset() {
  vector_stop();
  font_free(-1);
  text_release_platform();
  PassWords().swap(g_pixels);
  PassWords().swap(g_before);
}
