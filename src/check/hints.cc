#include "check/hints.h"

#include <iterator>

namespace quillaret::check {

LexiconIndex::LexiconIndex(const Lexicons& lexicons) : lexicons_(lexicons) {
  for (size_t i = 0; i < std::size(kLexiconFiles); ++i) {
    files_[i] = std::string("lexique_enfr") + kLexiconFiles[i].suffix;
  }
  for (size_t i = 0; i < std::size(kLexiconFiles); ++i) {
    for (const LexiconEntry& entry : (lexicons.*kLexiconFiles[i].lexicon).file_entries()) {
      sources_.try_emplace(entry.source, LexiconMatch{files_[i], entry, true});
      targets_.try_emplace(entry.target, LexiconMatch{files_[i], entry, false});
    }
  }
}

std::optional<LexiconMatch> LexiconIndex::find(std::string_view name) const {
  for (size_t i = 0; i < std::size(kLexiconFiles); ++i) {
    if (const LexiconEntry* entry = (lexicons_.*kLexiconFiles[i].lexicon).find_exact(name)) {
      return LexiconMatch{files_[i], *entry, true};
    }
  }
  for (const NameMap<LexiconMatch>* map : {&sources_, &targets_}) {
    const auto it = map->find(name);
    if (it != map->end()) return it->second;
  }
  return std::nullopt;
}

}  // namespace quillaret::check
