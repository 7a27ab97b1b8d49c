// contentgen: draws the game's pictures, language flags and pointer file
// into a folder, for the build to pack; or the game's icon files.
//   contentgen OUT_FOLDER [--contact-sheet FILE.png]
//   contentgen --icons OUT_FOLDER
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/system/file.h"
#include "tools/contentgen/canvas.h"
#include "tools/contentgen/content.h"
#include "tools/contentgen/icon.h"

namespace {

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (bytes.empty() || !file_write_atomic(path, bytes.data(), bytes.size())) {
    std::fprintf(stderr, "contentgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder, sheet;
  bool icons = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--contact-sheet") == 0 && i + 1 < argc) {
      sheet = argv[++i];
    } else if (std::strcmp(argv[i], "--icons") == 0) {
      icons = true;
    } else if (folder.empty() && argv[i][0] != '-') {
      folder = argv[i];
    } else {
      folder.clear();
      break;
    }
  }
  if (folder.empty() || (icons && !sheet.empty())) {
    std::fprintf(stderr,
                 "usage: contentgen OUT_FOLDER [--contact-sheet FILE.png]\n"
                 "       contentgen --icons OUT_FOLDER\n");
    return 2;
  }
  if (folder.back() != '/') folder += '/';
  if (icons) {
    // The icon is drawn without text: no fonts are needed.
    if (!folder_make(folder)) {
      std::fprintf(stderr, "contentgen: cannot make folder %s\n", folder.c_str());
      return 1;
    }
    return write_icon_files(folder) ? 0 : 1;
  }
  std::string missing;
  if (!fonts_available(&missing)) {
    std::fprintf(stderr, "contentgen: the font \"%s\" is not installed (run tools/setup.sh)\n",
                 missing.c_str());
    return 1;
  }
  if (!folder_make(folder)) {
    std::fprintf(stderr, "contentgen: cannot make folder %s\n", folder.c_str());
    return 1;
  }
  std::vector<GeneratedFile> pictures = make_data_pictures();
  std::vector<GeneratedFile> flags = make_flags();
  bool ok = true;
  const Picture* pointer = nullptr;
  for (const GeneratedFile& f : pictures) {
    ok = write_file(folder + f.name, f.bytes) && ok;
    if (f.name == "pointer.png") pointer = &f.picture;
  }
  for (const GeneratedFile& f : flags) ok = write_file(folder + f.name, f.bytes) && ok;
  if (pointer == nullptr) return 1;
  ok = write_file(folder + "DuskmatchCursor.pack",
                  cursor_file(*pointer, kPointerHotX, kPointerHotY)) && ok;
  if (!sheet.empty()) {
    std::vector<GeneratedFile> everything = pictures;
    for (const GeneratedFile& f : flags) everything.push_back(f);
    ok = write_file(sheet, png_encode(contact_sheet(everything), 6)) && ok;
  }
  return ok ? 0 : 1;
}
