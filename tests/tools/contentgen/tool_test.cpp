// The contentgen command: refuses bad arguments, and refuses to draw when
// the fonts it draws with are not installed rather than quietly drawing
// with a substitute; the icons need no fonts.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "engine/system/file.h"

namespace {

std::string tool() {
  const char* build = std::getenv("DUSK_BINARY_DIR");
  return build == nullptr ? std::string() : std::string(build) + "/tools/contentgen/contentgen";
}

int run(const std::string& command) {
  const int status = std::system((command + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ContentgenCommand, NeedsExactlyAnOutputFolder) {
  if (!file_exists(tool())) GTEST_SKIP() << "contentgen has not been built";
  EXPECT_EQ(run("'" + tool() + "'"), 2);
  EXPECT_EQ(run("'" + tool() + "' a b"), 2);
  EXPECT_EQ(run("'" + tool() + "' out --unknown"), 2);
  EXPECT_EQ(run("'" + tool() + "' --icons"), 2);
  EXPECT_EQ(run("'" + tool() + "' --icons out --contact-sheet sheet.png"), 2);
}

TEST(ContentgenCommand, IconsAreDrawnWithoutFonts) {
  if (!file_exists(tool())) GTEST_SKIP() << "contentgen has not been built";
  const std::string conf = "no-fonts-icons.conf";
  const std::string text = "<?xml version=\"1.0\"?><fontconfig></fontconfig>\n";
  ASSERT_TRUE(file_write(conf, text.data(), text.size()));
  folder_remove_all("out-icons/");
  EXPECT_EQ(run("FONTCONFIG_FILE=\"$PWD/" + conf + "\" '" + tool() + "' --icons out-icons"), 0);
  for (const char* name : {"icon-16.png", "icon-48.png", "icon-512.png", "icon.svg", "Duskmatch.ico"}) {
    EXPECT_TRUE(file_exists(std::string("out-icons/") + name)) << name;
  }
}

TEST(ContentgenCommand, MissingFontsFailWithoutWritingAnything) {
  if (!file_exists(tool())) GTEST_SKIP() << "contentgen has not been built";
  // A font configuration that knows no font folder at all.
  const std::string conf = "no-fonts.conf";
  const std::string text =
      "<?xml version=\"1.0\"?><fontconfig></fontconfig>\n";
  ASSERT_TRUE(file_write(conf, text.data(), text.size()));
  folder_remove_all("out-no-fonts/");
  // fontconfig looks a relative name up in its own folder: give the path.
  EXPECT_EQ(run("FONTCONFIG_FILE=\"$PWD/" + conf + "\" '" + tool() + "' out-no-fonts"), 1);
  EXPECT_TRUE(folder_list("out-no-fonts/").empty());
}

}  // namespace
