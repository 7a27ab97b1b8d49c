// One shared generation for the content generator's tests.
#include "tests/tools/contentgen/contentgen_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>

const std::vector<GeneratedFile>& generated_pictures() {
  static const std::vector<GeneratedFile> pictures = make_data_pictures();
  return pictures;
}

const std::vector<GeneratedFile>& generated_flags() {
  static const std::vector<GeneratedFile> flags = make_flags();
  return flags;
}

const GeneratedFile* find_generated(const std::string& name) {
  for (const GeneratedFile& f : generated_pictures()) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

std::vector<std::string> expected_picture_names() {
  std::vector<std::string> names;
  for (int n = 1; n <= 4; ++n) names.push_back("background " + std::to_string(n) + ".png");
  for (int set = 1; set <= 2; ++set) {
    names.push_back(std::to_string(set) + "-back.png");
    for (int m = 1; m <= 24; ++m) {
      char face[32];
      std::snprintf(face, sizeof face, "%d-card%02d.png", set, m);
      names.push_back(face);
    }
  }
  for (const char* fixed :
       {"shadow.png", "menu.png", "menushadow.png", "well done shadow.png", "well done.png",
        "gradient.png", "pointer.png", "left.png", "left off.png", "right.png", "right off.png",
        "box.png", "boxx.png", "title.png", "ogs.png"}) {
    names.push_back(fixed);
  }
  return names;
}

Picture decode_or_fail(const GeneratedFile& file, int* color_type) {
  Picture p;
  EXPECT_TRUE(png_decode(file.bytes, &p, color_type)) << file.name << " does not decode";
  return p;
}
