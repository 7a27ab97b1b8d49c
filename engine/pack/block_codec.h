// The block compression of the engine's own data pack: an LZ scheme with
// tag bits in 16-bit words, gamma-coded lengths and offsets, and a stream
// of fixed-length blocks behind a small header. The pack reader and writer
// use it; the pack tool and the benchmarks call it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A packed stream starts with these four bytes.
constexpr char kPackStreamMagic[4] = {'1', 'z', 'l', 'b'};
// Magic, 4 unused bytes, total unpacked length, block length.
constexpr size_t kPackStreamHeaderSize = 24;
// The level new packs are written with.
constexpr int kPackDefaultLevel = 5;

// Block length for a packing level (0..7; any other level: 1 MiB).
int64_t pack_block_length(int level);

// Unpacks one block that must produce exactly n (>= 1) bytes at out, reading
// from in[0..in_size). Bytes between out + n and out_limit may be scribbled
// on (they belong to later blocks or are past the data). Returns the number
// of input bytes the block used, or -1 when it needs input beyond in_size,
// a match reaches before out, or the output would run past n bytes.
int64_t pack_unpack_block(const uint8_t* in, size_t in_size, uint8_t* out, size_t n,
                          const uint8_t* out_limit);

// Unpacks a whole stream (header and blocks) into out, which holds capacity
// bytes. Returns the total unpacked length, or -1 on a bad magic, a length
// beyond capacity, a bad block length or any bad block.
int64_t pack_unpack_stream(const uint8_t* in, size_t in_size, uint8_t* out, size_t capacity);

// The total unpacked length a stream header claims, or -1 when the bytes do
// not start with a plausible stream header.
int64_t pack_stream_length(const uint8_t* in, size_t in_size);

// Packs size bytes into a stream with the block length of the level and
// replaces *out with it. Returns false (and leaves *out empty) when the
// stream would not come out shorter than the input: store it raw then.
bool pack_pack_stream(const uint8_t* in, size_t size, int level, std::vector<uint8_t>* out);
