// Unpacking of the data pack's block streams. Every read is checked against
// the end of the stored data and every match against the start of its block,
// so damaged or hostile packs fail instead of reading or writing out of
// bounds.
#include <cstring>

#include "engine/pack/block_codec.h"

namespace {

inline uint64_t load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

inline void store64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }

inline int64_t read_le64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return static_cast<int64_t>(v);
}

// Copies len bytes from off bytes back, with the result a byte-by-byte copy
// would give when the match overlaps what it produces.
inline void copy_match(uint8_t* op, size_t off, size_t len, const uint8_t* limit) {
  const uint8_t* src = op - off;
  if (off >= 16 && len + 16 <= static_cast<size_t>(limit - op)) {
    uint8_t* end = op + len;
    do {
      store64(op, load64(src));
      store64(op + 8, load64(src + 8));
      op += 16;
      src += 16;
    } while (op < end);
    return;
  }
  if (off >= 8 && len + 8 <= static_cast<size_t>(limit - op)) {
    // Eight bytes at a time may run up to 7 bytes past the match; the caller
    // says how far that is allowed.
    uint8_t* end = op + len;
    do {
      store64(op, load64(src));
      op += 8;
      src += 8;
    } while (op < end);
    return;
  }
  if (off == 1) {
    std::memset(op, op[-1], len);
    return;
  }
  // The bytes from src on repeat with period off, so the source can stay
  // step bytes back while step doubles: each copy is then non-overlapping.
  size_t step = off;
  while (len > 0) {
    size_t c = len < step ? len : step;
    std::memcpy(op, op - step, c);
    op += c;
    len -= c;
    step += step;
  }
}

// Gamma codes that end within the next 8 tag bits, looked up at once:
// value and bits used for each 8-bit prefix, 0 bits used when the code is
// longer.
struct GammaTable {
  uint8_t value[256];
  uint8_t used[256];
  constexpr GammaTable() : value(), used() {
    for (int prefix = 0; prefix < 256; ++prefix) {
      unsigned v = 1;
      for (int pair = 0; pair < 4; ++pair) {
        v = 2 * v + ((prefix >> (7 - 2 * pair)) & 1);
        if (((prefix >> (6 - 2 * pair)) & 1) == 0) {
          value[prefix] = static_cast<uint8_t>(v);
          used[prefix] = static_cast<uint8_t>(2 * pair + 2);
          break;
        }
      }
    }
  }
};
constexpr GammaTable kGamma;

// Reads a short gamma code from the tag register when one is there whole.
inline bool short_gamma(uint32_t* tag, int* bits, uint64_t* v) {
  if (*bits < 8) return false;
  const uint32_t prefix = *tag >> 24;
  const int used = kGamma.used[prefix];
  if (used == 0) return false;
  *v = kGamma.value[prefix];
  *tag <<= used;
  *bits -= used;
  return true;
}

}  // namespace

// Tag bits are kept left-aligned in a 32-bit register with a count of how
// many are left. The reader is a macro so a bad read can leave the block
// decoder directly.
#define DUSK_NEXT_BIT(b)                                                                 \
  do {                                                                                   \
    if (bits == 0) {                                                                     \
      if (iend - ip < 2) return -1;                                                      \
      tag = (static_cast<uint32_t>(ip[0]) | (static_cast<uint32_t>(ip[1]) << 8)) << 16; \
      ip += 2;                                                                           \
      bits = 16;                                                                         \
    }                                                                                    \
    (b) = tag >> 31;                                                                     \
    tag <<= 1;                                                                           \
    --bits;                                                                              \
  } while (0)

