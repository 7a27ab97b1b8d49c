// Every entry the game reads from the data pack is generated under its exact
// name, at a size the screens can use, with the alpha or colour-key form the
// loader gives it, and small enough for the loader's read buffer.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <set>

#include "tests/tools/contentgen/contentgen_test_util.h"

namespace {

constexpr size_t kScreenBuffer = 4194304;
constexpr size_t kPictureBuffer = 204800;
constexpr size_t kFlagBuffer = 16000;

bool is_screen_sized(const std::string& name) {
  return name.rfind("background ", 0) == 0 || name == "title.png" || name == "ogs.png";
}

bool is_card(const std::string& name) {
  return name.size() > 2 && name[1] == '-' && (name[0] == '1' || name[0] == '2');
}

bool is_colour_keyed(const std::string& name) {
  static const std::set<std::string> keyed = {"gradient.png", "left.png",  "left off.png",
                                              "right.png",    "right off.png", "box.png",
                                              "boxx.png"};
  return keyed.count(name) != 0;
}

TEST(Catalogue, EveryEntryTheGameReadsExistsOnceUnderItsName) {
  const std::vector<std::string> expected = expected_picture_names();
  ASSERT_EQ(expected.size(), 69u);
  std::set<std::string> generated;
  for (const GeneratedFile& f : generated_pictures()) {
    EXPECT_TRUE(generated.insert(f.name).second) << f.name << " generated twice";
  }
  for (const std::string& name : expected) {
    EXPECT_EQ(generated.count(name), 1u) << name << " missing";
  }
  EXPECT_EQ(generated.size(), expected.size()) << "pictures nobody reads";
}

TEST(Catalogue, EveryEntryFitsTheLoadersReadBuffer) {
  for (const GeneratedFile& f : generated_pictures()) {
    const size_t cap = is_screen_sized(f.name) ? kScreenBuffer : kPictureBuffer;
    EXPECT_GT(f.bytes.size(), 0u) << f.name;
    EXPECT_LE(f.bytes.size(), cap) << f.name;
  }
  for (const GeneratedFile& f : generated_flags()) {
    EXPECT_GT(f.bytes.size(), 0u) << f.name;
    EXPECT_LE(f.bytes.size(), kFlagBuffer) << f.name;
  }
}

TEST(Catalogue, ScreenPicturesAreFullHdAndOpaque) {
  for (const GeneratedFile& f : generated_pictures()) {
    if (!is_screen_sized(f.name)) continue;
    int type = -1;
    const Picture p = decode_or_fail(f, &type);
    EXPECT_EQ(p.width, 1920) << f.name;
    EXPECT_EQ(p.height, 1080) << f.name;
    EXPECT_EQ(type, PNG_COLOR_TYPE_RGB) << f.name;
  }
}

TEST(Catalogue, CardsAre256SquareWithClearRoundedCornersAndSolidMiddles) {
  int cards = 0;
  for (const GeneratedFile& f : generated_pictures()) {
    if (!is_card(f.name)) continue;
    ++cards;
    int type = -1;
    const Picture p = decode_or_fail(f, &type);
    ASSERT_EQ(p.width, 256) << f.name;
    ASSERT_EQ(p.height, 256) << f.name;
    EXPECT_EQ(type, PNG_COLOR_TYPE_RGB_ALPHA) << f.name;
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {3, 3}, {252, 252}}) {
      EXPECT_EQ(p.at(x, y)[3], 0) << f.name << " corner " << x << "," << y;
    }
    // Edge middles and the centre are card, not background.
    for (auto [x, y] : {std::pair{128, 128}, {128, 6}, {6, 128}, {249, 128}, {128, 249}}) {
      EXPECT_EQ(p.at(x, y)[3], 255) << f.name << " at " << x << "," << y;
    }
  }
  EXPECT_EQ(cards, 50);
}

TEST(Catalogue, AlphaPicturesHaveRealTransparency) {
  for (const char* name : {"shadow.png", "menu.png", "menushadow.png", "well done.png",
                           "well done shadow.png", "pointer.png"}) {
    const GeneratedFile* f = find_generated(name);
    ASSERT_NE(f, nullptr) << name;
    int type = -1;
    const Picture p = decode_or_fail(*f, &type);
    EXPECT_EQ(type, PNG_COLOR_TYPE_RGB_ALPHA) << name;
    int clear = 0, solid = 0, between = 0;
    for (size_t i = 3; i < p.rgba.size(); i += 4) {
      clear += p.rgba[i] == 0;
      solid += p.rgba[i] == 255;
      between += p.rgba[i] != 0 && p.rgba[i] != 255;
    }
    EXPECT_GT(clear, 0) << name;
    EXPECT_GT(solid + between, 0) << name;
    // Soft edges (antialiasing, shadow falloff) rather than a hard cut-out.
    EXPECT_GT(between, 0) << name;
  }
}

