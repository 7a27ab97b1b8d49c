// Gathers every picture of the data pack in the order the game loads them.
#include "tools/contentgen/content.h"

GeneratedFile finish_picture(const std::string& name, Picture picture) {
  GeneratedFile file;
  file.name = name;
  // Start-up decodes every picture, so the level is chosen for decoding:
  // with the rows unfiltered, the strongest level finds the longest matches
  // and zlib inflates them fastest.
  file.bytes = png_encode(picture, 9);
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