// Reads a gamma code into v: from the table when it lies whole in the tag
// register, else bit pair by bit pair, leaving the block decoder as soon as
// the value grows past limit (so it cannot overflow).
#define DUSK_GAMMA(v, limit)                  \
  do {                                        \
    if (!short_gamma(&tag, &bits, &(v))) {    \
      (v) = 1;                                \
      do {                                    \
        DUSK_NEXT_BIT(b);                     \
        (v) = 2 * (v) + b;                    \
        if ((v) > (limit)) return -1;         \
        DUSK_NEXT_BIT(more);                  \
      } while (more);                         \
    }                                         \
  } while (0)

int64_t pack_unpack_block(const uint8_t* in, size_t in_size, uint8_t* out, size_t n,
                          const uint8_t* out_limit) {
  if (n == 0 || in_size == 0) return -1;
  const uint8_t* ip = in;
  const uint8_t* const iend = in + in_size;
  uint8_t* op = out;
  uint8_t* const oend = out + n;
  *op++ = *ip++;
  uint32_t tag = 0;
  int bits = 0;
  uint32_t b, more;
  while (op < oend) {
    if (bits == 0) {
      if (iend - ip < 2) return -1;
      tag = (static_cast<uint32_t>(ip[0]) | (static_cast<uint32_t>(ip[1]) << 8)) << 16;
      ip += 2;
      bits = 16;
    }
    if ((tag >> 31) == 0) {
      // A run of literals: as many as there are 0 tag bits in a row in the
      // current word, copied in one go.
      size_t run = tag == 0 ? static_cast<size_t>(bits) : static_cast<size_t>(__builtin_clz(tag));
      if (run > static_cast<size_t>(bits)) run = static_cast<size_t>(bits);
      const size_t room = static_cast<size_t>(oend - op);
      if (run > room) run = room;
      if (static_cast<size_t>(iend - ip) < run) return -1;
      if (iend - ip >= 16 && out_limit - op >= 16) {
        std::memcpy(op, ip, 16);
      } else {
        std::memcpy(op, ip, run);
      }
      op += run;
      ip += run;
      tag <<= run;
      bits -= static_cast<int>(run);
      continue;
    }
    tag <<= 1;
    --bits;
    // A match: length code, offset code, offset low byte. The codes are
    // checked while they grow so they cannot overflow.
    const size_t room = static_cast<size_t>(oend - op);
    uint64_t len;
    DUSK_GAMMA(len, room);
    len += 2;
    if (len > room) return -1;
    const size_t produced = static_cast<size_t>(op - out);
    const uint64_t high_limit = (produced >> 8) + 2;
    uint64_t high;
    DUSK_GAMMA(high, high_limit);
    if (high > high_limit) return -1;
    if (ip >= iend) return -1;
    const size_t off = static_cast<size_t>((high - 2) * 256) + *ip++ + 1;
    if (off > produced) return -1;
    copy_match(op, off, static_cast<size_t>(len), out_limit);
    op += len;
  }
  return ip - in;
}

#undef DUSK_GAMMA
#undef DUSK_NEXT_BIT

int64_t pack_stream_length(const uint8_t* in, size_t in_size) {
  if (in_size < kPackStreamHeaderSize || std::memcmp(in, kPackStreamMagic, 4) != 0) return -1;
  int64_t total = read_le64(in + 8);
  return total < 0 ? -1 : total;
}

int64_t pack_unpack_stream(const uint8_t* in, size_t in_size, uint8_t* out, size_t capacity) {
  int64_t total = pack_stream_length(in, in_size);
  if (total < 0 || static_cast<uint64_t>(total) > capacity) return -1;
  int64_t block = read_le64(in + 16);
  if (total > 0 && block < 1) return -1;
  const uint8_t* limit = out + capacity;
  size_t ip = kPackStreamHeaderSize;
  int64_t pos = 0;
  while (pos < total) {
    int64_t n = total - pos < block ? total - pos : block;
    int64_t used = pack_unpack_block(in + ip, in_size - ip, out + pos, static_cast<size_t>(n), limit);
    if (used < 0) return -1;
    ip += static_cast<size_t>(used);
    pos += n;
  }
  return total;
}
