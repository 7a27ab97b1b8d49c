// Replacing a whole file (file_write_atomic) the way players keep their
// settings file: behind a link, with a mode of their own, marked read-only,
// or in a program folder only the file itself may be written in.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/system/file.h"
#include "engine/system/path.h"
#include "tests/engine/system/scratch_folder.h"

#ifdef _WIN32
#include <windows.h>

#include "engine/system/text_win32.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/as_player.h"
#endif

namespace {

const char kSep = kPathSeparator;

bool put(const std::string& path, const std::string& text) { return file_write(path, text.data(), text.size()); }

bool replace(const std::string& path, const std::string& text) {
  return file_write_atomic(path, text.data(), text.size());
}

class FileReplace : public ScratchFolderTest {
 protected:
  FileReplace() : ScratchFolderTest(std::string("replace") + kSep) {}
};

TEST_F(FileReplace, ANameWithNoRoomForATemporaryBesideItIsRewrittenInPlace) {
  // The temporary file's name is the file's own plus a few characters: for
  // a name of the file system's limit of 255 it cannot be made, and the
  // file is written where it is instead of the save being lost.
  const std::string path = dir_ + std::string(249, 'p') + ".prefs";
  ASSERT_TRUE(put(path, "the old settings, longer than the new"));
  ASSERT_TRUE(replace(path, "new"));
  EXPECT_EQ(read_text(path), "new");
  EXPECT_EQ(folder_list(dir_).size(), 1u);
  // Without an old file there is nothing to write in place.
  const std::string fresh = dir_ + std::string(252, 'q');
  EXPECT_FALSE(replace(fresh, "new"));
  EXPECT_FALSE(file_exists(fresh));
  EXPECT_EQ(folder_list(dir_).size(), 1u);
}

#ifdef _WIN32

bool set_attributes(const std::string& path, DWORD attributes) {
  return SetFileAttributesW(win32_path(path).c_str(), attributes) != 0;
}

TEST_F(FileReplace, AReadOnlyFileStaysAsItIsOnWindows) {
  const std::string path = dir_ + "Duskmatch.prefs";
  ASSERT_TRUE(put(path, "kept"));
  ASSERT_TRUE(set_attributes(path, FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(replace(path, "new"));
  EXPECT_EQ(read_text(path), "kept");
  EXPECT_NE(GetFileAttributesW(win32_path(path).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(folder_list(dir_), std::vector<std::string>{"Duskmatch.prefs"});
  // A hidden file stays hidden once replaced.
  ASSERT_TRUE(set_attributes(path, FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(replace(path, "new"));
  EXPECT_EQ(read_text(path), "new");
  EXPECT_NE(GetFileAttributesW(win32_path(path).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  ASSERT_TRUE(set_attributes(path, FILE_ATTRIBUTE_NORMAL));
}

#else

mode_t mode_of(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

bool is_link(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

TEST_F(FileReplace, TheOldFileKeepsItsModeAndANewOneGetsThePlainWritesMode) {
  const std::string path = dir_ + "Duskmatch.prefs";
  for (mode_t mode : {0600, 0640, 0664}) {
    ASSERT_TRUE(put(path, "old"));
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(replace(path, "new"));
    EXPECT_EQ(read_text(path), "new");
    EXPECT_EQ(mode_of(path), mode) << std::oct << "a file of mode " << mode;
  }
  const mode_t mask = umask(022);
  umask(mask);
  ASSERT_TRUE(replace(dir_ + "fresh", "new"));
  EXPECT_EQ(mode_of(dir_ + "fresh"), 0644 & ~mask);
  EXPECT_EQ(folder_list(dir_), (std::vector<std::string>{"Duskmatch.prefs", "fresh"}));
}

TEST_F(FileReplace, BehindALinkTheFileItNamesIsReplacedAndTheLinkStays) {
  ASSERT_TRUE(folder_make(dir_ + "real/"));
  ASSERT_TRUE(folder_make(dir_ + "prog/"));
  const std::string target = dir_ + "real/Duskmatch.prefs";
  const std::string link = dir_ + "prog/Duskmatch.prefs";
  ASSERT_TRUE(put(target, "old"));
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  ASSERT_EQ(symlink("../real/Duskmatch.prefs", link.c_str()), 0);  // relative to the link's folder
  ASSERT_TRUE(replace(link, "new"));
  EXPECT_TRUE(is_link(link));
  EXPECT_EQ(read_text(target), "new");
  EXPECT_EQ(mode_of(target), 0600u);
  EXPECT_EQ(folder_list(dir_ + "prog/"), std::vector<std::string>{"Duskmatch.prefs"});
  EXPECT_EQ(folder_list(dir_ + "real/"), std::vector<std::string>{"Duskmatch.prefs"});

  // A link to a link, the last one absolute: the file at the end is replaced.
  const std::string second = dir_ + "second";
  ASSERT_EQ(symlink(link.c_str(), second.c_str()), 0);
  ASSERT_TRUE(replace(second, "newer"));
  EXPECT_TRUE(is_link(second));
  EXPECT_TRUE(is_link(link));
  EXPECT_EQ(read_text(target), "newer");

  // A link to nothing yet gets its file, as a plain write would make it.
  const std::string dangling = dir_ + "prog/dangling";
  ASSERT_EQ(symlink("../real/made later", dangling.c_str()), 0);
  ASSERT_TRUE(replace(dangling, "made"));
  EXPECT_TRUE(is_link(dangling));
  EXPECT_EQ(read_text(dir_ + "real/made later"), "made");

  // A loop of links is no file to write.
  ASSERT_EQ(symlink("loop b", (dir_ + "loop a").c_str()), 0);
  ASSERT_EQ(symlink("loop a", (dir_ + "loop b").c_str()), 0);
  EXPECT_FALSE(replace(dir_ + "loop a", "x"));
  EXPECT_TRUE(is_link(dir_ + "loop a"));
}

TEST_F(FileReplace, AFileOfSeveralNamesIsWrittenInPlaceSoEveryNameSeesIt) {
  const std::string path = dir_ + "Duskmatch.prefs";
  ASSERT_TRUE(put(path, "old"));
  ASSERT_EQ(link(path.c_str(), (dir_ + "other name").c_str()), 0);
  ASSERT_TRUE(replace(path, "new"));
  EXPECT_EQ(read_text(dir_ + "other name"), "new");
  EXPECT_EQ(folder_list(dir_), (std::vector<std::string>{"Duskmatch.prefs", "other name"}));
}

// As an ordinary user (root may write to any file and folder).
TEST_F(FileReplace, AsAPlayerReadOnlyFilesStayAndReadOnlyFoldersStillTakeTheirFile) {
  as_player::Run([](const std::string& root) {
    // A program folder the player may not write to, holding a settings file
    // the player may write: the file itself takes the new settings.
    const std::string prog = root + "prog/";
    ASSERT_TRUE(folder_make(prog));
    ASSERT_TRUE(put(prog + "Duskmatch.prefs", "old settings"));
    ASSERT_EQ(chmod((prog + "Duskmatch.prefs").c_str(), 0600), 0);
    ASSERT_EQ(chmod(prog.c_str(), 0555), 0);
    ASSERT_FALSE(put(prog + "probe", "x")) << "the folder is still writable: not run as an ordinary user";
    EXPECT_TRUE(replace(prog + "Duskmatch.prefs", "new"));
    EXPECT_EQ(read_text(prog + "Duskmatch.prefs"), "new");
    EXPECT_EQ(mode_of(prog + "Duskmatch.prefs"), 0600u);
    EXPECT_EQ(folder_list(prog), std::vector<std::string>{"Duskmatch.prefs"});
    // No file there: nothing can be saved, and nothing is made.
    EXPECT_FALSE(replace(prog + "absent", "new"));
    EXPECT_EQ(folder_list(prog), std::vector<std::string>{"Duskmatch.prefs"});

    // A link in a writable folder to that file: the file is written in
    // place behind the link.
    ASSERT_EQ(symlink((prog + "Duskmatch.prefs").c_str(), (root + "link.prefs").c_str()), 0);
    EXPECT_TRUE(replace(root + "link.prefs", "through the link"));
    EXPECT_TRUE(is_link(root + "link.prefs"));
    EXPECT_EQ(read_text(prog + "Duskmatch.prefs"), "through the link");

    // A read-only settings file in a writable folder is not replaced: the
    // write fails and leaves it, and its mode, as they are.
    const std::string locked = root + "Duskmatch.prefs";
    ASSERT_TRUE(put(locked, "kept"));
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    EXPECT_FALSE(replace(locked, "new"));
    EXPECT_EQ(read_text(locked), "kept");
    EXPECT_EQ(mode_of(locked), 0444u);
    // ... nor is it in the read-only folder.
    ASSERT_EQ(chmod(prog.c_str(), 0755), 0);
    ASSERT_EQ(chmod((prog + "Duskmatch.prefs").c_str(), 0444), 0);
    ASSERT_EQ(chmod(prog.c_str(), 0555), 0);
    EXPECT_FALSE(replace(prog + "Duskmatch.prefs", "new"));
    EXPECT_EQ(read_text(prog + "Duskmatch.prefs"), "through the link");
    EXPECT_EQ(folder_list(root), (std::vector<std::string>{"Duskmatch.prefs", "link.prefs", "prog"}));
  });
}

#endif

}  // namespace
