// Windows cursor files (.cur), read and written without any platform code:
// the game's pointer file "DuskmatchCursor.pack" is one, and the content tools
// write it from a drawn pointer. The reader treats the file as untrusted input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One decoded cursor picture: rows top to bottom, four bytes per pixel in the
// order red, green, blue, alpha (straight, not premultiplied alpha).
struct CursorPicture {
  int width = 0;
  int height = 0;
  int hot_x = 0;  // the pixel that is the pointer's tip, inside the picture
  int hot_y = 0;
  std::vector<uint8_t> rgba;
};

// Largest side of a cursor picture; the file's directory cannot describe more.
constexpr int kCursorMaxSide = 256;

// Largest cursor file pointer_load reads (a full 256 x 256 32-bit entry is
// about 264 KB; room for several sizes in one file).
constexpr size_t kCursorFileMaxBytes = 4 * 1024 * 1024;

// Decodes the entry of a cursor file that suits the default pointer size
// (nearest to 32 x 32, then the most colours). Entries may be 32-bit (alpha,
// or the AND mask when every alpha is 0), 24-bit, 8/4/1-bit with a palette
// (transparency from the AND mask) or PNG. The hotspot comes from the file,
// moved inside the picture if it lies beyond it. Returns false, leaving *out
// untouched, for any malformed file: a directory entry whose data lies even
// partly outside the file, truncated pixel data, unknown depths or
// compressions, sides of 0 or above kCursorMaxSide.
[[nodiscard]] bool cursor_file_read(const uint8_t* data, size_t size, CursorPicture* out);

// Writes a cursor file with one 32-bit entry: rgba is width x height pixels as
// in CursorPicture, (hot_x, hot_y) the tip. Fully transparent pixels are
// written as black with their AND-mask bit set, so readers that ignore alpha
// see them transparent too. Returns the file's bytes, or an empty vector when
// a side is outside 1 .. kCursorMaxSide or the hotspot lies outside the picture.
std::vector<uint8_t> cursor_file_write(const uint8_t* rgba, int width, int height, int hot_x,
                                       int hot_y);
