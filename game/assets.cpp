// Loading the data pack's pictures into their sprites and images, and the
// music into sound 0, each load stopping at the first entry that cannot be
// had.
#include "game/assets.h"

#include <cstdint>
#include <memory>
#include <new>

#include "engine/image/image.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/sound/sound.h"
#include "game/board.h"
#include "game/sprites.h"

namespace {

// How an entry becomes a picture.
enum class Make {
  AlphaSprite,  // a sprite keeping the picture's own alpha channel
  KeyedSprite,  // a sprite whose black pixels are transparent
  Image,        // an image, drawn into text sprites later
  Fitted,       // a screen-sized sprite fitted to the screen
  FittedLater,  // the same, not on the first frame: checked now, made when shown
};

struct FixedPicture {
  const char* entry;
  int number;
  Make make;
};

// The pictures with fixed numbers, in the order they are loaded.
constexpr FixedPicture kFixedPictures[] = {
    {"shadow.png", kShadowSprite, Make::AlphaSprite},
    {"menu.png", kPanelSprite, Make::AlphaSprite},
    {"menushadow.png", kPanelShadowSprite, Make::AlphaSprite},
    {"well done shadow.png", kWellDoneShadowSprite, Make::AlphaSprite},
    {"well done.png", kWellDoneSprite, Make::AlphaSprite},
    {"gradient.png", kGradientSprite, Make::KeyedSprite},
    {"pointer.png", kPointerSprite, Make::AlphaSprite},
    {"left.png", kLeftArrowImage, Make::Image},
    {"left off.png", kLeftArrowOffSprite, Make::KeyedSprite},
    {"right.png", kRightArrowImage, Make::Image},
    {"right off.png", kRightArrowOffSprite, Make::KeyedSprite},
    {"box.png", kBoxSprite, Make::KeyedSprite},
    {"boxx.png", kTickedBoxSprite, Make::KeyedSprite},
    {"title.png", kTitleSprite, Make::FittedLater},
    {"ogs.png", kLogoSprite, Make::Fitted},
};

// An open data pack, the two read buffers of a picture load and its report.
class PictureLoad {
 public:
  explicit PictureLoad(int pack) : pack_(pack) {}
  ~PictureLoad() {
    if (pack_ != 0) pack_close(pack_);
  }
  PictureLoad(const PictureLoad&) = delete;
  PictureLoad& operator=(const PictureLoad&) = delete;

  // Reads an entry and makes it into a picture under number (-1: a new
  // handle); returns the engine's answer (the handle for -1), 0 when the
  // entry could not be had.
  int Load(const std::string& entry, Make make, int number) {
    const bool screen_sized = make == Make::Fitted || make == Make::FittedLater;
    const int64_t capacity = screen_sized ? kScreenPictureBuffer : kPictureBuffer;
    std::unique_ptr<uint8_t[]>& buffer = screen_sized ? screen_buffer_ : picture_buffer_;
    if (!buffer) buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(capacity)]);
    if (!buffer) return Fail(entry);
    // A read of 0 bytes counts as a failure as well: no picture is empty.
    const int64_t size = pack_read_entry(pack_, buffer.get(), capacity, entry);
    if (size <= 0) return Fail(entry);
    const int made = MakePicture(buffer.get(), size, make, number);
    // A picture that reads but does not decode is as unusable as a missing
    // one; going on would leave an invisible card or menu.
    if (made == 0) return Fail(entry);
    report_.loaded.push_back(entry);
    return made;
  }

  bool Ok() const { return report_.ok; }
  const AssetLoad& Report() const { return report_; }

 private:
  static int MakePicture(const uint8_t* data, int64_t size, Make make, int number) {
    const size_t bytes = static_cast<size_t>(size);
    switch (make) {
      case Make::AlphaSprite:
        return sprite_from_memory(number, data, bytes, kSpriteKeepAlpha);
      case Make::KeyedSprite:
        return sprite_from_memory(number, data, bytes, 0);
      case Make::Image:
        return image_from_memory_sized(number, data, bytes);
      case Make::Fitted:
        return FitToScreen(data, static_cast<int>(size), number, 0);
      case Make::FittedLater:
        return FitToScreen(data, static_cast<int>(size), number, kSpriteLater);
    }
    return 0;
  }

  int Fail(const std::string& entry) {
    report_.ok = false;
    report_.failed = entry;
    return 0;
  }

  int pack_;
  AssetLoad report_;
  std::unique_ptr<uint8_t[]> screen_buffer_;
  std::unique_ptr<uint8_t[]> picture_buffer_;
};

// Frees the sprite of a handle from an earlier load. After a display reopen
// the closed screen has taken it already and this does nothing; handles are
// never given out twice, so it cannot hit a newer sprite.
void FreeOldSprite(int* handle) {
  if (*handle != 0) sprite_free(*handle);
  *handle = 0;
}

}  // namespace

std::string BackgroundEntry(int n) { return "background " + std::to_string(n) + ".png"; }

std::string CardBackEntry(int set) { return std::to_string(set) + "-back.png"; }

std::string CardFaceEntry(int set, int card) {
  std::string number = std::to_string(card);
  if (number.size() < 2) number.insert(0, 2 - number.size(), '0');
  return std::to_string(set) + "-card" + number + ".png";
}

AssetLoad LoadPicturesFrom(const std::string& packPath) {
  const int pack = pack_open(-1, packPath, kPackFormatData);
  if (pack == 0) return AssetLoad{{}, false, ""};
  // The first entry that cannot be had ends the load.
  PictureLoad load(pack);
  for (int n = 1; n <= kBackgrounds && load.Ok(); ++n) {
    int& background = Backgrounds[static_cast<size_t>(n - 1)];
    FreeOldSprite(&background);
    background = load.Load(BackgroundEntry(n), Make::FittedLater, -1);
  }
  for (int set = 1; set <= kCardSets && load.Ok(); ++set) {
    CardSet& cards = CardSets[static_cast<size_t>(set - 1)];
    FreeOldSprite(&cards.Back);
    cards.Back = load.Load(CardBackEntry(set), Make::AlphaSprite, -1);
  }
  for (int set = 1; set <= kCardSets && load.Ok(); ++set) {
    CardSet& cards = CardSets[static_cast<size_t>(set - 1)];
    for (int card = 1; card <= kFacesPerSet && load.Ok(); ++card) {
      int& face = cards.Faces[static_cast<size_t>(card)];
      FreeOldSprite(&face);
      face = load.Load(CardFaceEntry(set, card), Make::AlphaSprite, -1);
    }
  }
  for (const FixedPicture& picture : kFixedPictures) {
    if (load.Ok()) load.Load(picture.entry, picture.make, picture.number);
  }
  return load.Report();
}

AssetLoad LoadMusicFrom(const std::string& packPath) {
  const int pack = pack_open(-1, packPath, kPackFormatData);
  if (pack == 0) return AssetLoad{{}, false, kMusicEntry};
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kMusicBuffer]);
  const int64_t size = buffer ? pack_read_entry(pack, buffer.get(), kMusicBuffer, kMusicEntry) : -1;
  const bool ok = size > 0 && sound_from_memory(kMusicSound, buffer.get(), static_cast<size_t>(size)) != 0;
  buffer.reset();
  pack_close(pack);
  if (!ok) return AssetLoad{{}, false, kMusicEntry};
  return AssetLoad{{kMusicEntry}, true, ""};
}
