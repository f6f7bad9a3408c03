// The plug-in format stores every number as little-endian bytes, whatever
// the machine's own order.
#pragma once

#include <cstdint>

namespace quillaret {

inline uint32_t read_u32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

inline int32_t read_i32(const char* p) { return static_cast<int32_t>(read_u32(p)); }

inline void write_u32(char* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace quillaret
