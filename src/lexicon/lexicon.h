// Lexicons: English/French pairs loaded from text files beside the
// executable, ordered longest source first, and looked up by exact match or
// by phrase.
//
// File format: a sequence of double-quoted strings. A double quote opens a
// string only when it is the first double quote of its line; the string runs
// to the next double quote anywhere after it. Everything outside strings is
// ignored. Strings pair up in file order: source, target, source, target...
// Bytes are taken as they are; the scan ends at the first NUL byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/source_table.h"
#include "lexicon/words.h"

namespace quillaret {

// Both views point into the lexicon's text and are followed there by a NUL.
struct LexiconEntry {
  std::string_view source;
  std::string_view target;
};

class Lexicon {
 public:
  Lexicon() = default;
  // Takes a lexicon file's bytes and parses them. Without `phrases`, the
  // lexicon answers whole texts only (`find_exact`).
  explicit Lexicon(std::string file_bytes, bool phrases = true);

  Lexicon(Lexicon&&) = default;
  Lexicon& operator=(Lexicon&&) = default;
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;

  // Every pair, in file order (identical sources included).
  const std::vector<LexiconEntry>& file_entries() const { return entries_; }

  // The first entry, in stored order, whose source equals `text` (the empty
  // source included); null when none does.
  const LexiconEntry* find_exact(std::string_view text) const {
    return entry(table_.find_exact(text));
  }

  // The first entry, in stored order, among those whose non-empty source is
  // the longest that `text` begins with at `position`, provided the text
  // ends or holds a word delimiter right after it; null otherwise (a longer
  // source that ends inside a word hides the shorter ones). Always null in
  // a lexicon built without phrases. The caller has found the word that
  // begins at `position`: it ends at `word_end` (the next delimiter, or the
  // text's end; `position` itself where that holds a delimiter) and has the
  // key `word` (see `word_key`).
  const LexiconEntry* phrase_at(std::string_view text, size_t position, size_t word_end,
                                uint64_t word) const {
    return entry(table_.phrase_at(text, position, word_end, word));
  }

  // False only when no non-empty source begins with the word of this key
  // (see `word_key`) followed by a word delimiter or by its own end: then
  // no phrase of this lexicon can begin where that word does.
  bool may_begin_phrase(uint64_t key) const { return table_.may_begin_phrase(key); }

 private:
  const LexiconEntry* entry(int32_t index) const {
    return index < 0 ? nullptr : &entries_[static_cast<size_t>(index)];
  }

  // The file's bytes, quotes turned into NULs; on the heap, so that the
  // entries' views stay valid when the lexicon moves.
  std::unique_ptr<std::string> text_;
  std::vector<LexiconEntry> entries_;  // in file order
  SourceTable table_;
};

// Loads one lexicon file, for phrase lookups too if `phrases`. False when
// the file cannot be read.
bool load_lexicon(const std::string& path, bool phrases, Lexicon* lexicon);

struct Lexicons {
  Lexicon topics;    // dialogue topics: <prefix>_dial.txt
  Lexicon factions;  // faction texts: <prefix>_fact.txt
  Lexicon names;     // every other name: <prefix>_name.txt
};

// The three files, in the order in which they are loaded and reported.
struct LexiconFile {
  const char* suffix;  // after the prefix
  Lexicon Lexicons::*lexicon;
  bool phrases;  // looked up in dialogue responses, not only whole
};
inline constexpr LexiconFile kLexiconFiles[] = {
    {"_dial.txt", &Lexicons::topics, true},
    {"_fact.txt", &Lexicons::factions, false},
    {"_name.txt", &Lexicons::names, true},
};
// Each lexicon's place in kLexiconFiles.
enum LexiconSlot : uint8_t { kTopics = 0, kFactions = 1, kNames = 2 };
inline constexpr int kLexiconCount = 3;
static_assert(std::size(kLexiconFiles) == kLexiconCount);

}  // namespace quillaret
