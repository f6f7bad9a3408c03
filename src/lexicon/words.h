// Words, as the translation sees them in names, dialogue and scripts: runs
// of bytes between word delimiters. Lexicons use the same notion to tell
// quickly which words may begin one of their phrases.
#pragma once

#include <array>

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

}  // namespace quillaret
