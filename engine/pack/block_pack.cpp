// Packing for the data pack's block streams: hash chains find the matches
// inside each block, and a shortest-path parse over exact bit costs picks
// literals and matches, so the packs the build makes come out small.
#include <cstring>

#include "engine/pack/block_codec.h"
#include "engine/system/bytes.h"

namespace {

constexpr int kMaxHashBits = 16;
constexpr uint32_t kNoPrice = 0xFFFFFFFFu;
constexpr size_t kMinMatch = 4;  // the shortest match the format can code
constexpr size_t kFullLengths = 32;

struct SearchLimits {
  int depth;    // candidates tried per position
  size_t nice;  // a match this long is taken without looking further
};

SearchLimits limits_for(int level) {
  switch (level) {
    case 0: return {8, 64};
    case 1: return {12, 96};
    case 2: return {16, 128};
    case 3: return {24, 160};
    case 4: return {32, 160};
    case 5: return {48, 192};
    case 6: return {64, 256};
    case 7: return {96, 320};
    default: return {256, 512};
  }
}

inline uint32_t hash4(const uint8_t* p, int bits) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return (v * 2654435761u) >> (32 - bits);
}

// Bits of a gamma number v >= 2: a value bit and a continue bit for every
// bit below the leading one.
inline uint32_t gamma_bits(uint64_t v) { return 2u * static_cast<uint32_t>(63 - __builtin_clzll(v)); }

inline uint32_t match_bits(size_t len, size_t off) {
  return 1 + gamma_bits(len - 2) + gamma_bits((off - 1) / 256 + 2) + 8;
}

constexpr uint32_t kLiteralBits = 9;

inline size_t match_length(const uint8_t* a, const uint8_t* b, size_t max) {
  size_t n = 0;
  while (n + 8 <= max) {
    uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + static_cast<size_t>(__builtin_ctzll(x ^ y) >> 3);
    n += 8;
  }
  while (n < max && a[n] == b[n]) ++n;
  return n;
}

// Writes tag bits into 16-bit words that are reserved in the output at the
// moment their first bit is written, which is where the reader takes them.
class TagWriter {
 public:
  explicit TagWriter(std::vector<uint8_t>* out) : out_(out) {}
  ~TagWriter() { flush(); }

  void bit(uint32_t b) {
    if (left_ == 0) {
      flush();
      word_pos_ = out_->size();
      out_->push_back(0);
      out_->push_back(0);
      left_ = 16;
      pending_ = true;
    }
    --left_;
    word_ |= static_cast<uint16_t>((b & 1u) << left_);
  }

  void gamma(uint64_t v) {
    int below = 63 - __builtin_clzll(v);
    for (int k = below - 1; k >= 0; --k) {
      bit(static_cast<uint32_t>(v >> k) & 1u);
      bit(k > 0 ? 1u : 0u);
    }
  }

  void byte(uint8_t b) { out_->push_back(b); }

  void flush() {
    if (!pending_) return;
    (*out_)[word_pos_] = static_cast<uint8_t>(word_ & 0xFF);
    (*out_)[word_pos_ + 1] = static_cast<uint8_t>(word_ >> 8);
    word_ = 0;
    pending_ = false;
  }

 private:
  std::vector<uint8_t>* out_;
  size_t word_pos_ = 0;
  int left_ = 0;
  uint16_t word_ = 0;
  bool pending_ = false;
};

// Scratch space reused from block to block.
struct Workspace {
  std::vector<int32_t> head;
  std::vector<int32_t> prev;
  std::vector<uint32_t> price;  // cheapest bit count to reach each position
  std::vector<uint32_t> step;   // length of the last step there (1 = literal)
  std::vector<uint32_t> dist;   // its match offset
  std::vector<uint32_t> path;
};

