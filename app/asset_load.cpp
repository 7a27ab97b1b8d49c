// The program's side of loading the data pack: the game loads, the log tells
// what was loaded, and a failure is fatal.
#include "app/asset_load.h"

#include <string>

#include "app/fatal.h"
#include "app/folders.h"
#include "app/log.h"
#include "game/assets.h"

namespace {

// The one entry whose log line has always been written without parentheses.
constexpr const char* kBareLabelEntry = "left off.png";

// An OK line for every entry loaded, in order; then the fatal end if the
// load stopped short.
void Report(const AssetLoad& load) {
  for (const std::string& entry : load.loaded) {
    if (entry == kBareLabelEntry) {
      WriteLogResult("Load asset " + entry + ":", true);
    } else {
      LogLoadAsset(entry, true);
    }
  }
  if (!load.ok) AssetFailure(load.failed);
}

}  // namespace

void LoadGameAssets() { Report(LoadPicturesFrom(GameDir + kDataPackName)); }

void LoadMusic() { Report(LoadMusicFrom(GameDir + kDataPackName)); }
