// The pictures and the music of the data pack: which entry becomes which
// sprite or image, the read buffers, and fitting the full-screen pictures to
// the screen. A load reports what it did; the program decides what a failure
// means.
#pragma once
#include <string>
#include <vector>

constexpr const char* kDataPackName = "DuskmatchData.pack";
constexpr const char* kMusicEntry = "music.ogg";

// The music is sound 0.
constexpr int kMusicSound = 0;

// Read buffer capacities: the largest entry accepted of each kind.
constexpr int kScreenPictureBuffer = 4194304;  // backgrounds, title, logo
constexpr int kPictureBuffer = 204800;         // every other picture
constexpr int kMusicBuffer = 15728640;

// Entry names of the numbered pictures: "background 3.png" (n = 1 to 4),
// "2-back.png" (set 1 or 2), "2-card07.png" (card 1 to 24, two digits).
std::string BackgroundEntry(int n);
std::string CardBackEntry(int set);
std::string CardFaceEntry(int set, int card);

// What a load from the data pack did: the entries read and made, in load
// order, and whether it stopped at one that could not be had (failed names
// it; empty when the pack itself would not open).
struct AssetLoad {
  std::vector<std::string> loaded;
  bool ok = true;
  std::string failed;
};

// Loads every picture from the data pack at packPath into its sprite or
// image, stopping at the first one that is missing, larger than its buffer
// or does not decode. Runs after every opening of the display.
AssetLoad LoadPicturesFrom(const std::string& packPath);
// Loads "music.ogg" from the data pack at packPath as sound 0.
AssetLoad LoadMusicFrom(const std::string& packPath);
// Decodes a full-screen picture and makes it into a ScreenWidth by
// ScreenHeight sprite (number, or -1 for a handle): used unscaled at the
// screen's size, stretched when the two are about as wide for their height,
// otherwise scaled to cover the screen and cut out of the middle. flags 0,
// or kSpriteLater for a picture not on the next frame (checked now, its
// pixels made when it is shown). Returns the sprite (handle), or 0 when the
// picture does not decode.
int FitToScreen(const void* data, int size, int number, int flags = 0);
