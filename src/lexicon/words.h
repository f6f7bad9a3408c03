// Words, as the translation sees them in names, dialogue and scripts: runs
// of bytes between word delimiters. Lexicons use the same notion to tell
// quickly which words may begin one of their phrases.
#pragma once

#include <array>
#include <bit>
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

// `word_end` below relies on it.
static_assert([] {
  for (const char* d = WORD_DELIMITERS; *d != '\0'; ++d) {
    if (static_cast<unsigned char>(*d) >= 0x40) return false;
  }
  return true;
}());

// The end of the word that begins at `from`: the first position from there
// on that holds a word delimiter, or the text's end.
inline size_t word_end(std::string_view text, size_t from) {
  // Every delimiter is below 0x40 and most bytes of words are letters,
  // above it: eight bytes at a time, the first byte below 0x40 is found
  // with a few operations, where a test per byte would stop at the word's
  // end with a branch that the processor cannot foresee.
  if constexpr (std::endian::native == std::endian::little) {
    while (from + 8 <= text.size()) {
      uint64_t bytes;
      std::memcpy(&bytes, text.data() + from, 8);
      const uint64_t low = ~(bytes | bytes << 1) & 0x8080808080808080ull;
      if (low == 0) {
        from += 8;
        continue;
      }
      from += static_cast<size_t>(std::countr_zero(low)) / 8;
      if (is_word_delimiter(text[from])) return from;
      ++from;  // below 0x40 but no delimiter: a digit, say
    }
  }
  while (from < text.size() && !is_word_delimiter(text[from])) ++from;
  return from;
}

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
