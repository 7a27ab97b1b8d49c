// Writes the pointer file, a Windows cursor file, with the engine's cursor
// file writer: the file the game reads is written by the same code that
// reads it back in the tests.
#include "engine/input/cursor_file.h"
#include "tools/contentgen/content.h"

std::vector<uint8_t> cursor_file(const Picture& picture, int hot_x, int hot_y) {
  if (picture.alpha) {
    return cursor_file_write(picture.rgba.data(), picture.width, picture.height, hot_x, hot_y);
  }
  // A picture without alpha is opaque throughout, whatever its alpha bytes hold.
  std::vector<uint8_t> opaque = picture.rgba;
  for (size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
  return cursor_file_write(opaque.data(), picture.width, picture.height, hot_x, hot_y);
}
