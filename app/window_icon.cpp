// The icon of the game's windows, which a task bar shows: a picture of the
// data pack, so the engine's windows take whatever the game gives them.
#include <cstdint>
#include <memory>
#include <new>

#include "app/display.h"
#include "app/folders.h"
#include "engine/image/image.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "game/assets.h"

int WindowIcon = 0;

namespace {

constexpr const char* kIconEntry = "icon.png";

// The icon decoded into a new image; 0 when the pack, the entry or the
// picture cannot be had.
int ReadIcon() {
  const int pack = pack_open(-1, GameDir + kDataPackName, kPackFormatData);
  if (pack == 0) return 0;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kPictureBuffer]);
  const int64_t size = buffer ? pack_read_entry(pack, buffer.get(), kPictureBuffer, kIconEntry) : -1;
  pack_close(pack);
  if (size <= 0) return 0;
  return image_from_memory_sized(-1, buffer.get(), static_cast<size_t>(size));
}

}  // namespace

int GiveWindowsTheIcon() {
  if (WindowIcon == 0) WindowIcon = ReadIcon();
  return WindowIcon != 0 ? window_icon_set(WindowIcon) : 0;
}
