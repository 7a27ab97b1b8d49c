// The duskpack tool as the build and a developer use it: packs it writes are
// read back with the tests' own reader, packs made by hand are listed and
// extracted byte for byte, and every misuse ends in one line on standard
// error and a non-zero exit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

#include "engine/system/file.h"
#include "tests/engine/pack/pack_bytes.h"

namespace {

using packbytes::Entry;

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::vector<uint8_t> v;
  if (!file_read_all(path, &v)) return "<unreadable>";
  return std::string(v.begin(), v.end());
}

void Spit(const std::string& path, const std::string& content) {
  ASSERT_TRUE(file_write(path, content.data(), content.size()));
}

void Spit(const std::string& path, const std::vector<uint8_t>& content) {
  ASSERT_TRUE(file_write(path, content.data(), content.size()));
}

Result Tool(const std::vector<std::string>& args) {
  const char* bin = std::getenv("DUSK_BINARY_DIR");
  std::string cmd = "'" + std::string(bin ? bin : ".") + "/bin/duskpack'";
  for (const std::string& a : args) cmd += " '" + a + "'";
  cmd += " >run.out 2>run.err";
  int raw = std::system(cmd.c_str());
  Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), Slurp("run.out"), Slurp("run.err")};
  return r;
}

// A failed run says what went wrong in one line starting with the tool's name.
void ExpectCleanFailure(const Result& r) {
  EXPECT_NE(r.status, 0);
  EXPECT_LT(r.status, 128) << "ended by a signal";
  EXPECT_EQ(r.err.rfind("duskpack: ", 0), 0u) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

class Duskpack : public ::testing::Test {
 protected:
  void SetUp() override {
    text_ = packbytes::SampleText(300000);
    noise_ = packbytes::SampleNoise(40000, 9);
    bitmap_ = packbytes::SampleBitmap(300, 200);
    Spit("story.txt", text_);
    Spit("title.png", noise_);
    Spit("board.bmp", bitmap_);
  }

  std::string text_;
  std::vector<uint8_t> noise_, bitmap_;
};

std::string Str(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

TEST_F(Duskpack, CreatedPacksReadBackWithAnIndependentReader) {
  Result r = Tool({"create", "data.pack", "story.txt", "title.png", "Board.bmp=board.bmp",
                  "board.bmp=story.txt", "story.txt=title.png"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<uint8_t> file;
  ASSERT_TRUE(file_read_all("data.pack", &file));
  std::vector<Entry> entries;
  ASSERT_TRUE(packbytes::ParsePack(file, &entries));
  ASSERT_EQ(entries.size(), 5u);
  const std::vector<std::pair<std::string, std::string>> expect = {
      {"story.txt", text_}, {"title.png", Str(noise_)}, {"Board.bmp", Str(bitmap_)},
      {"board.bmp", text_}, {"story.txt", Str(noise_)}};
  for (size_t i = 0; i < expect.size(); ++i) {
    SCOPED_TRACE(expect[i].first);
    EXPECT_EQ(entries[i].name, expect[i].first);
    EXPECT_EQ(entries[i].unpacked, static_cast<int64_t>(expect[i].second.size()));
    std::string content;
    if (entries[i].stored.size() == static_cast<size_t>(entries[i].unpacked)) {
      content = Str(entries[i].stored);
    } else {
      std::vector<uint8_t> plain;
      size_t used = 0;
      ASSERT_TRUE(packbytes::Decode(entries[i].stored, &plain, &used));
      EXPECT_EQ(packbytes::Get(entries[i].stored, 16, 8), 262144u);  // level 5 by default
      content = Str(plain);
    }
    EXPECT_TRUE(content == expect[i].second);
  }
  EXPECT_LT(entries[0].stored.size(), text_.size() / 2);  // text packs well
  EXPECT_EQ(entries[1].stored.size(), noise_.size());      // noise is left raw
  EXPECT_LT(entries[2].stored.size(), bitmap_.size());

  r = Tool({"list", "data.pack"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string lines;
  for (const Entry& e : entries)
    lines += e.name + "\t" + std::to_string(e.unpacked) + "\t" + std::to_string(e.stored.size()) + "\n";
  EXPECT_EQ(r.out, lines);

  r = Tool({"extract", "data.pack", "story.txt", "first.out"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Slurp("first.out") == text_);  // the first of the two
  r = Tool({"verify", "data.pack"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "data.pack: 5 entries OK\n");
}

TEST_F(Duskpack, TheSameInputsGiveTheSameBytesAndTheLevelSetsTheBlocks) {
  ASSERT_EQ(Tool({"create", "a.pack", "story.txt", "board.bmp"}).status, 0);
  ASSERT_EQ(Tool({"create", "b.pack", "story.txt", "board.bmp"}).status, 0);
  EXPECT_TRUE(Slurp("a.pack") == Slurp("b.pack"));
  ASSERT_EQ(Tool({"create", "c.pack", "--level", "0", "story.txt"}).status, 0);
  std::vector<uint8_t> file;
  ASSERT_TRUE(file_read_all("c.pack", &file));
  std::vector<Entry> entries;
  ASSERT_TRUE(packbytes::ParsePack(file, &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(packbytes::Get(entries[0].stored, 16, 8), 8192u);
  std::vector<uint8_t> plain;
  size_t used = 0;
  ASSERT_TRUE(packbytes::Decode(entries[0].stored, &plain, &used));
  EXPECT_TRUE(Str(plain) == text_);
}

TEST_F(Duskpack, HandMadePacksOfBothVersionsListAndExtractExactly) {
  packbytes::BlockWriter b('a');
  b.Literals("bc").Match(9, 3);
  const std::vector<Entry> entries = {
      packbytes::Raw("music.ogg", "OggS raw"),
      Entry{"Music.ogg", packbytes::Stream(12, 262144, {b.bytes}), 12},
      packbytes::Raw("music.ogg", "second"),
  };
  for (int version : {1, 2}) {
    SCOPED_TRACE(version);
    Spit("hand.pack", packbytes::PackFile(version, entries));
    Result r = Tool({"list", "hand.pack"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "music.ogg\t8\t8\nMusic.ogg\t12\t" + std::to_string(entries[1].stored.size()) +
                         "\nmusic.ogg\t6\t6\n");
    ASSERT_EQ(Tool({"extract", "hand.pack", "Music.ogg", "upper.out"}).status, 0);
    EXPECT_EQ(Slurp("upper.out"), "abcabcabcabc");
    ASSERT_EQ(Tool({"extract", "hand.pack", "music.ogg", "lower.out"}).status, 0);
    EXPECT_EQ(Slurp("lower.out"), "OggS raw");
    EXPECT_EQ(Tool({"verify", "hand.pack"}).status, 0);
  }
}

TEST_F(Duskpack, VerifyNamesTheFirstDamage) {
  ASSERT_EQ(Tool({"create", "good.pack", "story.txt", "title.png"}).status, 0);
  std::string good = Slurp("good.pack");

  Spit("cut.pack", good.substr(0, good.size() - 100));  // the last entry is cut short
  Result r = Tool({"verify", "cut.pack"});
  ExpectCleanFailure(r);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("truncated"), std::string::npos) << r.err;

  std::string bad = good;
  size_t stream = bad.find("1zlb");
  ASSERT_NE(stream, std::string::npos);
  bad[stream + 1] = 'Z';  // the packed entry's stream magic
  Spit("bad.pack", bad);
  r = Tool({"verify", "bad.pack"});
  ExpectCleanFailure(r);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("\"story.txt\""), std::string::npos) << r.err;
  ExpectCleanFailure(Tool({"extract", "bad.pack", "story.txt", "x.out"}));
  EXPECT_FALSE(file_exists("x.out"));
}

TEST_F(Duskpack, MisuseEndsInOneClearLine) {
  ExpectCleanFailure(Tool({"create", "out.pack", "story.txt", "missing.txt"}));
  EXPECT_FALSE(file_exists("out.pack"));  // nothing half-made is left
  ExpectCleanFailure(Tool({"create", "out.pack", "--level", "high", "story.txt"}));
  ExpectCleanFailure(Tool({"create", "out.pack", "--level"}));
  ExpectCleanFailure(Tool({"create", "out.pack"}));
  ExpectCleanFailure(Tool({"create", "out.pack", "=story.txt"}));
  ExpectCleanFailure(Tool({"create", "no/such/folder/out.pack", "story.txt"}));
  EXPECT_FALSE(file_exists("out.pack"));
  ExpectCleanFailure(Tool({"list", "missing.pack"}));
  ExpectCleanFailure(Tool({"list", "story.txt"}));  // neither format
  ExpectCleanFailure(Tool({"verify", "title.png"}));
  ASSERT_EQ(Tool({"create", "one.pack", "story.txt"}).status, 0);
  Result r = Tool({"extract", "one.pack", "STORY.TXT", "x.out"});
  ExpectCleanFailure(r);
  EXPECT_NE(r.err.find("no entry"), std::string::npos) << r.err;
  EXPECT_EQ(Tool({}).status, 2);
  EXPECT_EQ(Tool({"shuffle", "x"}).status, 2);
  EXPECT_EQ(Tool({"extract", "one.pack"}).status, 2);
}

TEST_F(Duskpack, ZipPacksForTheLanguageFiles) {
  const std::string language = "[Strings]\r\ntMenuSTART=Start\r\n";
  Spit("en_GB.language", language);
  Spit("en_GB.flag", noise_);
  Result r = Tool({"zip", "lang.pack", "en_GB.language", "flags/en_GB.flag=en_GB.flag"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Slurp("lang.pack").substr(0, 4), std::string("PK\x03\x04", 4));
  r = Tool({"list", "lang.pack"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "en_GB.language\t" + std::to_string(language.size()) + "\t-1\nflags/en_GB.flag\t40000\t-1\n");
  ASSERT_EQ(Tool({"extract", "lang.pack", "flags/en_GB.flag", "flag.out"}).status, 0);
  EXPECT_TRUE(Slurp("flag.out") == Str(noise_));
  EXPECT_EQ(Tool({"verify", "lang.pack"}).status, 0);
  ASSERT_EQ(Tool({"zip", "lang2.pack", "en_GB.language", "flags/en_GB.flag=en_GB.flag"}).status, 0);
  EXPECT_TRUE(Slurp("lang.pack") == Slurp("lang2.pack"));
  ExpectCleanFailure(Tool({"zip", "lang3.pack", "missing.language"}));
  EXPECT_FALSE(file_exists("lang3.pack"));
}

}  // namespace
