// File and folder names the way players' machines have them: any characters,
// the platform's separator (and on Windows "/" as well), long paths,
// read-only files, and the folders the game finds by itself.
#include <algorithm>
#include <cstdlib>
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
#endif

namespace {

const char kSep = kPathSeparator;

// Takes away the permission to write to a file, as a file copied from a CD
// or unpacked from some archives comes.
bool make_read_only(const std::string& path) {
#ifdef _WIN32
  int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &w[0], n);
  return SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_READONLY) != 0;
#else
  return chmod(path.c_str(), 0444) == 0;
#endif
}

// "Düsk 日本 ü": umlauts, CJK and a blank in one folder name.
class FileNames : public ScratchFolderTest {
 protected:
  FileNames() : ScratchFolderTest(std::string("D\xC3\xBCsk \xE6\x97\xA5\xE6\x9C\xAC \xC3\xBC") + kSep) {}
};

TEST_F(FileNames, AnyCharactersRoundTripAndListInByteOrder) {
  ASSERT_TRUE(folder_exists(dir_));
  const std::string owl = "\xF0\x9F\xA6\x89";  // outside the 16-bit range
  std::vector<std::string> names = {"b.txt", "\xC3\xA4", "Zeta", "\xE6\x97\xA5\xE6\x9C\xAC", "a " + owl};
  for (const std::string& n : names) ASSERT_TRUE(file_write(dir_ + n, n.data(), n.size())) << n;
  ASSERT_TRUE(folder_make(dir_ + "\xC3\xBC-sub" + kSep + "deeper"));
  for (const std::string& n : names) {
    EXPECT_TRUE(file_exists(dir_ + n)) << n;
    EXPECT_EQ(read_text(dir_ + n), n);
    EXPECT_EQ(file_size(dir_ + n), static_cast<int64_t>(n.size()));
    EXPECT_EQ(file_base_name(dir_ + n), n);
  }
  // Upper-case ASCII first, then lower case, then the longer UTF-8 forms by
  // their lead bytes (0xC3 before 0xE6 before 0xF0).
  std::vector<std::string> want = {"Zeta", "a " + owl, "b.txt", "\xC3\xA4", "\xC3\xBC-sub",
                                   "\xE6\x97\xA5\xE6\x9C\xAC"};
  EXPECT_EQ(folder_list(dir_), want);
  // Without the closing separator the folder lists the same.
  EXPECT_EQ(folder_list(dir_.substr(0, dir_.size() - 1)), want);
  EXPECT_EQ(folder_list(dir_ + "\xC3\xBC-sub"), std::vector<std::string>{"deeper"});
  EXPECT_TRUE(folder_list(dir_ + "missing").empty());
  EXPECT_TRUE(folder_list(dir_ + "b.txt").empty());  // a file is no folder
  EXPECT_TRUE(folder_remove_all(dir_));
  EXPECT_FALSE(folder_exists(dir_));
}

TEST_F(FileNames, AtomicWriteReplacesWholeFilesAndLeavesNothingElse) {
  std::string path = dir_ + "Duskmatch.prefs";
  std::string longer(5000, 'x');
  ASSERT_TRUE(file_write(path, longer.data(), longer.size()));
  // A shorter content must not keep the old tail.
  ASSERT_TRUE(file_write_atomic(path, "short", 5));
  EXPECT_EQ(read_text(path), "short");
  ASSERT_TRUE(file_write_atomic(path, "", 0));
  EXPECT_EQ(file_size(path), 0);
  ASSERT_TRUE(file_write_atomic(path, "again", 5));
  EXPECT_EQ(read_text(path), "again");
  // A new file too; and no temporary file stays behind from any of them.
  ASSERT_TRUE(file_write_atomic(dir_ + "new \xC3\xA9", "n", 1));
  EXPECT_EQ(folder_list(dir_), (std::vector<std::string>{"Duskmatch.prefs", "new \xC3\xA9"}));
  // A folder where the file should go stays a folder, and nothing is left.
  ASSERT_TRUE(folder_make(dir_ + "taken"));
  EXPECT_FALSE(file_write_atomic(dir_ + "taken", "x", 1));
  EXPECT_TRUE(folder_exists(dir_ + "taken"));
  EXPECT_FALSE(file_write_atomic(dir_ + "taken" + kSep, "x", 1));
  EXPECT_EQ(folder_list(dir_).size(), 3u);
}

