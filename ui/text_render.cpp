// The scratch picture, vector pass and copy behind every text sprite.
#include "ui/text_render.h"

#include <cmath>

#include "engine/image/image.h"
#include "engine/screen/screen.h"
#include "engine/text/text.h"
#include "ui/text_sprites.h"

namespace text_render {

const TextSlot& SlotOf(const char* key) {
  for (const TextSlot& slot : kTextSlots)
    if (std::string(slot.key) == key) return slot;
  return kTextSlots[0];
}

bool Render(int number, int width, int height, const std::function<void()>& text,
            const std::function<void()>& extra) {
  // A handle, not a fixed image number: images 0 and 1 belong to the picture
  // loader, and image_create gives 0 only on failure.
  const int scratch = image_create(-1, width, height, 32, static_cast<int>(kPanelColour));
  if (scratch != 0 && vector_start(image_vector_target(scratch, kVectorUnitPixel))) {
    text();
    vector_stop();
  }
  bool drawn = false;
  if (sprite_create(number, width, height, 0) != 0 && draw_start(sprite_draw_target(number))) {
    if (scratch != 0) draw_image(image_handle(scratch), 0, 0);
    if (extra) extra();
    draw_stop();
    drawn = true;
  }
  if (scratch != 0) image_free(scratch);
  return drawn;
}

void UseFont(int font, unsigned rgba) {
  vector_font(font_handle(font));
  vector_color(rgba);
}

int RoundedWidth(const std::string& text) {
  const double width = vector_text_width(text);
  if (!(width > 0)) return 0;  // also a width that is not a number
  if (width > 1e9) return 1000000000;
  return static_cast<int>(std::nearbyint(width));
}

void DrawCentred(const std::string& text, double width, double y) {
  const double w = vector_text_width(text);
  vector_move_to((width - w) / 2.0, y);
  vector_draw_text(text);
}

}  // namespace text_render
