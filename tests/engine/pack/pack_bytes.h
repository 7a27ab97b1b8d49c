// Test helpers: a plain writer and reader of data pack bytes, written
// straight from the file layout and kept apart from the engine's code, so
// the engine's reader is checked against packs it did not write and its
// packer against a reader it does not share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace packbytes {

inline void Put(std::vector<uint8_t>* out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline uint64_t Get(const std::vector<uint8_t>& in, size_t at, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | in[at + static_cast<size_t>(i)];
  return v;
}

// Writes one block by hand: the first byte, then literals and matches
// chosen by the test. Tag words are reserved when their first bit is due.
class BlockWriter {
 public:
  explicit BlockWriter(uint8_t first) { bytes.push_back(first); }

  BlockWriter& Literal(uint8_t b) {
    Bit(0);
    bytes.push_back(b);
    return *this;
  }
  BlockWriter& Literals(const std::string& s) {
    for (char c : s) Literal(static_cast<uint8_t>(c));
    return *this;
  }
  // A match of len (>= 4) bytes from off (>= 1) bytes back.
  BlockWriter& Match(size_t len, size_t off) {
    Bit(1);
    Gamma(len - 2);
    Gamma((off - 1) / 256 + 2);
    bytes.push_back(static_cast<uint8_t>((off - 1) % 256));
    return *this;
  }
  void Bit(int b) {
    if (used_ == 16) {
      word_at_ = bytes.size();
      bytes.push_back(0);
      bytes.push_back(0);
      used_ = 0;
    }
    if (b) {
      unsigned mask = 0x8000u >> used_;
      bytes[word_at_] = static_cast<uint8_t>(bytes[word_at_] | (mask & 0xFF));
      bytes[word_at_ + 1] = static_cast<uint8_t>(bytes[word_at_ + 1] | (mask >> 8));
    }
    ++used_;
  }
  void Gamma(uint64_t v) {
    std::vector<int> below;
    for (; v > 1; v >>= 1) below.push_back(static_cast<int>(v & 1));
    for (size_t i = below.size(); i-- > 0;) {
      Bit(below[i]);
      Bit(i > 0 ? 1 : 0);
    }
  }

  std::vector<uint8_t> bytes;

 private:
  size_t word_at_ = 0;
  int used_ = 16;
};

// A stream header and the given blocks.
inline std::vector<uint8_t> Stream(int64_t total, int64_t block_length,
                                   const std::vector<std::vector<uint8_t>>& blocks) {
  std::vector<uint8_t> s = {'1', 'z', 'l', 'b', 0xAA, 0xBB, 0xCC, 0xDD};  // unused bytes: any
  Put(&s, static_cast<uint64_t>(total), 8);
  Put(&s, static_cast<uint64_t>(block_length), 8);
  for (const auto& b : blocks) s.insert(s.end(), b.begin(), b.end());
  return s;
}

// Reads a stream bit by bit as the format describes it. False on anything
// out of place; *consumed tells how many stream bytes the blocks used.
inline bool Decode(const std::vector<uint8_t>& s, std::vector<uint8_t>* out, size_t* consumed) {
  out->clear();
  if (s.size() < 24 || s[0] != '1' || s[1] != 'z' || s[2] != 'l' || s[3] != 'b') return false;
  int64_t total = static_cast<int64_t>(Get(s, 8, 8));
  int64_t block = static_cast<int64_t>(Get(s, 16, 8));
  if (total < 0 || (total > 0 && block < 1)) return false;
  size_t ip = 24;
  while (static_cast<int64_t>(out->size()) < total) {
    int64_t n = std::min<int64_t>(block, total - static_cast<int64_t>(out->size()));
    size_t start = out->size();
    if (ip >= s.size()) return false;
    out->push_back(s[ip++]);
    unsigned word = 0;
    int left = 0;
    bool bad = false;
    auto bit = [&]() -> int {
      if (left == 0) {
        if (ip + 2 > s.size()) {
          bad = true;
          return 0;
        }
        word = s[ip] | (s[ip + 1] << 8);
        ip += 2;
        left = 16;
      }
      --left;
      return (word >> left) & 1;
    };
    auto gamma = [&]() -> uint64_t {
      uint64_t v = 1;
      do {
        v = 2 * v + static_cast<uint64_t>(bit());
        if (v > (uint64_t{1} << 40)) bad = true;
      } while (!bad && bit());
      return v;
    };
    while (static_cast<int64_t>(out->size() - start) < n) {
      int tag = bit();
      if (bad) return false;
      if (tag == 0) {
        if (ip >= s.size()) return false;
        out->push_back(s[ip++]);
        continue;
      }
      uint64_t len = gamma() + 2;
      uint64_t high = gamma();
      if (bad || ip >= s.size()) return false;
      uint64_t off = (high - 2) * 256 + s[ip++] + 1;
      if (off > out->size() - start) return false;
      if (static_cast<int64_t>(out->size() - start + len) > n) return false;
      for (uint64_t k = 0; k < len; ++k) out->push_back((*out)[out->size() - off]);
    }
  }
  *consumed = ip;
  return true;
}

struct Entry {
  std::string name;
  std::vector<uint8_t> stored;
  int64_t unpacked;  // equal to stored.size() for a raw entry
};

inline Entry Raw(const std::string& name, const std::string& content) {
  return Entry{name, std::vector<uint8_t>(content.begin(), content.end()),
               static_cast<int64_t>(content.size())};
}

// A whole pack file: version 2 has 18-byte headers, version 1 24-byte ones.
inline std::vector<uint8_t> PackFile(int version, const std::vector<Entry>& entries) {
  std::vector<uint8_t> f = {static_cast<uint8_t>('0' + version), 'z', 'l', 'p'};
  for (const Entry& e : entries) {
    Put(&f, static_cast<uint64_t>(e.unpacked), 8);
    Put(&f, e.stored.size(), 8);
    if (version == 1) {
      Put(&f, e.name.size(), 4);
      Put(&f, 0x5A5A5A5A, 4);  // unused
    } else {
      Put(&f, e.name.size(), 2);
    }
    f.insert(f.end(), e.name.begin(), e.name.end());
    f.insert(f.end(), e.stored.begin(), e.stored.end());
  }
  return f;
}

// Splits a version 2 pack into its entries; false when the layout is off.
inline bool ParsePack(const std::vector<uint8_t>& f, std::vector<Entry>* entries) {
  entries->clear();
  if (f.size() < 4 || std::string(f.begin(), f.begin() + 4) != "2zlp") return false;
  size_t pos = 4;
  while (pos < f.size()) {
    if (f.size() - pos < 18) return false;
    Entry e;
    e.unpacked = static_cast<int64_t>(Get(f, pos, 8));
    uint64_t stored = Get(f, pos + 8, 8);
    size_t name_len = static_cast<size_t>(Get(f, pos + 16, 2));
    pos += 18;
    if (f.size() - pos < name_len || f.size() - pos - name_len < stored) return false;
    e.name.assign(f.begin() + static_cast<long>(pos), f.begin() + static_cast<long>(pos + name_len));
    pos += name_len;
    e.stored.assign(f.begin() + static_cast<long>(pos), f.begin() + static_cast<long>(pos + stored));
    pos += stored;
    entries->push_back(std::move(e));
  }
  return true;
}

// Sample contents of the kinds the data pack holds.
inline std::string SampleText(size_t size) {
  static const char* words[] = {"card", "match", "the", "dusk", "board", "pair", "turn", "face",
                                "back", "menu", "music", "of", "a", "language", "settings"};
  std::string s;
  uint32_t x = 12345;
  while (s.size() < size) {
    x = x * 1103515245u + 12345u;
    s += words[(x >> 16) % 15];
    s += ((x >> 8) % 11 == 0) ? ".\r\n" : " ";
  }
  s.resize(size);
  return s;
}

inline std::vector<uint8_t> SampleNoise(size_t size, uint32_t seed) {
  std::vector<uint8_t> v(size);
  uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
  for (auto& b : v) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    b = static_cast<uint8_t>(x >> 24);
  }
  return v;
}

// An uncompressed bitmap: BGRA rows of a gradient with flat areas.
inline std::vector<uint8_t> SampleBitmap(int w, int h) {
  std::vector<uint8_t> v;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool flat = (x / 16 + y / 16) % 3 == 0;
      v.push_back(static_cast<uint8_t>(flat ? 40 : x * 3));
      v.push_back(static_cast<uint8_t>(flat ? 90 : y * 5));
      v.push_back(static_cast<uint8_t>(flat ? 200 : (x + y)));
      v.push_back(255);
    }
  return v;
}

}  // namespace packbytes
