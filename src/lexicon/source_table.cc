#include "lexicon/source_table.h"

#include <algorithm>
#include <cstring>

namespace quillaret {
namespace {

// The end of the word after `from`: the first position after it that holds
// a word delimiter, or the end of the text.
size_t next_word_end(std::string_view text, size_t from) {
  return from + 1 < text.size() ? word_end(text, from + 1) : from + 1;
}

// Whether the `n` bytes at `a` and `b` are equal. Keys are short, and a
// call to memcmp for a handful of bytes costs more than the comparison:
// this compares eight bytes at a time, and the last ones with loads that
// may overlap those before but never read past the `n` bytes.
inline bool same_bytes(const char* a, const char* b, size_t n) {
  uint64_t x, y;
  if (n >= 8) {
    for (size_t i = 0; i + 8 < n; i += 8) {
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) return false;
    }
    std::memcpy(&x, a + n - 8, 8);
    std::memcpy(&y, b + n - 8, 8);
    return x == y;
  }
  if (n >= 4) {
    uint32_t x0, y0, x1, y1;
    std::memcpy(&x0, a, 4);
    std::memcpy(&y0, b, 4);
    std::memcpy(&x1, a + n - 4, 4);
    std::memcpy(&y1, b + n - 4, 4);
    return ((x0 ^ y0) | (x1 ^ y1)) == 0;
  }
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

bool SourceTable::holds(const Slot& slot, uint32_t check, std::string_view text) const {
  return slot.check == check && slot.length() == text.size() &&
         same_bytes(text_ + slot.offset(), text.data(), text.size());
}

std::vector<uint32_t> SourceTable::build(std::string_view text,
                                         const std::vector<std::string_view>& sources,
                                         bool phrases) {
  std::vector<uint32_t> repeats;
  text_ = text.data();
  // Every source is a key; the beginnings of sources are fewer than the
  // sources in a real lexicon, and the table grows if they are not.
  size_t capacity = 16;
  while (capacity < 2 * sources.size()) capacity *= 2;
  slots_.assign(capacity, Slot{});
  last_words_.assign(capacity, 0);
  mask_ = capacity - 1;
  used_ = 0;
  phrases_ = phrases;
  std::fill(first_words_.begin(), first_words_.end(), 0);

  // Keys are inserted a batch at a time, their slots fetched from memory
  // together rather than one cache miss after the other: a large lexicon's
  // table does not stay in cache while it is built.
  struct Pending {
    std::string_view text;
    uint64_t key;
    int32_t source;      // for a whole source; -1 for a beginning
    uint64_t last_word;  // for a source's last beginning, the bit of its last word
  };
  std::vector<Pending> batch;
  const auto insert_batch = [&] {
    for (const Pending& p : batch) {
      __builtin_prefetch(&slots_[p.key & mask_]);
      if (p.last_word != 0) __builtin_prefetch(&last_words_[p.key & mask_]);
    }
    for (const Pending& p : batch) {
      const size_t slot = insert(p.text, p.key);
      if (p.source < 0) {
        slots_[slot].where |= kGoesOn;
        if (p.last_word != 0) last_words_[slot] |= p.last_word;
      } else if (slots_[slot].entry < 0) {
        // An identical source stored before keeps the key.
        slots_[slot].entry = p.source;
      } else {
        repeats.push_back(static_cast<uint32_t>(p.source));
      }
    }
    batch.clear();
  };
  constexpr size_t kBatch = 32;

  for (size_t i = 0; i < sources.size(); ++i) {
    const std::string_view source = sources[i];
    if (!fits(source)) continue;
    batch.push_back({source, word_key(source), static_cast<int32_t>(i), 0});
    if (!source.empty() && phrases) {
      const size_t word = word_end(source, 0);
      const uint64_t bit = word_key(source.substr(0, word)) >> (64 - kFirstWordBits);
      first_words_[bit / 64] |= uint64_t{1} << (bit % 64);

      // Each word delimiter past the first byte ends a beginning that the
      // source goes on past. (One at the first byte would end an empty one.)
      const size_t first_cut = batch.size();
      for (size_t cut = word_end(source, std::max<size_t>(word, 1)); cut < source.size();
           cut = word_end(source, cut + 1)) {
        const std::string_view beginning = source.substr(0, cut);
        batch.push_back({beginning, word_key(beginning), -1, 0});
      }
      if (batch.size() > first_cut) {
        const size_t last_word = std::min<size_t>(source.size() - batch.back().text.size() - 1, 63);
        batch.back().last_word = uint64_t{1} << last_word;
      }
    }
    if (batch.size() >= kBatch) insert_batch();
  }
  insert_batch();
  return repeats;
}

void SourceTable::prefer(std::string_view source, int32_t position) {
  if (fits(source)) slots_[insert(source, word_key(source))].entry = position;
}

size_t SourceTable::insert(std::string_view text, uint64_t key) {
  if (4 * (used_ + 1) > 3 * slots_.size()) grow();
  const uint32_t check = static_cast<uint32_t>(key >> 32);
  for (size_t slot = key & mask_;; slot = (slot + 1) & mask_) {
    Slot& s = slots_[slot];
    if (!s.used()) {
      s.where = static_cast<uint64_t>(text.data() - text_) | uint64_t{text.size()} << 40;
      s.check = check;
      ++used_;
      return slot;
    }
    if (holds(s, check, text)) return slot;
  }
}

void SourceTable::grow() {
  std::vector<Slot> old_slots(slots_.size() * 2);
  std::vector<uint64_t> old_words(last_words_.size() * 2, 0);
  old_slots.swap(slots_);
  old_words.swap(last_words_);
  mask_ = slots_.size() - 1;
  for (size_t i = 0; i < old_slots.size(); ++i) {
    const Slot& s = old_slots[i];
    if (!s.used()) continue;
    size_t slot = word_key({text_ + s.offset(), s.length()}) & mask_;
    while (slots_[slot].used()) slot = (slot + 1) & mask_;
    slots_[slot] = s;
    last_words_[slot] = old_words[i];
  }
}

const SourceTable::Slot* SourceTable::find(std::string_view text, uint64_t key) const {
  if (slots_.empty() || text.size() > kMaxKeyLength) return nullptr;
  const uint32_t check = static_cast<uint32_t>(key >> 32);
  for (size_t slot = key & mask_;; slot = (slot + 1) & mask_) {
    const Slot& s = slots_[slot];
    if (!s.used()) return nullptr;
    if (holds(s, check, text)) return &s;
  }
}

int32_t SourceTable::find_exact(std::string_view text) const {
  const Slot* slot = find(text);
  return slot == nullptr ? -1 : slot->entry;
}

int32_t SourceTable::phrase_at(std::string_view text, size_t position) const {
  if (position >= text.size() || !phrases_) return -1;
  const std::string_view rest = text.substr(position);
  const size_t end = next_word_end(rest, 0);
  return walk(rest, end, word_key(rest.substr(0, end)));
}

int32_t SourceTable::phrase_at(std::string_view text, size_t position, size_t word_end,
                               uint64_t word) const {
  if (position >= text.size() || !phrases_) return -1;
  // At a delimiter the walk's first key runs to the next delimiter after it.
  if (word_end == position) return phrase_at(text, position);
  return walk(text.substr(position), word_end - position, word);
}

int32_t SourceTable::walk(std::string_view rest, size_t end, uint64_t first) const {
  // The walk: `end` runs over the word ends of the text (the positions of
  // its delimiters past the first byte, and its end). A source that begins
  // the text and is longer than `end` bytes has a delimiter at `end`, so
  // the text's first `end` bytes are a key that goes on: where one is not,
  // no source is longer. The sources that end at a word end are keys met on
  // the way; the longest of them is the candidate.
  int32_t best = -1;
  size_t best_end = 0;
  const Slot* best_slot = nullptr;
  size_t walked = end;
  // The probe of each next key is fetched ahead while the one before is
  // made: most phrases span a few words, and their probes would otherwise
  // wait for memory one after the other.
  uint64_t key = first;
  size_t next = end < rest.size() ? next_word_end(rest, end) : end;
  uint64_t next_key = 0;
  if (next != end) {
    next_key = word_key(rest.substr(0, next));
    __builtin_prefetch(&slots_[next_key & mask_]);
  }
  for (const Slot* slot; (slot = find(rest.substr(0, end), key)) != nullptr;) {
    walked = end;
    if (slot->entry >= 0) {
      best = slot->entry;
      best_end = end;
      best_slot = slot;
    }
    if (end == rest.size() || !slot->goes_on()) break;
    end = next;
    key = next_key;
    if (end < rest.size()) {
      next = next_word_end(rest, end);
      next_key = word_key(rest.substr(0, next));
      __builtin_prefetch(&slots_[next_key & mask_]);
    }
  }
  if (best < 0) return -1;
  // A source that ends inside a word (not at a word end) and is longer
  // than the candidate hides it. It goes on past one of the keys met from
  // the candidate's on, with the delimiter there and part of the next word
  // but no further delimiter: those are the last words recorded for the key.
  const Slot* slot = best_slot;
  for (size_t cut = best_end;;) {
    if (slot->goes_on() && cut < rest.size() &&
        hides_within_next_word(static_cast<size_t>(slot - slots_.data()), rest, cut)) {
      return -1;
    }
    if (cut == walked) break;
    cut = next_word_end(rest, cut);
    slot = find(rest.substr(0, cut));
  }
  return best;
}

bool SourceTable::hides_within_next_word(size_t slot, std::string_view text,
                                         size_t key_length) const {
  const uint64_t lengths = last_words_[slot];
  if (lengths == 0) return false;
  // Bytes of the word after the delimiter; a source spanning it all would
  // end at the next word end, and is no hiding one.
  const size_t word = next_word_end(text, key_length) - key_length - 1;
  for (size_t n = 0; n < std::min<size_t>(word, 63); ++n) {
    if ((lengths >> n & 1) == 0) continue;
    const Slot* source = find(text.substr(0, key_length + 1 + n));
    if (source != nullptr && source->entry >= 0) return true;
  }
  if ((lengths >> 63 & 1) != 0) {
    for (size_t n = 63; n < word; ++n) {
      const Slot* source = find(text.substr(0, key_length + 1 + n));
      if (source != nullptr && source->entry >= 0) return true;
    }
  }
  return false;
}

}  // namespace quillaret
