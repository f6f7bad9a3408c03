// A hash table over the sources of one lexicon and over the beginnings of
// its phrases that end where a word does. It answers the two questions the
// translation asks: which source equals a whole text, and which phrase a
// text begins with at a given position. Among identical sources it answers
// with the one stored first.
//
// A phrase lookup walks the text a word at a time rather than a byte at a
// time: a source that begins the text and runs past the end of one of its
// words has a word delimiter there, so it continues a key of the table.
// The walk probes the text up to each word end in turn while the table says
// that some source goes on past it, and so costs a probe per word of the
// phrase, whatever the size of the lexicon.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lexicon/words.h"

namespace quillaret {

class SourceTable {
 public:
  // `sources` in the order that decides among identical ones, all within
  // `text`, whose bytes must outlive the table. Without `phrases`, the
  // table holds the whole sources only, and finds no phrase. Returns the
  // positions of the sources identical to one before them.
  std::vector<uint32_t> build(std::string_view text, const std::vector<std::string_view>& sources,
                              bool phrases);

  // Makes the source at `position` the answer for `source`, which must be
  // one of those built.
  void prefer(std::string_view source, int32_t position);

  // Position of the first source equal to `text` (the empty source
  // included), or -1.
  int32_t find_exact(std::string_view text) const;

  // Position of the first of the longest non-empty sources that
  // `text` begins with at `position`, provided the text ends or holds a
  // word delimiter right after it; -1 otherwise. (A longer source that ends
  // inside a word hides the shorter ones.)
  int32_t phrase_at(std::string_view text, size_t position) const;

  // The same, where the caller has found the word that begins at
  // `position`: it ends at `word_end` (the next delimiter, or the text's
  // end; `position` itself where that holds a delimiter) and has the key
  // `word`.
  int32_t phrase_at(std::string_view text, size_t position, size_t word_end, uint64_t word) const;

  // False only when no non-empty source begins with the word of this key
  // (see `word_key`) followed by a word delimiter or by its own end: then
  // no phrase can begin where that word does, and most words of a dialogue
  // response are ruled out so, by a bit table of 32 KiB that stays in
  // cache, without a probe.
  bool may_begin_phrase(uint64_t key) const {
    const uint64_t bit = key >> (64 - kFirstWordBits);
    return (first_words_[bit / 64] >> (bit % 64) & 1) != 0;
  }

 private:
  // Keys are texts of fewer than 8 MiB: no payload of a plug-in is nearly
  // that long (they stay under 32 KiB), so a longer source could never be
  // found anyway. Their bytes lie within the first TiB of the text.
  static constexpr size_t kMaxKeyLength = (size_t{1} << 23) - 2;

  // 16 bytes, so that the table of a large lexicon stays small enough to
  // keep much of it in cache.
  struct Slot {
    // Where the key is spelled in the text (offset in the low 40 bits), its
    // length (the next 23 bits) and, in the top bit, whether some source
    // goes on past it with a word delimiter. All ones in an empty slot.
    uint64_t where = kEmpty;
    uint32_t check = 0;  // high bits of the key's hash
    int32_t entry = -1;  // first stored source equal to the key, or -1

    bool used() const { return where != kEmpty; }
    size_t offset() const { return where & ((uint64_t{1} << 40) - 1); }
    size_t length() const { return (where >> 40) & kMaxLength; }
    bool goes_on() const { return (where >> 63) != 0; }
  };
  static constexpr uint64_t kEmpty = ~uint64_t{0};
  static constexpr uint64_t kMaxLength = (uint64_t{1} << 23) - 1;
  static constexpr uint64_t kGoesOn = uint64_t{1} << 63;
  static_assert(sizeof(Slot) == 16);

  // Whether `source`, within the text, can be a key.
  bool fits(std::string_view source) const {
    return source.size() <= kMaxKeyLength &&
           static_cast<size_t>(source.data() - text_) + source.size() <= (uint64_t{1} << 40);
  }

  // Whether `slot` holds `text`, whose hash has the high bits `check`.
  bool holds(const Slot& slot, uint32_t check, std::string_view text) const;

  // The slot of `text`, or null.
  const Slot* find(std::string_view text) const { return find(text, word_key(text)); }
  // The same, given the key of `text`.
  const Slot* find(std::string_view text, uint64_t key) const;
  // A phrase lookup on `rest`, whose first word ends at `end` and has the key `first`.
  int32_t walk(std::string_view rest, size_t end, uint64_t first) const;
  // The slot of `text`, of key `key`, made empty-handed if it is new.
  size_t insert(std::string_view text, uint64_t key);
  void grow();

  // Whether a source that goes on past `slot`'s key (of `key_length`
  // bytes, at the start of `text`) with the text's delimiter and part, but
  // not all, of the word after it begins the text.
  bool hides_within_next_word(size_t slot, std::string_view text, size_t key_length) const;

  const char* text_ = nullptr;
  std::vector<Slot> slots_;
  // For each slot, the lengths of the last words of the sources whose last
  // word delimiter follows its key: bit n for n bytes, bit 63 for 63 or more.
  std::vector<uint64_t> last_words_;
  size_t mask_ = 0;
  size_t used_ = 0;
  bool phrases_ = false;

  // A bit for each key of the first word of a source.
  static constexpr unsigned kFirstWordBits = 18;
  std::vector<uint64_t> first_words_ = std::vector<uint64_t>((1u << kFirstWordBits) / 64, 0);
};

}  // namespace quillaret
