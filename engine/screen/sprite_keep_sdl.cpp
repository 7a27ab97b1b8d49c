// Holding large pictures only while they are shown. On the software screen
// a sprite of a megabyte or more that has not been drawn for a second (or,
// made and not yet drawn, once a pass has gone by without it) gives its
// pixels back to the system when they can be made again: decoded anew
// from the picture it was made from, or filled with the one colour it is
// all of (the dimming sprite). A splash picture, the backgrounds not in use
// and the dimming sprite between two wins then cost nothing; the pixels
// come back, the same to the last bit, the next time the sprite is needed.
#include <algorithm>
#include <cstring>

#include "engine/screen/screen_sdl.h"

namespace {

// A second at the game's pace.
constexpr uint64_t kIdlePasses = 60;

// Whether every pixel is the same word; works it out once per change.
bool all_one_word(Sprite* sp) {
  if (!sp->uniform_known) {
    const PixelVector& px = sp->pixels.pixels;
    uint32_t first = 0;
    bool same = px.size() >= 4;
    if (same) std::memcpy(&first, px.data(), 4);
    for (size_t i = 4; same && i + 4 <= px.size(); i += 4) {
      uint32_t word;
      std::memcpy(&word, px.data() + i, 4);
      same = word == first;
    }
    sp->uniform = same;
    sp->uniform_word = first;
    sp->uniform_known = true;
  }
  return sp->uniform;
}

// The picture decoded again as it was when the sprite was made.
bool decode_again(Sprite* sp) {
  const SpriteSource& src = *sp->source;
  std::unique_ptr<ImageBuffer> img;
  if (src.fit_width > 0) {
    img = image_decode_stretched(src.encoded.data(), src.encoded.size(), src.fit_width, src.fit_height, src.choose);
    if (img) {
      auto* p = reinterpret_cast<uint32_t*>(img->pixels.data());
      for (size_t i = 0; i < img->pixels.size() / 4; ++i) p[i] = (p[i] & 0x00FFFFFFu) | src.fit_alpha;
    }
  } else if (src.key >= 0) {
    img = image_decode_keyed(src.encoded.data(), src.encoded.size(), src.key);
  } else {
    img = image_decode(src.encoded.data(), src.encoded.size());
  }
  if (!img || img->width != sp->width || img->height != sp->height) return false;
  img->depth = 32;
  sp->pixels = std::move(*img);
  return true;
}

}  // namespace

bool sprite_restore(Sprite* sp) {
  if (!sp->pixels.pixels.empty()) return true;
  if (screen_state().path == ScreenPath::Renderer && sp->texture) return sprite_texture_read(sp);
  if (sp->uniform) {
    ImageBuffer px;
    px.width = sp->width;
    px.height = sp->height;
    px.depth = 32;
    const size_t count = static_cast<size_t>(sp->width) * static_cast<size_t>(sp->height);
    if (!pixels_resize(&px.pixels, count * 4)) return false;
    std::fill_n(reinterpret_cast<uint32_t*>(px.pixels.data()), count, sp->uniform_word);
    sp->pixels = std::move(px);
    return true;
  }
  return sp->source && decode_again(sp);
}

void sprite_change_colour(Sprite* sp, const std::function<void(ImageBuffer*)>& change) {
  // The change made to one pixel of the colour, by the same code that would
  // make it to every pixel.
  ImageBuffer one;
  one.width = one.height = 1;
  one.depth = 32;
  if (!pixels_resize(&one.pixels, 4)) return;
  std::memcpy(one.pixels.data(), &sp->uniform_word, 4);
  change(&one);
  std::memcpy(&sp->uniform_word, one.pixels.data(), 4);
}

ImageBuffer& sprite_scratch() {
  static ImageBuffer scratch;
  return scratch;
}

void sprites_release_idle() {
  sprite_scratch() = ImageBuffer();
  ScreenContext& s = screen_state();
  if (s.path != ScreenPath::Surface) return;
  const uint64_t pass = s.frame.pass;
  sprite_table().for_each([pass](int, Sprite& sp) {
    if (sp.pixels.pixels.size() < kMemoryLargeBlock) return;
    // A picture made at start-up and not on the first frame (the title, the
    // backgrounds) goes at once: it may not be shown for many seconds.
    const uint64_t idle = pass - sp.used_in_pass;
    if (idle <= (sp.drawn_ever ? kIdlePasses : 0)) return;
    if (!sp.source && !all_one_word(&sp)) return;
    sp.pixels = ImageBuffer();
    sp.zoomed = ImageBuffer();
    sp.zoomed_shape = PixelShape();
  });
}
