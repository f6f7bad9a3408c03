// Where a name stands in the lexicons, as a source (the English replaced)
// or a target (the French written), case folded: the report's hints.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "check/names.h"
#include "lexicon/lexicon.h"

namespace quillaret::check {

struct LexiconMatch {
  std::string_view file;  // the lexicon's file name, e.g. "lexique_enfr_name.txt"
  LexiconEntry entry;
  bool as_source = true;
};

class LexiconIndex {
 public:
  // `lexicons` must outlive the index, and the index the matches it gives.
  explicit LexiconIndex(const Lexicons& lexicons);
  LexiconIndex(const LexiconIndex&) = delete;
  LexiconIndex& operator=(const LexiconIndex&) = delete;

  // The entry whose source is `name` (the translator's own choice when the
  // case is the same, the first in file order otherwise; the lexicons in
  // the translator's order), else the first whose target is; nothing when
  // neither is.
  std::optional<LexiconMatch> find(std::string_view name) const;

  // In the lexicon `lexicon` (an index in kLexiconFiles) alone: the entry
  // whose source is `name`, as find() chooses it, or the first whose target is.
  std::optional<LexiconMatch> find_source(size_t lexicon, std::string_view name) const;
  std::optional<LexiconMatch> find_target(size_t lexicon, std::string_view name) const;
  const std::string& file(size_t lexicon) const { return files_[lexicon]; }

 private:
  static constexpr size_t kCount = std::size(kLexiconFiles);
  // Per name, case folded: its first entry in each lexicon, or -1.
  using Places = std::array<int32_t, kCount>;

  std::optional<LexiconMatch> at(const NameMap<Places>& map, std::string_view name, size_t first,
                                 size_t end, bool as_source) const;

  const Lexicons& lexicons_;
  std::array<std::string, kCount> files_;
  NameMap<Places> sources_, targets_;
};

}  // namespace quillaret::check
