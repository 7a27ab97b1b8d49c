// What the tests ask of loaded fonts that the game never asks: the em
// height and the face actually drawn. Built on the text service's font
// table (text_backend.h).
#pragma once

#include <string>

// Em height in pixels of a loaded font, 0 if none.
int font_pixel_size(int font);

// The family and weight (100 to 1000, 400 regular, 700 bold, 900 black) of
// the face actually drawn for a font; "" and 0 if none.
std::string font_face_family(int font);
int font_face_weight(int font);
