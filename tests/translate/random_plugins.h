// Random plug-ins and lexicons for the translation's property tests: a few
// record kinds with a handler and a few without, subrecords that handlers
// own and others, texts made of pieces that the lexicons know.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "translate/translate_test_support.h"

namespace quillaret::testing {

// Pieces of text that the lexicons know, plus quoting and word boundaries.
inline const std::vector<std::string> kSources = {
    "Iron", "Iron Key", "Old Bridge", "Great", "Great Hall", "x", ""};
inline const std::vector<std::string> kPieces = {
    "Iron", "Iron Key", "Old Bridge", "Great", "Great Hall", "AddTopic \"",
    "\"",   " ",        ".",          "-",     "x",          std::string(1, '\0')};
inline const std::vector<std::string> kTargets = {"", "Fer", "Clef de fer", "Vieux Pont",
                                                  std::string(40, 'L')};
inline const std::vector<std::string> kKinds = {"WEAP", "BSGN", "NPC_", "PGRD", "CELL", "FACT",
                                                "DIAL", "INFO", "SCPT", "ACTI", "BOOK", "GMST"};
inline const std::vector<std::string> kTags = {"NAME", "FNAM", "DNAM", "RNAM", "ANAM",
                                               "BNAM", "SCTX", "SCVR", "DATA", "INAM"};

inline int below(std::mt19937& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
inline const std::string& pick(std::mt19937& rng, const std::vector<std::string>& from) {
  return from[static_cast<size_t>(below(rng, static_cast<int>(from.size())))];
}

// Half of the texts are one whole known name, for the whole-string lookups.
inline std::string random_text(std::mt19937& rng) {
  std::string text = below(rng, 2) ? pick(rng, kSources) : "";
  for (int n = text.empty() ? below(rng, 7) : 0; n > 0; --n) text += pick(rng, kPieces);
  return text;
}

inline std::string random_payload(std::mt19937& rng, const std::string& tag) {
  const auto count = [&](int n) { return static_cast<size_t>(below(rng, n)); };
  if (tag != "SCVR") return random_text(rng) + std::string(count(2), '\0');
  if (count(5) == 0) return std::string(count(5), 'B');  // too short for a prefix
  // Byte 4, the comparison operator, is one of '0' to '5' or any byte.
  const std::string codes = {static_cast<char>(below(rng, 256)), 'B', 'L',
                             below(rng, 3) ? 'X' : 'Y',
                             static_cast<char>(below(rng, 2) ? '0' + below(rng, 6) : below(rng, 256))};
  return codes + random_text(rng);
}

// Whether a handler may rewrite this subrecord of this record kind. A cell
// owns every DNAM and its first NAME, unless a DNAM came before it.
inline bool may_rewrite(const std::string& kind, const std::string& tag, bool& cell_name_pending) {
  static const std::map<std::string, std::string> owned = {
      {"WEAP", "FNAM"}, {"BSGN", "FNAM"},      {"NPC_", "FNAM DNAM"},           {"PGRD", "NAME"},
      {"DIAL", "NAME"}, {"FACT", "FNAM RNAM"}, {"INFO", "ANAM NAME BNAM SCVR"}, {"SCPT", "SCTX"},
      {"CELL", "DNAM"}};
  const bool first_name = kind == "CELL" && tag == "NAME" && cell_name_pending;
  const bool result =
      first_name || (owned.contains(kind) && owned.at(kind).find(tag) != std::string::npos);
  if (kind == "CELL" && result) cell_name_pending = false;
  return result;
}

// A plug-in of 1 to 10 records of the kinds above. Half of the
// subrecords are drawn again until a handler owns one.
inline std::string random_plugin(std::mt19937& rng) {
  std::string input;
  for (int r = below(rng, 10) + 1; r > 0; --r) {
    const std::string& kind = pick(rng, kKinds);
    std::vector<std::string> subrecords;
    bool pending = true;
    for (int s = below(rng, 7); s > 0; --s) {
      std::string tag = pick(rng, kTags);
      for (int retry = below(rng, 2) * 4; retry > 0 && !may_rewrite(kind, tag, pending); --retry) {
        tag = pick(rng, kTags);
      }
      subrecords.push_back(sub(tag, random_payload(rng, tag)));
    }
    input += builder::record(kind, subrecords, "\1\2\3\4\5\6\7\x08");
  }
  return input;
}

inline void random_lexicons(std::mt19937& rng, Lexicons* lexicons) {
  for (Lexicon* lexicon : {&lexicons->topics, &lexicons->factions, &lexicons->names}) {
    Pairs pairs(static_cast<size_t>(below(rng, 10)));
    for (auto& pair : pairs) pair = {pick(rng, kSources), pick(rng, kTargets)};
    *lexicon = make_lexicon(pairs);
  }
}

}  // namespace quillaret::testing
