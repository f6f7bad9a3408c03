// Lexicons: English/French pairs loaded from text files beside the
// executable, ordered longest source first, and looked up by exact match or
// by longest prefix.
//
// File format: a sequence of double-quoted strings. A double quote opens a
// string only when it is the first double quote of its line; the string runs
// to the next double quote anywhere after it. Everything outside strings is
// ignored. Strings pair up in file order: source, target, source, target...
// Bytes are taken as they are; the scan ends at the first NUL byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon_index.h"
#include "lexicon/words.h"

namespace quillaret {

class Console;

// Both views point into the lexicon's text and are followed there by a NUL.
struct LexiconEntry {
  std::string_view source;
  std::string_view target;
};

class Lexicon {
 public:
  Lexicon() = default;
  // Takes the bytes of a lexicon file, parses and orders them.
  explicit Lexicon(std::vector<char> file_bytes);

  Lexicon(Lexicon&&) = default;
  Lexicon& operator=(Lexicon&&) = default;
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;

  // Entries by decreasing source length; among sources of equal length in
  // the order that the exchange sort of the loader leaves them.
  const std::vector<LexiconEntry>& entries() const { return entries_; }

  // The first entry, in stored order, whose source equals `text` (the empty
  // source included); null when none does.
  const LexiconEntry* find_exact(std::string_view text) const;

  // False only when no non-empty source begins with the word of this key
  // (see `word_key`) followed by a word delimiter or by its own end: then
  // no phrase of this lexicon can begin where that word does. Most words
  // of a dialogue response are ruled out so, without a lookup.
  bool may_begin_phrase(uint64_t key) const {
    const uint64_t bit = key >> (64 - kFirstWordBits);
    return (first_words_[bit / 64] >> (bit % 64) & 1) != 0;
  }

  // The first entry, in stored order, among those whose non-empty source is
  // the longest that `text` begins with; null when none does.
  const LexiconEntry* longest_prefix(std::string_view text) const {
    return entry(index_.longest_prefix(text));
  }

 private:
  const LexiconEntry* entry(int32_t index) const {
    return index < 0 ? nullptr : &entries_[static_cast<size_t>(index)];
  }

  std::vector<char> text_;  // the file's bytes, quotes turned into NULs
  std::vector<LexiconEntry> entries_;
  LexiconIndex index_;  // for the longest prefixes

  // Whole texts are looked up in a hash table of the distinct sources,
  // with open addressing: a probe or two where a walk down the index would
  // take a cache miss per level. A slot holds the stored position of the
  // first of its identical sources, or -1, and bits of its hash.
  struct Slot {
    uint32_t check = 0;
    int32_t entry = -1;
  };
  std::vector<Slot> slots_;
  size_t slot_mask_ = 0;
  // The slot that holds `source` (whose key is `key`), or the empty slot
  // where it would go.
  size_t slot_of(std::string_view source, uint64_t key) const;

  // A bit for each key of the first word of a source.
  static constexpr unsigned kFirstWordBits = 18;
  std::vector<uint64_t> first_words_ = std::vector<uint64_t>((1u << kFirstWordBits) / 64, 0);
};

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
  uint64_t tail = 0;
  if (i < text.size()) std::memcpy(&tail, text.data() + i, text.size() - i);
  hash = (hash ^ tail) * kMultiplier;
  hash ^= hash >> 29;
  hash *= kMultiplier;
  return hash ^ (hash >> 32);
}

// Pairs the strings of `text` (NUL-terminated, modified in place: every
// double quote becomes a NUL) in file order. A source without a target is
// dropped.
std::vector<LexiconEntry> parse_lexicon_text(std::vector<char>& text);

// Loads one lexicon file. When it cannot be read, prints
// "file does not exist <path>!", waits for a character and returns -1.
int load_lexicon(const std::string& path, Lexicon* lexicon, Console& console);

struct Lexicons {
  Lexicon topics;    // dialogue topics: <prefix>_dial.txt
  Lexicon factions;  // faction texts: <prefix>_fact.txt
  Lexicon names;     // every other name: <prefix>_name.txt
};

// The three files, in the order in which they are loaded and reported.
struct LexiconFile {
  const char* suffix;  // after the prefix
  Lexicon Lexicons::*lexicon;
};
inline constexpr LexiconFile kLexiconFiles[] = {
    {"_dial.txt", &Lexicons::topics},
    {"_fact.txt", &Lexicons::factions},
    {"_name.txt", &Lexicons::names},
};

// Loads the topic, faction and name lexicons in that order, stopping at the
// first failure. Returns 0 when all three loaded, -1 otherwise.
int load_lexicons(const std::string& prefix, Lexicons* lexicons,
                  Console& console);

}  // namespace quillaret
