// Where a name stands in the lexicons, as a source (the English replaced)
// or a target (the French written), case folded: the report's hints.
#pragma once

#include <array>
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

 private:
  const Lexicons& lexicons_;
  std::array<std::string, std::size(kLexiconFiles)> files_;
  NameMap<LexiconMatch> sources_, targets_;
};

}  // namespace quillaret::check
