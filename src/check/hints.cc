#include "check/hints.h"

#include <iterator>

namespace quillaret::check {

LexiconIndex::LexiconIndex(const Lexicons& lexicons) : lexicons_(lexicons) {
  constexpr Places kNowhere = [] {
    Places places{};
    places.fill(-1);
    return places;
  }();
  for (size_t i = 0; i < kCount; ++i) {
    files_[i] = std::string("lexique_enfr") + kLexiconFiles[i].suffix;
    const std::vector<LexiconEntry>& entries = (lexicons.*kLexiconFiles[i].lexicon).file_entries();
    for (size_t k = entries.size(); k-- > 0;) {  // the first in file order stays
      sources_.try_emplace(entries[k].source, kNowhere).first->second[i] = static_cast<int32_t>(k);
      targets_.try_emplace(entries[k].target, kNowhere).first->second[i] = static_cast<int32_t>(k);
    }
  }
}

std::optional<LexiconMatch> LexiconIndex::at(const NameMap<Places>& map, std::string_view name,
                                             size_t first, size_t end, bool as_source) const {
  const auto it = map.find(name);
  if (it == map.end()) return std::nullopt;
  for (size_t i = first; i < end; ++i) {
    if (it->second[i] < 0) continue;
    const std::vector<LexiconEntry>& entries = (lexicons_.*kLexiconFiles[i].lexicon).file_entries();
    return LexiconMatch{files_[i], entries[static_cast<size_t>(it->second[i])], as_source};
  }
  return std::nullopt;
}

std::optional<LexiconMatch> LexiconIndex::find_source(size_t lexicon, std::string_view name) const {
  if (const LexiconEntry* entry = (lexicons_.*kLexiconFiles[lexicon].lexicon).find_exact(name)) {
    return LexiconMatch{files_[lexicon], *entry, true};
  }
  return at(sources_, name, lexicon, lexicon + 1, true);
}

std::optional<LexiconMatch> LexiconIndex::find_target(size_t lexicon, std::string_view name) const {
  return at(targets_, name, lexicon, lexicon + 1, false);
}

std::optional<LexiconMatch> LexiconIndex::find(std::string_view name) const {
  // Exact sources first in every lexicon, then sources case folded, then targets.
  for (size_t i = 0; i < kCount; ++i) {
    if (const LexiconEntry* entry = (lexicons_.*kLexiconFiles[i].lexicon).find_exact(name)) {
      return LexiconMatch{files_[i], *entry, true};
    }
  }
  if (auto match = at(sources_, name, 0, kCount, true)) return match;
  return at(targets_, name, 0, kCount, false);
}

}  // namespace quillaret::check
