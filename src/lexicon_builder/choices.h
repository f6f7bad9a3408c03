// One French text per English source and lexicon. Among the French texts
// paired with a source, the most frequent one that differs from it wins, the
// first met on a tie (a name left English in one record and translated in
// another was most likely overlooked there); a source that no record
// translates keeps itself. A topic takes the French topic that most of its
// responses sit under. Pairs that a lexicon file cannot hold are set aside.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lexicon_builder/pairing.h"

namespace quillaret::lexicon_builder {

struct Candidate {
  std::string_view target;
  std::vector<uint32_t> records;  // English records, in file order
};

struct Choice {
  std::string_view source;
  std::vector<Candidate> candidates;  // in the order first met
  size_t chosen = 0;
};

enum class SkipReason : uint8_t { empty_english, empty_french, quote, line_break };

struct Skip {
  std::string_view source, target;
  SkipReason reason = SkipReason::quote;
  std::vector<uint32_t> records;
};

struct LexiconChoices {
  std::vector<Choice> choices;  // in the order first met
  std::vector<Skip> skips;      // in the order first met
};

// Two empty texts are no pair and are dropped silently: the translator
// leaves an empty name alone.
std::array<LexiconChoices, kLexiconCount> choose_texts(const std::vector<Observation>& observations);

}  // namespace quillaret::lexicon_builder
