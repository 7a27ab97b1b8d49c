// The game's icon: the studio's owl in its amber ring on a night-blue tile,
// drawn as vectors at any size. It marks the program in menus and task bars
// (the hicolor theme's pictures, the window icon in the data pack, the
// Windows program file's icon) and is the same drawing at every size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/picture.h"

// The sizes of the hicolor theme's pictures, in pixels.
inline constexpr int kThemeIconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};
// The sizes a Windows icon file holds; the largest is stored as PNG.
inline constexpr int kWindowsIconSizes[] = {16, 24, 32, 48, 64, 256};
// Side of the window icon the game reads from its data pack ("icon.png").
inline constexpr int kWindowIconSize = 128;

// The icon, size x size pixels with alpha.
Picture icon_picture(int size);

// The icon as a scalable SVG document (vectors only). Empty on failure.
std::string icon_svg();

// A Windows icon file (.ico) holding the pictures, each at most 256 x 256:
// 256 x 256 as PNG, smaller ones as 32-bit bitmaps with their AND mask.
// Empty when a picture cannot be stored.
std::vector<uint8_t> icon_file(const std::vector<Picture>& pictures);

// One picture as an icon or cursor bitmap: a 40-byte header, the 32-bit
// pixels bottom-up (BGRA) and the AND mask (a set bit where alpha is 0),
// rows padded to 32 bits.
std::vector<uint8_t> icon_bitmap(const Picture& picture);

// Writes the icon files into folder (ending in "/"): "icon-N.png" for each
// theme size, "icon.svg" and "Duskmatch.ico". False when one cannot be written.
bool write_icon_files(const std::string& folder);
