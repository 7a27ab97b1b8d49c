// The screen set-up the drawing tests share: the sprite system on SDL's
// dummy driver, a screen in a window, pictures made on the spot, and
// reading back what was drawn, as renderer pixels or as a saved grab.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/image/image_buffer.h"

namespace test_screen {

// Starts the sprite system; a fatal failure of the test (with SDL's reason)
// when it cannot.
void StartSprites();
// Opens window `window` of w x h and a screen of the same size in it. A
// full screen would not do: the dummy driver cuts it to its 1024 x 768.
void OpenScreenInWindow(int window, int w, int h, const std::string& title, int flags);
// StartSprites, then OpenScreenInWindow.
void StartScreen(int window, int w, int h, const std::string& title, int flags);

// Every pixel of the screen as 0x00RRGGBB (the back buffer's alpha is not
// shown), with everything drawn so far.
std::vector<uint32_t> ReadPixels();
// One pixel of what ReadPixels gave, in screen coordinates.
uint32_t PixelAt(const std::vector<uint32_t>& pixels, int x, int y);

// Covers the whole screen with one engine colour (0x00BBGGRR): `sprite`
// made of screen size, filled and drawn at (0, 0). The sprite is kept.
void CoverScreen(int sprite, int bgr);

// 0x00RRGGBB to the engine's 0x00BBGGRR colour values.
int Bgr(uint32_t rgb);

// A w x h part of the screen from (x, y) grabbed into `sprite`, saved as PNG
// at `path` and decoded again; the sprite is freed.
ImageBuffer GrabScreen(int sprite, int x, int y, int w, int h, const std::string& path);
// A picture file decoded; an empty image when it cannot be read.
ImageBuffer DecodePicture(const std::string& path);
// The colour 0x00RRGGBB of a pixel of a decoded picture.
uint32_t ImagePixel(const ImageBuffer& image, int x, int y);

// An encoded PNG of w x h pixels given as 0xAARRGGBB, row by row.
std::vector<uint8_t> EncodePng(int w, int h, const std::vector<uint32_t>& argb, int depth = 32);

// The lines of a text file with CR LF ends (the game's log), without their
// ends; none when the file cannot be read.
std::vector<std::string> CrLfLines(const std::string& path);

}  // namespace test_screen
