// Words, as the translation sees them in names, dialogue and scripts: runs
// of bytes between word delimiters. Lexicons use the same notion to tell
// quickly which words may begin one of their phrases.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillaret {

// The bytes that separate words: space . , ; : ! ? ' ( ) " tab LF CR.
inline constexpr char WORD_DELIMITERS[] = " .,;:!?'()\"\t\n\r";

// One entry per byte value. The test runs at every byte of every response
// and script, where searching the list would cost more than the rest of the
// scan. NUL is not a member.
inline constexpr std::array<bool, 256> kIsWordDelimiter = [] {
  std::array<bool, 256> table{};
  for (const char* d = WORD_DELIMITERS; *d != '\0'; ++d) {
    table[static_cast<unsigned char>(*d)] = true;
  }
  return table;
}();

constexpr bool is_word_delimiter(char c) { return kIsWordDelimiter[static_cast<unsigned char>(c)]; }

// The key of a text: a 64-bit hash, for whole sources and for words.
inline uint64_t word_key(std::string_view text) {
  // Eight bytes at a time, each step mixed by a multiplication; the last
  // step and the length are folded in at the end. The bytes are read in
  // the machine's order: keys are never stored, only compared within a run.
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  uint64_t hash = text.size() * kMultiplier;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t chunk;
    std::memcpy(&chunk, text.data() + i, 8);
    hash = (hash ^ chunk) * kMultiplier;
    hash ^= hash >> 32;
  }
  // The last bytes, fewer than eight, are read with loads that may overlap
  // but cover them all: copying a variable number of bytes into a word
  // would stall the load of that word.
  const char* const rest = text.data() + i;
  const size_t left = text.size() - i;
  uint64_t tail = 0;
  if (left >= 4) {
    uint32_t low, high;
    std::memcpy(&low, rest, 4);
    std::memcpy(&high, rest + left - 4, 4);
    tail = low | uint64_t{high} << 32;
  } else if (left > 0) {
    tail = static_cast<unsigned char>(rest[0]) |
           uint64_t{static_cast<unsigned char>(rest[left / 2])} << 8 |
           uint64_t{static_cast<unsigned char>(rest[left - 1])} << 16;
  }
  hash = (hash ^ tail) * kMultiplier;
  hash ^= hash >> 29;
  hash *= kMultiplier;
  return hash ^ (hash >> 32);
}

}  // namespace quillaret
