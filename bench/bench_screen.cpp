// One frame of the game's heaviest screen on the software renderer of SDL's
// dummy video driver, against one full-screen opaque copy measured in the
// same run: background, 48 card shadows and 48 cards zoomed from 256 x 256
// and blended, the full-screen dimming sprite at 128 and a 680 x 620 panel.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_timing.h"

#include "engine/image/image_buffer.h"
#include "engine/screen/screen.h"

namespace {


// A sprite of w x h from a pixel function giving 0xAARRGGBB, kept as made.
template <typename F>
int make_sprite(int number, int w, int h, F colour) {
  int img = image_create(-1, w, h, 32, -1);
  ImageBuffer* b = image_handle(img);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c = colour(x, y);
      uint8_t* p = b->row(y) + x * 4;
      for (int k = 0; k < 4; ++k) p[k] = static_cast<uint8_t>(c >> (8 * k));
    }
  std::vector<uint8_t> png;
  if (!image_encode(*b, kImageFormatPNG, &png)) return 0;
  image_free(img);
  return sprite_from_memory(number, png.data(), png.size(), kSpriteKeepAlpha);
}

// Alpha of a rounded square like the game's pictures: opaque inside,
// transparent corners, and a soft edge of `soft` pixels (0: a hard edge).
uint32_t rounded_alpha(int x, int y, int w, int h, int r, int soft) {
  int cx = std::clamp(x, r, w - 1 - r), cy = std::clamp(y, r, h - 1 - r);
  double d = std::sqrt(double((x - cx) * (x - cx) + (y - cy) * (y - cy)));
  double edge = std::min({x, y, w - 1 - x, h - 1 - y}) < soft ? std::min({x, y, w - 1 - x, h - 1 - y}) : 1e9;
  double inside = std::min(r - d, edge);
  if (soft == 0) return inside >= 0 ? 0xFF000000u : 0;
  double a = std::clamp(inside / soft, 0.0, 1.0);
  return static_cast<uint32_t>(a * 255) << 24;
}

// Waits for the renderer to finish everything queued (a 1-pixel grab).
void finish() {
  if (!sprite_grab_screen(90, 0, 0, 1, 1)) std::fprintf(stderr, "grab failed\n");
}

using bench::Timing;

// Median of runs. The ratio uses processor time, because on a busy machine
// a long frame is interrupted more often than a short copy, which would
// skew a ratio of elapsed times.
template <typename F>
Timing median_time(int runs, F body) {
  std::vector<double> cpu, wall;
  for (int i = 0; i < runs; ++i) {
    const Timing t = bench::measure([&] {
      body();
      finish();
    });
    cpu.push_back(t.cpu);
    wall.push_back(t.wall);
  }
  std::sort(cpu.begin(), cpu.end());
  std::sort(wall.begin(), wall.end());
  return Timing{cpu[cpu.size() / 2], wall[wall.size() / 2]};
}

bool run(int width, int height) {
  if (!window_open(0, 0, 0, width, height, "bench", 0) ||
      !screen_open_in_window(0, 0, 0, width, height, 0, 0, 0, 0)) {
    std::fprintf(stderr, "cannot open a %dx%d screen\n", width, height);
    return false;
  }
  sprite_filtering_set(1);
  int card = (height - 60) / 6;
  int left = (width - (card + 10) * 8) / 2 + 5, top = (height - (card + 10) * 6) / 2 + 5;
  make_sprite(1, width, height, [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 7 ^ y * 3); });
  // The card shadow: a soft black copy of the card's shape.
  make_sprite(2, 256, 256, [](int x, int y) { return rounded_alpha(x, y, 256, 256, 26, 8); });
  for (int i = 0; i < 24; ++i)
    make_sprite(10 + i, 256, 256, [i](int x, int y) {
      return rounded_alpha(x, y, 256, 256, 26, 0) |
             static_cast<uint32_t>(((x + i * 9) & 0xFF) << 16 | (y & 0x7F) * 2 << 8 | i * 10);
    });
  sprite_create(4, width, height, kSpriteKeepAlpha);
  draw_start(sprite_draw_target(4));
  draw_box(0, 0, width, height, 0);
  draw_stop();
  sprite_transparent_color(4, 0xFFFFFF);
  // The menu panel: opaque with rounded corners, like the game's own.
  make_sprite(5, 680, 620, [](int x, int y) {
    return rounded_alpha(x, y, 680, 620, 40, 2) | static_cast<uint32_t>((x & 0xFF) << 8 | (y & 0xFF));
  });
  sprite_zoom(2, card, card);
  for (int i = 0; i < 24; ++i) sprite_zoom(10 + i, card, card);

  auto copy = [&] { sprite_draw(1, 0, 0); };
  auto board = [&](bool shadows, bool cards) {
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 8; ++c) {
        int x = left + (card + 10) * c, y = top + (card + 10) * r;
        if (shadows) sprite_draw_blended(2, x + 4, y + 4, 255);
        if (cards) sprite_draw_blended(10 + (r * 8 + c) % 24, x, y, 255);
      }
  };
  auto dim = [&] { sprite_draw_blended(4, 0, 0, 128); };
  auto panel = [&] { sprite_draw_blended(5, (width - 680) / 2, (height - 620) / 2, 255); };
  auto frame = [&] {
    copy();
    board(true, true);
    dim();
    panel();
  };
  for (int i = 0; i < 3; ++i) {  // warm caches and the renderer's scratch surfaces
    frame();
    finish();
  }
  Timing t_copy = median_time(60, copy);
  Timing t_frame = median_time(60, frame);
  Timing t_flip = median_time(20, [] { screen_flip(); });
  double ratio = t_frame.cpu / t_copy.cpu;
  std::printf("%dx%d: frame %.2f ms, full-screen copy %.3f ms (processor time), ratio %.2f (target <= 10)\n",
              width, height, t_frame.cpu * 1e3, t_copy.cpu * 1e3, ratio);
  std::printf("  elapsed: frame %.2f ms, copy %.3f ms, ratio %.2f; present %.3f ms\n", t_frame.wall * 1e3,
              t_copy.wall * 1e3, t_frame.wall / t_copy.wall, t_flip.wall * 1e3);
  // Where the frame's time goes, each part on its own in copies (each
  // includes the 1-pixel grab that waits for the renderer).
  Timing t_shadows = median_time(30, [&] { board(true, false); });
  Timing t_cards = median_time(30, [&] { board(false, true); });
  Timing t_dim = median_time(30, dim);
  Timing t_panel = median_time(30, panel);
  std::printf("  parts in copies: 48 shadows %.2f, 48 cards %.2f, dimming %.2f, panel %.2f\n",
              t_shadows.cpu / t_copy.cpu, t_cards.cpu / t_copy.cpu, t_dim.cpu / t_copy.cpu, t_panel.cpu / t_copy.cpu);
  screen_close();
  window_close(0);
  return ratio <= 10.0;
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  if (!sprite_system_start()) {
    std::fprintf(stderr, "no video\n");
    return 1;
  }
  bool ok = run(1280, 720);
  ok = run(1920, 1080) && ok;
  sprite_system_stop();
  return ok ? 0 : 2;
}