TEST(Catalogue, ShadowsMatchThePicturesTheyLieUnder) {
  const std::pair<const char*, const char*> pairs[] = {
      {"shadow.png", "1-back.png"}, {"menushadow.png", "menu.png"},
      {"well done shadow.png", "well done.png"}};
  for (auto [shadow_name, picture_name] : pairs) {
    int type = -1;
    const Picture shadow = decode_or_fail(*find_generated(shadow_name), &type);
    const Picture picture = decode_or_fail(*find_generated(picture_name), &type);
    EXPECT_EQ(shadow.width, picture.width) << shadow_name;
    EXPECT_EQ(shadow.height, picture.height) << shadow_name;
    for (size_t i = 0; i < shadow.rgba.size(); i += 4) {
      ASSERT_LT(shadow.rgba[i] + shadow.rgba[i + 1] + shadow.rgba[i + 2] + 0, 3 * 40)
          << shadow_name << " is not dark at byte " << i;
    }
  }
}

TEST(Catalogue, MenuPanelHoldsTheScreensLaidOutOnIt) {
  int type = -1;
  const Picture p = decode_or_fail(*find_generated("menu.png"), &type);
  // Settings and credits blocks are 530 wide at 74 from the left; the
  // buttons end 580 below the top; a 1280x720 screen must hold it.
  EXPECT_GE(p.width, 74 + 530 + 74);
  EXPECT_GE(p.height, 600);
  EXPECT_LE(p.height, 700);
  EXPECT_LE(p.width, 1024);
  // The text sprites are opaque rectangles of the panel colour
  // (241, 172, 71): where they stand the panel must be exactly that colour,
  // or every caption would show as a box.
  const int left = (p.width - 540) / 2, right = left + 540;
  for (int y = 140; y < 580; ++y) {
    for (int x = std::min(left, 74); x < std::max(right, 604); ++x) {
      const uint8_t* c = p.at(x, y);
      ASSERT_TRUE(c[0] == 241 && c[1] == 172 && c[2] == 71 && c[3] == 255)
          << "panel colour broken at " << x << "," << y;
    }
  }
  EXPECT_EQ(p.at(0, 0)[3], 0) << "rounded corner";
}

TEST(Catalogue, ColourKeyedPicturesAreRgbWithCleanBlackKey) {
  for (const GeneratedFile& f : generated_pictures()) {
    if (!is_colour_keyed(f.name)) continue;
    int type = -1;
    const Picture p = decode_or_fail(f, &type);
    EXPECT_EQ(type, PNG_COLOR_TYPE_RGB) << f.name;
    // Only exact black is keyed out: a nearly black pixel would show as a
    // dark fringe on the panel.
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      const int top = std::max({p.rgba[i], p.rgba[i + 1], p.rgba[i + 2]});
      ASSERT_TRUE(top == 0 || top >= 60) << f.name << " has a dark fringe pixel";
    }
  }
}

