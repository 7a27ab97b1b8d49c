// Every text of every language file fits the sprite it is rendered into, at
// that sprite's font, and every character has a glyph in the faces the game
// draws with (no boxes for missing characters).
#include <gtest/gtest.h>

#include <pango/pangocairo.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "engine/image/image.h"
#include "engine/system/unicode.h"
#include "engine/text/text.h"
#include "engine/text/text_backend.h"
#include "tests/data/language_files.h"
#include "tests/support/text_probe.h"
#include "ui/text_keys.h"

namespace {

using languages::LanguageFile;

// Whether a text holds characters of the CJK blocks (U+3000 and up, below
// the surrogates), whose lines may break between any two characters.
bool has_cjk(const std::string& text) {
  for (char16_t unit : utf8_to_utf16(text))
    if (unit >= 0x3000 && unit < 0xD800) return true;
  return false;
}

// The texts are measured with the fonts installed here. Where "Arial Black"
// itself is missing, Lato Black stands in; Arial Black runs about a fifth
// wider, so the texts must then leave a quarter of their room free to fit on
// a machine that has it.
double headroom() { return font_face_family(0) == "Arial Black" ? 1.0 : 1.25; }

class TextSprites : public ::testing::Test {
 protected:
  void SetUp() override {
    for (size_t slot = 0; slot < kTextFonts.size(); ++slot) {
      int flags = kFontHighQuality | (kTextFonts[slot].bold ? kFontBold : 0);
      ASSERT_NE(font_load(static_cast<int>(slot), "Arial Black", kTextFonts[slot].points, flags), 0);
    }
    ASSERT_TRUE(image_create(1, 1200, 400, 32, 0));
  }
  void TearDown() override {
    text_reset();
    image_free(-1);
  }

  // Runs a pass on the scratch image with a font and gives fn the pass.
  template <typename Fn>
  auto with_font(int font, Fn fn) {
    EXPECT_NE(vector_start(image_vector_target(1, kVectorUnitPixel)), 0);
    vector_font(font_handle(font));
    auto result = fn();
    vector_stop();
    return result;
  }

  double width(int font, const std::string& text) {
    return with_font(font, [&] { return vector_text_width(text); });
  }

  // Height a paragraph takes when wrapped at box_width, uncut.
  double paragraph_height(int font, const std::string& text, double box_width) {
    return with_font(font, [&] {
      vector_move_to(0, 0);
      vector_draw_paragraph(text, box_width, 0, kParagraphCentre);
      return vector_pen_y();
    });
  }
};

TEST_F(TextSprites, MeasuringSeesLongTextsAsTooLong) {
  // The checks below are only as good as the measure: a long text must come
  // out wider, and wrap to more lines, than a short one.
  double one = width(0, "Settings");
  EXPECT_GT(one, 100);
  EXPECT_NEAR(width(0, "Settings Settings"), 2 * one + width(0, " "), 2);
  double line = paragraph_height(3, "Quit?", 540);
  EXPECT_GT(line, 20);
  EXPECT_GE(paragraph_height(3, std::string(20, 'W') + " " + std::string(20, 'W'), 540), 2 * line - 1);
}

TEST_F(TextSprites, EveryTextFitsItsSprite) {
  const double room = 1.0 / headroom();
  for (const LanguageFile& f : languages::load_all()) {
    for (const TextSlot& slot : kTextSlots) {
      if (slot.fit == TextFit::Message) continue;
      const std::string* text = languages::text_of(f.parsed, slot.key);
      if (!text) continue;  // a missing key fails the key test
      SCOPED_TRACE(f.code + " " + slot.key + ": " + *text);
      if (slot.fit == TextFit::Paragraph) {
        double box = slot.width * room;
        EXPECT_LE(paragraph_height(slot.font, *text, box), slot.height);
        // A word wider than the box would be broken inside. (Japanese has
        // no blanks and breaks between characters; its lines are checked
        // by the height alone.)
        std::istringstream words(*text);
        for (std::string word; words >> word;) {
          if (!has_cjk(word)) {
            EXPECT_LE(width(slot.font, word), box) << word;
          }
        }
      } else {
        EXPECT_LE(width(slot.font, *text), slot.width * room);
      }
    }
  }
}

TEST_F(TextSprites, CreditsLinesFitTheCreditsSprite) {
  const double room = kPanelBlockWidth / headroom();
  int previous_y = -1;
  for (const CreditsLine& line : kCreditsLines) {
    EXPECT_GT(line.y, previous_y);
    previous_y = line.y;
    double height = paragraph_height(line.font, "Duskmatch", 0);
    EXPECT_LE(line.y + height, kPanelBlockHeight) << line.y;
    if (line.text) {
      EXPECT_LE(width(line.font, line.text), room) << line.text;
      continue;
    }
    for (const LanguageFile& f : languages::load_all()) {
      const std::string* text = languages::text_of(f.parsed, line.key);
      if (text) {
        EXPECT_LE(width(line.font, *text), room) << f.code << " " << line.key << ": " << *text;
      }
    }
  }
}

// Characters of a text that no installed face could draw, in the face the
// engine chose for a font, with fontconfig's fallback as Pango applies it.
int missing_glyphs(int font, const std::string& text) {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  std::unique_ptr<PangoContext, decltype(&g_object_unref)> context(pango_font_map_create_context(map),
                                                                   g_object_unref);
  std::unique_ptr<PangoLayout, decltype(&g_object_unref)> layout(pango_layout_new(context.get()),
                                                                 g_object_unref);
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, font_face_family(font).c_str());
  pango_font_description_set_weight(desc, static_cast<PangoWeight>(font_face_weight(font)));
  pango_font_description_set_absolute_size(desc, font_pixel_size(font) * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), desc);
  pango_font_description_free(desc);
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  return pango_layout_get_unknown_glyphs_count(layout.get());
}

TEST_F(TextSprites, EveryCharacterHasAGlyph) {
  // A character of the private use planes has no glyph anywhere: the count
  // sees the boxes that stand in for missing characters.
  EXPECT_GT(missing_glyphs(1, "\xF4\x8F\xBF\xBD"), 0);
  for (const LanguageFile& f : languages::load_all()) {
    for (const KeyValueEntry* e : languages::loaded_keys(f.parsed)) {
      for (int font = 0; font < static_cast<int>(kTextFonts.size()); ++font)
        EXPECT_EQ(missing_glyphs(font, e->value), 0) << f.code << " " << e->name << ": " << e->value;
    }
  }
  for (const CreditsLine& line : kCreditsLines) {
    if (line.text) {
      EXPECT_EQ(missing_glyphs(line.font, line.text), 0) << line.text;
    }
  }
}

}  // namespace
