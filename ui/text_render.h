// Rendering text into a sprite: the scratch picture in the panel colour, the
// vector pass that writes the text, the copy into the sprite. Shared by the
// two files of the text-sprite pass only.
#pragma once

#include <functional>
#include <string>

#include "ui/text_keys.h"

namespace text_render {

// The slot of a language key in kTextSlots (its font and room); the first
// slot when the key is not there.
const TextSlot& SlotOf(const char* key);

// Makes sprite `number` of width x height from a scratch picture filled with
// the panel colour. `text` runs inside the vector pass on the picture (it is
// skipped when the picture cannot be made or the pass cannot start);
// `extra`, when given, runs inside the 2-D pass on the sprite after the
// picture has been copied in. Returns false when the sprite could not be
// made or drawn into.
bool Render(int number, int width, int height, const std::function<void()>& text,
            const std::function<void()>& extra = {});

// Selects font slot `font` and colour `rgba` for the following text.
void UseFont(int font, unsigned rgba);

// The current font's width of a text as a whole number of pixels (halves to
// even); 0 for an empty text.
int RoundedWidth(const std::string& text);

// Draws a text centred in a row `width` wide at height y.
void DrawCentred(const std::string& text, double width, double y);

}  // namespace text_render

// The strips of the language names and the window sizes (bright and
// dimmed), each cut to the current setting's row: the end of the full pass.
void RenderListStrips();
