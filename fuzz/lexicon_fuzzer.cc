// Arbitrary bytes as a lexicon file. Checks, against plain reference
// implementations, that loading yields the pairs of the file in the order of
// the exchange sort (longest source first), and that the table answers
// exact and phrase lookups as a linear scan of that order does.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_data.h"
#include "lexicon/lexicon.h"
#include "support/plugin_io.h"

namespace {

using namespace quillaret;

using Pair = std::pair<std::string_view, std::string_view>;

// The file's strings paired in file order: a string opens at a double quote
// that is the first of its line and ends at the next double quote, NUL or
// end of data; the scan stops at the first NUL.
std::vector<Pair> reference_pairs(std::string_view file) {
  const size_t end = std::min(file.find('\0'), file.size());
  std::vector<std::string_view> strings;
  bool line_start = true;
  for (size_t i = 0; i < end; ++i) {
    if (file[i] == '"') {
      if (line_start) {
        const size_t close = std::min(file.find('"', i + 1), end);
        strings.push_back(file.substr(i + 1, close - i - 1));
      }
      line_start = false;
    } else if (file[i] == '\n') {
      line_start = true;
    }
  }
  std::vector<Pair> pairs;
  for (size_t i = 0; i + 1 < strings.size(); i += 2) pairs.emplace_back(strings[i], strings[i + 1]);
  return pairs;
}

// The loader's historical order, run as the quadratic sort it was.
void exchange_sort(std::vector<Pair>& pairs) {
  for (size_t j = 0; j + 1 < pairs.size(); ++j) {
    for (size_t k = j + 1; k < pairs.size(); ++k) {
      if (pairs[j].first.size() < pairs[k].first.size()) std::swap(pairs[j], pairs[k]);
    }
  }
}

const LexiconEntry* linear_exact(const std::vector<LexiconEntry>& stored, std::string_view text) {
  for (const LexiconEntry& entry : stored) {
    if (entry.source == text) return &entry;
  }
  return nullptr;
}

// Entries are longest first, so the first non-empty source that begins the
// text is the longest, and the first of its equals; it is the phrase there
// when a word ends right after it.
const LexiconEntry* linear_phrase(const std::vector<LexiconEntry>& stored, std::string_view text) {
  for (const LexiconEntry& entry : stored) {
    if (entry.source.empty() || !text.starts_with(entry.source)) continue;
    const size_t after = entry.source.size();
    return after == text.size() || is_word_delimiter(text[after]) ? &entry : nullptr;
  }
  return nullptr;
}

// The same entry, or none: the lexicon answers with its own copy of it,
// whose source lies at the same place in the lexicon's text.
bool same_entry(const LexiconEntry* a, const LexiconEntry* b) {
  return a == nullptr ? b == nullptr : b != nullptr && a->source.data() == b->source.data();
}

void check_probe(const Lexicon& lexicon, const std::vector<LexiconEntry>& stored,
                 std::string_view text) {
  FUZZ_CHECK(same_entry(lexicon.find_exact(text), linear_exact(stored, text)));
  // Every position of the text on a small lexicon; on a large one, where
  // the reference scan is slow, the word starts, where the translation asks.
  const bool small = stored.size() <= 300;
  for (size_t position = 0; position <= text.size(); ++position) {
    if (!small && position > 0 && !is_word_delimiter(text[position - 1])) continue;
    const size_t word_end = quillaret::word_end(text, position);
    const uint64_t key = word_key(text.substr(position, word_end - position));
    FUZZ_CHECK(same_entry(lexicon.phrase_at(text, position, word_end, key),
                          linear_phrase(stored, text.substr(position))));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const Lexicon lexicon{std::string(file)};
  const std::vector<LexiconEntry> entries = testing::stored_entries(lexicon);

  std::vector<Pair> expected = reference_pairs(file);
  FUZZ_CHECK(entries.size() == expected.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    // Both texts are followed by a NUL in the lexicon's own buffer.
    FUZZ_CHECK(entries[i].source.data()[entries[i].source.size()] == '\0');
    FUZZ_CHECK(entries[i].target.data()[entries[i].target.size()] == '\0');
    if (i > 0) FUZZ_CHECK(entries[i - 1].source.size() >= entries[i].source.size());
  }
  // The quadratic reference is affordable on small lexicons only.
  if (expected.size() <= 300) {
    exchange_sort(expected);
    for (size_t i = 0; i < entries.size(); ++i) {
      FUZZ_CHECK(entries[i].source == expected[i].first);
      FUZZ_CHECK(entries[i].target == expected[i].second);
    }
  }

  // Probes: a few sources as they are, cut short, extended; and stretches
  // of the raw bytes, which share prefixes with the sources.
  const size_t step = entries.size() / 8 + 1;
  for (size_t i = 0; i < entries.size(); i += step) {
    const std::string source(entries[i].source);
    check_probe(lexicon, entries, source);
    check_probe(lexicon, entries, source + " and more");
    check_probe(lexicon, entries, source + "x");
    if (!source.empty()) check_probe(lexicon, entries, source.substr(0, source.size() - 1));
  }
  for (size_t at = 0; at < file.size(); at += file.size() / 8 + 1) {
    check_probe(lexicon, entries, file.substr(at + 1, 64));
    check_probe(lexicon, entries, file.substr(at, 16));
  }
  check_probe(lexicon, entries, "");
  return 0;
}
