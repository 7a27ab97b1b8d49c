// Numbers kept least significant byte first, as every file format of the
// game stores them (BMP pictures, the pointer files, the packs): read from
// and appended to byte buffers.
#pragma once

#include <cstdint>
#include <vector>

// The count bytes at p (1 to 8) as one number.
inline uint64_t bytes_get_le(const uint8_t* p, int count) {
  uint64_t v = 0;
  for (int i = count - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}
inline uint16_t bytes_get_u16(const uint8_t* p) { return static_cast<uint16_t>(bytes_get_le(p, 2)); }
inline uint32_t bytes_get_u32(const uint8_t* p) { return static_cast<uint32_t>(bytes_get_le(p, 4)); }

// Appends the low count bytes of v (1 to 8).
inline void bytes_put_le(std::vector<uint8_t>* out, uint64_t v, int count) {
  for (int i = 0; i < count; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void bytes_put_u16(std::vector<uint8_t>* out, uint32_t v) { bytes_put_le(out, v, 2); }
inline void bytes_put_u32(std::vector<uint8_t>* out, uint32_t v) { bytes_put_le(out, v, 4); }