TEST(Catalogue, SettingsControlsFitTheirRowsAndCoverEachOther) {
  int type = -1;
  const Picture left = decode_or_fail(*find_generated("left.png"), &type);
  const Picture left_off = decode_or_fail(*find_generated("left off.png"), &type);
  const Picture right = decode_or_fail(*find_generated("right.png"), &type);
  const Picture right_off = decode_or_fail(*find_generated("right off.png"), &type);
  const Picture box = decode_or_fail(*find_generated("box.png"), &type);
  const Picture ticked = decode_or_fail(*find_generated("boxx.png"), &type);
  // Arrows stand 20 pixels left of the 280-pixel value strip, in rows 40 apart.
  for (const Picture* p : {&left, &left_off, &right, &right_off, &box, &ticked}) {
    EXPECT_LE(p->width, 20);
    EXPECT_LE(p->height, 30);
  }
  EXPECT_EQ(left.width, left_off.width);
  EXPECT_EQ(left.height, left_off.height);
  EXPECT_EQ(right.width, right_off.width);
  EXPECT_EQ(box.width, ticked.width);
  // The inactive arrow is drawn over the active one: it must hide it
  // everywhere, so it has no keyed pixel where the active one has colour.
  for (auto [on, off] : {std::pair{&left, &left_off}, {&right, &right_off}}) {
    for (size_t i = 0; i < on->rgba.size(); i += 4) {
      const bool on_black = on->rgba[i] == 0 && on->rgba[i + 1] == 0 && on->rgba[i + 2] == 0;
      const bool off_black = off->rgba[i] == 0 && off->rgba[i + 1] == 0 && off->rgba[i + 2] == 0;
      ASSERT_FALSE(off_black && !on_black) << "inactive arrow lets the active one through";
    }
    EXPECT_NE(on->rgba, off->rgba) << "inactive arrow looks like the active one";
  }
  // The arrows point outward: each narrows toward its tip, and the left one
  // is the right one mirrored.
  auto ink_in_column = [](const Picture& p, int x) {
    int ink = 0;
    for (int y = 0; y < p.height; ++y) ink += p.at(x, y)[1] < 150;
    return ink;
  };
  const int w = left.width;
  EXPECT_LT(ink_in_column(left, 3), ink_in_column(left, w - 4));
  EXPECT_LT(ink_in_column(right, w - 4), ink_in_column(right, 3));
  for (int y = 0; y < left.height; ++y) {
    for (int x = 0; x < w; ++x) {
      ASSERT_NEAR(left.at(x, y)[1], right.at(w - 1 - x, y)[1], 8) << x << "," << y;
    }
  }
  // The tick changes the box.
  EXPECT_NE(ticked.rgba, box.rgba);
}

TEST(Catalogue, ColourKeyedPicturesLookRightDrawnOpaqueOnThePanel) {
  // The game draws these opaque (the colour key's transparency does not
  // count then), the bar on the panel and the rest over the settings
  // labels' panel colour: no pixel may be the black key, and the corners
  // around the rounded shapes are that panel colour, at most blended with
  // the bar's darker ends where its rounding crosses them.
  const int panel[3] = {241, 172, 71}, deep[3] = {0xc9, 0x7a, 0x2e};
  for (const GeneratedFile& f : generated_pictures()) {
    if (!is_colour_keyed(f.name)) continue;
    int type = -1;
    const Picture p = decode_or_fail(f, &type);
    for (size_t i = 0; i < p.rgba.size(); i += 4)
      ASSERT_FALSE(p.rgba[i] == 0 && p.rgba[i + 1] == 0 && p.rgba[i + 2] == 0) << f.name << " has a keyed pixel";
    for (auto [x, y] : {std::pair{0, 0}, {p.width - 1, 0}, {0, p.height - 1}, {p.width - 1, p.height - 1}}) {
      const uint8_t* c = p.at(x, y);
      for (int k = 0; k < 3; ++k) {
        EXPECT_GE(c[k], std::min(panel[k], deep[k])) << f.name << " corner " << x << "," << y;
        EXPECT_LE(c[k], std::max(panel[k], deep[k])) << f.name << " corner " << x << "," << y;
      }
      if (f.name != "gradient.png") {
        EXPECT_TRUE(c[0] == panel[0] && c[1] == panel[1] && c[2] == panel[2]) << f.name << " corner " << x << "," << y;
      }
    }
  }
}

TEST(Catalogue, FlagsDecodeAndNameTheirLanguage) {
  ASSERT_GE(generated_flags().size(), 11u);
  std::set<std::string> codes;
  for (const GeneratedFile& f : generated_flags()) {
    ASSERT_GT(f.name.size(), 5u);
    EXPECT_EQ(f.name.substr(f.name.size() - 5), ".flag");
    codes.insert(f.name.substr(0, f.name.size() - 5));
    int type = -1;
    const Picture p = decode_or_fail(f, &type);
    EXPECT_GE(p.width, 24) << f.name;
    EXPECT_GT(p.width, p.height) << f.name;
  }
  for (const char* code : {"en_GB", "en_US", "de_DE", "fr_FR", "es_ES", "it_IT", "nl_NL", "pt_BR",
                           "pl_PL", "sv_SE", "ja_JP"}) {
    EXPECT_EQ(codes.count(code), 1u) << code;
  }
}

}  // namespace
