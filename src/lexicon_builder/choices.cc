#include "lexicon_builder/choices.h"

#include <optional>
#include <unordered_map>
#include <utility>

namespace quillaret::lexicon_builder {
namespace {

bool holds_line_break(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

std::optional<SkipReason> why_skipped(std::string_view source, std::string_view target) {
  if (source.empty()) return SkipReason::empty_english;
  if (target.empty()) return SkipReason::empty_french;
  // A lexicon's string runs to the next double quote, and a quote opens one
  // only as the first of its line.
  if (source.find('"') != std::string_view::npos || target.find('"') != std::string_view::npos) {
    return SkipReason::quote;
  }
  if (holds_line_break(source) || holds_line_break(target)) return SkipReason::line_break;
  return std::nullopt;
}

size_t winner(const Choice& choice, bool prefer_translated) {
  size_t best = choice.candidates.size();
  for (size_t i = 0; i < choice.candidates.size(); ++i) {
    const Candidate& c = choice.candidates[i];
    if (prefer_translated && c.target == choice.source) continue;
    if (best == choice.candidates.size() || c.records.size() > choice.candidates[best].records.size()) {
      best = i;
    }
  }
  // Only the source itself was met.
  return best == choice.candidates.size() ? 0 : best;
}

struct PairHash {
  size_t operator()(const std::pair<std::string_view, std::string_view>& p) const {
    const std::hash<std::string_view> hash;
    return hash(p.first) * 31 + hash(p.second);
  }
};

}  // namespace

std::array<LexiconChoices, kLexiconCount> choose_texts(const std::vector<Observation>& observations) {
  std::array<LexiconChoices, kLexiconCount> result;
  std::array<std::unordered_map<std::string_view, size_t>, kLexiconCount> by_source;
  std::array<std::unordered_map<std::pair<std::string_view, std::string_view>, size_t, PairHash>,
             kLexiconCount>
      skip_of;
  for (const Observation& o : observations) {
    LexiconChoices& lexicon = result[o.lexicon];
    if (o.source.empty() && o.target.empty()) continue;
    if (const std::optional<SkipReason> reason = why_skipped(o.source, o.target)) {
      const auto [at, added] = skip_of[o.lexicon].try_emplace({o.source, o.target}, lexicon.skips.size());
      if (added) lexicon.skips.push_back({o.source, o.target, *reason, {}});
      lexicon.skips[at->second].records.push_back(o.record);
      continue;
    }
    const auto [at, added] = by_source[o.lexicon].try_emplace(o.source, lexicon.choices.size());
    if (added) lexicon.choices.push_back({o.source, {}, 0});
    std::vector<Candidate>& candidates = lexicon.choices[at->second].candidates;
    auto candidate = candidates.begin();
    while (candidate != candidates.end() && candidate->target != o.target) ++candidate;
    if (candidate == candidates.end()) candidate = candidates.insert(candidates.end(), {o.target, {}});
    candidate->records.push_back(o.record);
  }
  for (int lexicon = 0; lexicon < kLexiconCount; ++lexicon) {
    for (Choice& choice : result[static_cast<size_t>(lexicon)].choices) {
      choice.chosen = winner(choice, lexicon != kTopics);
    }
  }
  return result;
}

}  // namespace quillaret::lexicon_builder
