#include "check/hints.h"

#include <iterator>

namespace quillaret::check {

LexiconIndex::LexiconIndex(const Lexicons& lexicons) : lexicons_(lexicons) {
  for (size_t i = 0; i < kCount; ++i) {
    files_[i] = std::string("lexique_enfr") + kLexiconFiles[i].suffix;
    for (const LexiconEntry& entry : (lexicons.*kLexiconFiles[i].lexicon).file_entries()) {
      sources_[i].try_emplace(entry.source, LexiconMatch{files_[i], entry, true});
      targets_[i].try_emplace(entry.target, LexiconMatch{files_[i], entry, false});
    }
  }
}

std::optional<LexiconMatch> LexiconIndex::find_source(size_t lexicon, std::string_view name) const {
  if (const LexiconEntry* entry = (lexicons_.*kLexiconFiles[lexicon].lexicon).find_exact(name)) {
    return LexiconMatch{files_[lexicon], *entry, true};
  }
  const auto it = sources_[lexicon].find(name);
  if (it == sources_[lexicon].end()) return std::nullopt;
  return it->second;
}

std::optional<LexiconMatch> LexiconIndex::find_target(size_t lexicon, std::string_view name) const {
  const auto it = targets_[lexicon].find(name);
  if (it == targets_[lexicon].end()) return std::nullopt;
  return it->second;
}

std::optional<LexiconMatch> LexiconIndex::find(std::string_view name) const {
  // Exact sources first in every lexicon, then sources case folded, then targets.
  for (size_t i = 0; i < kCount; ++i) {
    if (const LexiconEntry* entry = (lexicons_.*kLexiconFiles[i].lexicon).find_exact(name)) {
      return LexiconMatch{files_[i], *entry, true};
    }
  }
  for (const auto* maps : {&sources_, &targets_}) {
    for (const NameMap<LexiconMatch>& map : *maps) {
      const auto it = map.find(name);
      if (it != map.end()) return it->second;
    }
  }
  return std::nullopt;
}

}  // namespace quillaret::check