void pack_block(const uint8_t* in, size_t n, const SearchLimits& lim, Workspace* ws,
                std::vector<uint8_t>* out) {
  // Small blocks get a small hash table: clearing it is part of the cost.
  int hash_bits = 10;
  while (hash_bits < kMaxHashBits && (size_t{1} << hash_bits) < n) ++hash_bits;
  ws->head.assign(size_t{1} << hash_bits, -1);
  ws->prev.resize(n);
  ws->price.assign(n + 1, kNoPrice);
  ws->step.resize(n + 1);
  ws->dist.resize(n + 1);
  auto insert = [&](size_t pos) {
    uint32_t h = hash4(in + pos, hash_bits);
    ws->prev[pos] = ws->head[h];
    ws->head[h] = static_cast<int32_t>(pos);
  };

  // The first byte is always a plain literal, without a tag bit.
  ws->price[1] = 0;
  if (n >= kMinMatch) insert(0);
  size_t i = 1;
  while (i < n) {
    const uint32_t base = ws->price[i];
    if (base + kLiteralBits < ws->price[i + 1]) {
      ws->price[i + 1] = base + kLiteralBits;
      ws->step[i + 1] = 1;
    }
    size_t best = kMinMatch - 1;
    if (i + kMinMatch <= n) {
      const size_t max_len = n - i;
      const uint8_t* cur = in + i;
      int32_t j = ws->head[hash4(cur, hash_bits)];
      for (int tries = lim.depth; j >= 0 && tries > 0; --tries, j = ws->prev[static_cast<size_t>(j)]) {
        const uint8_t* cand = in + j;
        if (cand[best] != cur[best]) continue;  // cannot beat the best so far
        size_t len = match_length(cand, cur, max_len);
        if (len <= best) continue;
        const size_t off = i - static_cast<size_t>(j);
        // Every shorter length is a place the parse may arrive at. Beyond
        // kFullLengths only the longest length of each cost step and the
        // whole match are tried: the parse loses next to nothing and long
        // matches stop costing time in proportion to their length.
        for (size_t k = best + 1; k <= len;) {
          uint32_t c = base + match_bits(k, off);
          if (c < ws->price[i + k]) {
            ws->price[i + k] = c;
            ws->step[i + k] = static_cast<uint32_t>(k);
            ws->dist[i + k] = static_cast<uint32_t>(off);
          }
          if (k < kFullLengths) {
            ++k;
          } else if (k == len) {
            break;
          } else {
            // Last length with the same gamma size: 2^(b+1) + 1 for k - 2 in [2^b, 2^(b+1)).
            size_t step_end = (size_t{2} << (63 - __builtin_clzll(k - 2))) + 1;
            k = step_end > k && step_end < len ? step_end : len;
          }
        }
        best = len;
        if (len >= lim.nice || len == max_len) break;
      }
      insert(i);
    }
    if (best >= lim.nice) {
      // A long match is taken as it is; searching inside it costs much
      // time and rarely wins anything.
      for (size_t k = i + 1; k < i + best && k + kMinMatch <= n; ++k) insert(k);
      i += best;
    } else {
      ++i;
    }
  }

  ws->path.clear();
  for (size_t pos = n; pos > 1; pos -= ws->step[pos]) ws->path.push_back(static_cast<uint32_t>(pos));

  out->push_back(in[0]);
  TagWriter tags(out);
  for (size_t k = ws->path.size(); k-- > 0;) {
    size_t end = ws->path[k];
    size_t len = ws->step[end];
    if (len == 1) {
      tags.bit(0);
      tags.byte(in[end - 1]);
    } else {
      size_t off = ws->dist[end];
      tags.bit(1);
      tags.gamma(len - 2);
      tags.gamma((off - 1) / 256 + 2);
      tags.byte(static_cast<uint8_t>((off - 1) & 0xFF));
    }
  }
}

}  // namespace

int64_t pack_block_length(int level) {
  switch (level) {
    case 0: return 8192;
    case 1: return 32768;
    case 2: return 65536;
    case 3: return 98304;
    case 4: return 131072;
    case 5: return 262144;
    case 6: return 524288;
    case 7: return 786432;
    default: return 1048576;
  }
}

bool pack_pack_stream(const uint8_t* in, size_t size, int level, std::vector<uint8_t>* out) {
  out->clear();
  if (size == 0) return false;  // the header alone is longer than nothing
  const size_t block = static_cast<size_t>(pack_block_length(level));
  const SearchLimits lim = limits_for(level);
  out->reserve(size);
  out->resize(8, 0);  // the magic, then 4 unused bytes
  std::memcpy(out->data(), kPackStreamMagic, 4);
  bytes_put_le(out, size, 8);
  bytes_put_le(out, block, 8);
  Workspace ws;
  for (size_t pos = 0; pos < size; pos += block) {
    size_t n = size - pos < block ? size - pos : block;
    pack_block(in + pos, n, lim, &ws, out);
    if (out->size() >= size) {
      out->clear();
      return false;
    }
  }
  return true;
}