TEST_F(FileNames, FoldersEndInThePlatformSeparator) {
  EXPECT_EQ(file_private_temp_folder().back(), kSep);
  std::string prog = file_program_folder();
  ASSERT_FALSE(prog.empty());
  EXPECT_EQ(prog.back(), kSep);
  // The folder is the one this test program lies in.
#ifdef _WIN32
  EXPECT_TRUE(file_exists(prog + "system_tests.exe")) << prog;
#else
  EXPECT_TRUE(file_exists(prog + "system_tests")) << prog;
#endif
  // The private folder lies inside the system's temporary folder.
#ifdef _WIN32
  wchar_t buf[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  ASSERT_GT(n, 0u);
  int len = WideCharToMultiByte(CP_UTF8, 0, buf, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
  std::string system_temp(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_UTF8, 0, buf, static_cast<int>(n), &system_temp[0], len, nullptr, nullptr);
#else
  const char* env = std::getenv("TMPDIR");
  std::string system_temp = env && *env ? env : "/tmp";
#endif
  EXPECT_EQ(file_private_temp_folder().compare(0, system_temp.size(), system_temp), 0)
      << file_private_temp_folder() << " outside " << system_temp;
}

TEST_F(FileNames, ReadOnlyFilesAreStillRemoved) {
  // The languages are read from a copy in the temporary folder, which must go
  // afterwards even when the pack marked the entry read-only.
  std::string path = dir_ + "en_GB.language";
  ASSERT_TRUE(file_write(path, "x", 1));
  ASSERT_TRUE(make_read_only(path));
  EXPECT_TRUE(file_remove(path));
  EXPECT_FALSE(file_exists(path));
  ASSERT_TRUE(folder_make(dir_ + "inner"));
  ASSERT_TRUE(file_write(dir_ + "inner" + kSep + "locked", "x", 1));
  ASSERT_TRUE(make_read_only(dir_ + "inner" + kSep + "locked"));
  EXPECT_TRUE(folder_remove_all(dir_ + "inner"));
  EXPECT_FALSE(folder_exists(dir_ + "inner"));
  // An empty folder goes by file_remove too, with or without the separator.
  ASSERT_TRUE(folder_make(dir_ + "empty"));
  EXPECT_TRUE(file_remove(dir_ + "empty" + kSep));
  EXPECT_FALSE(folder_exists(dir_ + "empty"));
  EXPECT_FALSE(file_remove(dir_ + "never there"));
}

#ifdef _WIN32

TEST_F(FileNames, EitherSeparatorWorksOnWindows) {
  // Levels joined by hand with "/" (as the language folder's files are)
  // and with "\" reach the same files.
  ASSERT_TRUE(folder_make(dir_ + "one/two\\three/"));
  EXPECT_TRUE(folder_exists(dir_ + "one\\two\\three"));
  EXPECT_TRUE(folder_exists(dir_ + "one\\two\\three\\"));
  EXPECT_TRUE(folder_exists(dir_ + "one/two/three/"));
  ASSERT_TRUE(file_write(dir_ + "one/two/three/f.txt", "abc", 3));
  EXPECT_EQ(read_text(dir_ + "one\\two\\three\\f.txt"), "abc");
  EXPECT_EQ(file_size(dir_ + "one\\two/three\\f.txt"), 3);
  EXPECT_EQ(folder_list(dir_ + "one/two/three"), std::vector<std::string>{"f.txt"});
  // "name\" is never the file "name".
  EXPECT_FALSE(file_exists(dir_ + "one\\two\\three\\f.txt\\"));
  EXPECT_EQ(file_size(dir_ + "one\\two\\three\\f.txt\\"), -1);
  EXPECT_FALSE(folder_exists(dir_ + "one\\two\\three\\f.txt"));
  EXPECT_EQ(file_base_name("C:\\games\\Duskmatch\\DuskmatchData.pack"), "DuskmatchData.pack");
  EXPECT_EQ(file_base_name("C:\\games/mixed\\last/name.png"), "name.png");
  EXPECT_EQ(file_base_name("C:\\folder\\"), "");
  // A drive root exists with its separator.
  EXPECT_TRUE(folder_exists(file_private_temp_folder().substr(0, 3)));
}

TEST_F(FileNames, PathsLongerThanTheOldLimitWorkOnWindows) {
  std::string deep = dir_;
  for (int i = 0; i < 30; ++i) deep += "level " + std::to_string(i) + " \xC3\xBC" + kSep;
  ASSERT_GT(deep.size(), 300u);
  ASSERT_TRUE(folder_make(deep));
  EXPECT_TRUE(folder_exists(deep));
  ASSERT_TRUE(file_write(deep + "far.txt", "far", 3));
  ASSERT_TRUE(file_write_atomic(deep + "far.txt", "farther", 7));
  EXPECT_EQ(read_text(deep + "far.txt"), "farther");
  EXPECT_EQ(folder_list(deep), std::vector<std::string>{"far.txt"});
  int h = file_open_read(deep + "far.txt");
  ASSERT_NE(h, 0);
  char got[3] = {};
  EXPECT_TRUE(file_read_at(h, 4, got, 3));
  EXPECT_EQ(std::string(got, 3), "her");
  file_close(h);
  EXPECT_TRUE(folder_remove_all(dir_ + "level 0 \xC3\xBC"));
  EXPECT_FALSE(folder_exists(dir_ + "level 0 \xC3\xBC"));
}

// Wine takes long paths even without the prefix, so the form of the wide
// path is checked by itself as well.
TEST_F(FileNames, LongPathsGetTheExtendedFormOnWindows) {
  std::string levels;  // 40 levels joined with "/", 310 characters
  std::wstring wide_levels;  // the same with "\"
  for (int i = 0; i < 40; ++i) {
    levels += "level" + std::to_string(i) + "/";
    wide_levels += L"level" + std::to_wstring(i) + L"\\";
  }
  EXPECT_EQ(win32_path("C:/short/path.txt"), L"C:\\short\\path.txt");
  // The ".." level is resolved: the prefixed form would take it literally.
  EXPECT_EQ(win32_path("C:\\a\\..\\" + levels + "f"), L"\\\\?\\C:\\" + wide_levels + L"f");
  EXPECT_EQ(win32_path("\\\\server\\share\\" + levels + "f"),
            L"\\\\?\\UNC\\server\\share\\" + wide_levels + L"f");
  // A relative long path becomes absolute, from the working folder.
  std::wstring relative = win32_path(levels + "f");
  EXPECT_EQ(relative.substr(0, 4), L"\\\\?\\");
  EXPECT_EQ(relative.substr(5, 2), L":\\");
  EXPECT_EQ(relative.substr(relative.size() - wide_levels.size() - 1), wide_levels + L"f");
}

#else

TEST_F(FileNames, ABackslashIsPartOfANameOnLinux) {
  ASSERT_TRUE(file_write(dir_ + "a\\b.txt", "x", 1));
  EXPECT_EQ(folder_list(dir_), std::vector<std::string>{"a\\b.txt"});
  EXPECT_FALSE(folder_exists(dir_ + "a"));
  EXPECT_EQ(file_base_name(dir_ + "a\\b.txt"), "a\\b.txt");
}

#endif

}  // namespace
