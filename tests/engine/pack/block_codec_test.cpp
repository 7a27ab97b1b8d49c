// The packer's streams, read back both by the engine's unpacker and by the
// plain bit-by-bit reader of the tests, over the kinds of content packs hold
// and the sizes around block boundaries.
#include <gtest/gtest.h>

#include "engine/pack/block_codec.h"
#include "tests/engine/pack/pack_bytes.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// Packs and checks the stream both ways; returns the stream size, or 0 when
// the packer chose to store the data raw.
size_t RoundTrip(const std::vector<uint8_t>& in, int level) {
  std::vector<uint8_t> stream;
  if (!pack_pack_stream(in.data(), in.size(), level, &stream)) {
    EXPECT_TRUE(stream.empty());
    return 0;
  }
  EXPECT_LT(stream.size(), in.size());
  EXPECT_EQ(packbytes::Get(stream, 16, 8), static_cast<uint64_t>(pack_block_length(level)));
  EXPECT_EQ(stream[4] | stream[5] | stream[6] | stream[7], 0);  // unused bytes are zero

  std::vector<uint8_t> plain;
  size_t consumed = 0;
  EXPECT_TRUE(packbytes::Decode(stream, &plain, &consumed));
  EXPECT_TRUE(plain == in) << "the plain reader disagrees";
  // Every stream byte belongs to a block: no empty last block, no tail.
  EXPECT_EQ(consumed, stream.size());

  std::vector<uint8_t> out(in.size());
  EXPECT_EQ(pack_unpack_stream(stream.data(), stream.size(), out.data(), out.size()),
            static_cast<int64_t>(in.size()));
  EXPECT_TRUE(out == in) << "the engine's unpacker disagrees";
  return stream.size();
}

TEST(BlockCodec, BlockLengthsFollowTheLevel) {
  const int64_t expect[] = {8192, 32768, 65536, 98304, 131072, 262144, 524288, 786432};
  for (int level = 0; level < 8; ++level) EXPECT_EQ(pack_block_length(level), expect[level]);
  EXPECT_EQ(pack_block_length(8), 1048576);
  EXPECT_EQ(pack_block_length(-1), 1048576);
  EXPECT_EQ(pack_block_length(99), 1048576);
}

TEST(BlockCodec, ContentOfEveryKindComesBackExactly) {
  std::vector<uint8_t> text = Bytes(packbytes::SampleText(100000));
  std::vector<uint8_t> bitmap = packbytes::SampleBitmap(200, 150);
  std::vector<uint8_t> zeros(70000, 0);
  std::vector<uint8_t> pattern;
  for (int i = 0; i < 30000; ++i) pattern.push_back(static_cast<uint8_t>("\x10\x20\x30"[i % 3]));
  // Noise with repeats at every distance class, long and short.
  std::vector<uint8_t> mixed = packbytes::SampleNoise(60000, 3);
  for (size_t i = 1000; i + 600 < mixed.size(); i += 701) {
    size_t dist = 1 + (i * 7919) % 6000;
    if (dist > i) dist = i;
    size_t len = 4 + (i % 500);
    for (size_t k = 0; k < len; ++k) mixed[i + k] = mixed[i + k - dist];
  }
  for (int level : {0, 2, 5, 8}) {
    SCOPED_TRACE(level);
    EXPECT_GT(RoundTrip(text, level), 0u);
    EXPECT_GT(RoundTrip(bitmap, level), 0u);
    EXPECT_GT(RoundTrip(pattern, level), 0u);
    EXPECT_GT(RoundTrip(mixed, level), 0u);
    size_t z = RoundTrip(zeros, level);
    EXPECT_GT(z, 0u);
    // Runs cost a handful of bytes per block.
    size_t blocks = (zeros.size() + static_cast<size_t>(pack_block_length(level)) - 1) /
                    static_cast<size_t>(pack_block_length(level));
    EXPECT_LT(z, 24 + blocks * 16);
  }
}

TEST(BlockCodec, SizesAroundTheBlockLengthHaveNoEmptyLastBlock) {
  // Level 0 has 8 KiB blocks.
  std::vector<uint8_t> base = Bytes(packbytes::SampleText(3 * 8192 + 10));
  for (size_t size : {size_t{8191}, size_t{8192}, size_t{8193}, size_t{16384}, size_t{3 * 8192}, size_t{3 * 8192 + 1}}) {
    SCOPED_TRACE(size);
    EXPECT_GT(RoundTrip(std::vector<uint8_t>(base.begin(), base.begin() + static_cast<long>(size)), 0), 0u);
  }
}

TEST(BlockCodec, DataThatDoesNotShrinkIsLeftRaw) {
  std::vector<uint8_t> stream = {1};
  EXPECT_FALSE(pack_pack_stream(nullptr, 0, 5, &stream));
  EXPECT_TRUE(stream.empty());
  EXPECT_EQ(RoundTrip(packbytes::SampleNoise(50000, 11), 5), 0u);
  EXPECT_EQ(RoundTrip(Bytes("abc"), 5), 0u);
  EXPECT_EQ(RoundTrip(Bytes("aaaaaaaaaaaaaaaaaaaaaaaa"), 5), 0u);  // 24 bytes: the header alone
  EXPECT_GT(RoundTrip(std::vector<uint8_t>(100, 'a'), 5), 0u);
}

TEST(BlockCodec, TinyBlocksAndTheirLimits) {
  // A block of one byte is only its first byte.
  uint8_t in[4] = {'z', 0, 0, 0};
  uint8_t out[8] = {};
  EXPECT_EQ(pack_unpack_block(in, 1, out, 1, out + 1), 1);
  EXPECT_EQ(out[0], 'z');
  EXPECT_EQ(pack_unpack_block(in, 0, out, 1, out + 1), -1);
  // Two bytes need a tag word and a literal: three more input bytes.
  packbytes::BlockWriter b('x');
  b.Literal('y');
  ASSERT_EQ(b.bytes.size(), 4u);
  EXPECT_EQ(pack_unpack_block(b.bytes.data(), 4, out, 2, out + 2), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 2), "xy");
  EXPECT_EQ(pack_unpack_block(b.bytes.data(), 3, out, 2, out + 2), -1);
  EXPECT_EQ(pack_unpack_block(b.bytes.data(), 2, out, 2, out + 2), -1);
}

}  // namespace
