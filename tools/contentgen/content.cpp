// Gathers every picture of the data pack in the order the game loads them.
#include "tools/contentgen/content.h"

GeneratedFile finish_picture(const std::string& name, Picture picture) {
  GeneratedFile file;
  file.name = name;
  // Start-up decodes every picture, so the levels are chosen for decoding:
  // with the rows unfiltered, a stronger level finds longer matches and zlib
  // inflates them faster. The screen-sized pictures are dithered noise at the
  // bit level, where level 9 buys almost nothing over 6 and costs seconds.
  const int level = picture.width * picture.height > 1000000 ? 6 : 9;
  file.bytes = png_encode(picture, level);
  file.picture = std::move(picture);
  return file;
}

std::vector<GeneratedFile> make_data_pictures() {
  std::vector<GeneratedFile> all = make_backgrounds();
  for (auto* part : {&make_card_sets, &make_interface_pictures, &make_splashes}) {
    std::vector<GeneratedFile> more = (*part)();
    for (GeneratedFile& f : more) all.push_back(std::move(f));
  }
  return all;
}
