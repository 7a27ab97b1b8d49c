// The display's dots per inch on Linux: the "Xft.dpi" resource of the X
// display, 96 where there is no display or no such resource.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/text/text.h"
#include "engine/text/text_backend.h"
#include "engine/text/text_dpi_linux.h"
#include "tests/support/text_probe.h"

namespace {

TEST(DisplayResources, XftDpiGivesTheDotsPerInch) {
  EXPECT_EQ(text_dpi_from_resources("Xft.dpi:\t120\n"), 120);
  EXPECT_EQ(text_dpi_from_resources("Xft.antialias:\t1\nXft.hinting:\t1\nXft.dpi:\t144\nXcursor.size:\t24\n"), 144);
  EXPECT_EQ(text_dpi_from_resources("*dpi: 110\n"), 110);     // a resource for every program
  EXPECT_EQ(text_dpi_from_resources("Xft.dpi: 96.6\n"), 97);  // scaled by 1.006
  EXPECT_EQ(text_dpi_from_resources("Xft.dpi:\t 192 \n"), 192);
}

TEST(DisplayResources, NoUsableXftDpiGivesNone) {
  for (const char* resources : {"", "Xft.antialias: 1\n", "Xft.dpi:\n", "Xft.dpi: none\n", "Xft.dpi: 0\n",
                                "Xft.dpi: -120\n", "Xft.dpi: 12x\n", "Xft.dpi: 1e9\n", "Xft.dpi: 99999999\n",
                                "Xterm.dpi: 120\n"})
    EXPECT_EQ(text_dpi_from_resources(resources), 0) << resources;
}

TEST(DisplayResources, WithoutADisplay96) {
  // The tests run without a display (and this one names one that is not
  // there): the value for a machine that cannot say.
  ASSERT_EQ(setenv("DISPLAY", ":9999", 1), 0);
  EXPECT_EQ(text_display_dpi(), 96);
  ASSERT_EQ(unsetenv("DISPLAY"), 0);
  EXPECT_EQ(text_display_dpi(), 96);
}

// Run by display_dpi_test.sh on a virtual display, which says what to expect.
TEST(DisplayDpi, FontsAreSizedByTheDisplaysDotsPerInch) {
  const char* expected = std::getenv("DUSK_EXPECT_DPI");
  if (!expected) GTEST_SKIP() << "needs an X display (display_dpi_test.sh)";
  const int dpi = std::atoi(expected);
  EXPECT_EQ(font_dpi(), dpi);
  ASSERT_NE(font_load(0, "Arial Black", 40, kFontHighQuality), 0);
  EXPECT_EQ(font_pixel_size(0), font_points_to_pixels(40, dpi));
  text_reset();
}

}  // namespace
