// The lexicon lookups go through an index; whatever it is, each answer must
// be the entry that a plain walk of the entries in stored order gives. The
// walks below are that definition, compared on random lexicons over small
// alphabets, where prefixes, shared stems and identical sources abound.
#include <random>
#include <tuple>

#include "translate/translate.h"
#include "translate/translate_test_support.h"

namespace quillaret::testing {
namespace {

bool delimiter(char c) {
  return std::string_view(" .,;:!?'()\"\t\n\r").find(c) != std::string_view::npos;
}

// The first non-empty source found at `position` decides: it matches when
// the text goes on with a boundary (or, for a quoted name, a double quote);
// otherwise nothing matches there.
const LexiconEntry* scan_prefix(const Lexicon& lexicon, std::string_view text, size_t position,
                                bool quoted) {
  for (const LexiconEntry& entry : lexicon.entries()) {
    if (entry.source.empty() || !text.substr(position).starts_with(entry.source)) continue;
    const size_t after = position + entry.source.size();
    const bool ends = quoted ? after < text.size() && text[after] == '"'
                             : after == text.size() || delimiter(text[after]);
    return ends ? &entry : nullptr;
  }
  return nullptr;
}

const LexiconEntry* scan_exact(const Lexicon& lexicon, std::string_view text) {
  for (const LexiconEntry& entry : lexicon.entries()) {
    if (entry.source == text) return &entry;
  }
  return nullptr;
}

std::string random_text(std::mt19937& rng, std::string_view alphabet, size_t max_length) {
  std::string text(std::uniform_int_distribution<size_t>(0, max_length)(rng), ' ');
  std::uniform_int_distribution<size_t> letter(0, alphabet.size() - 1);
  for (char& c : text) c = alphabet[letter(rng)];
  return text;
}

// Source alphabets (never a double quote: the lexicon format has none), the
// longest source and the most entries. The narrow one makes prefixes and
// duplicates frequent; the wide one gives index nodes many branches and
// bytes of both signs.
const std::tuple<std::string_view, size_t, size_t> kAlphabets[] = {
    {"ab .", 4, 24}, {"abcdefgh ,-\x80\xE9\xFF", 3, 120}};

TEST(LookupEquivalence, IndexAnswersEqualTheStoredOrderScan) {
  int compared = 0, matched = 0;
  for (const auto& [alphabet, max_source, max_entries] : kAlphabets) {
    std::mt19937 rng(20240601);
    const std::string text_alphabet = std::string(alphabet) + "\"";
    for (int round = 0; round < 1500; ++round) {
      Pairs pairs(std::uniform_int_distribution<size_t>(0, max_entries)(rng));
      for (size_t i = 0; i < pairs.size(); ++i) {
        pairs[i] = {random_text(rng, alphabet, max_source), std::string(1, 't').append(std::to_string(i))};
      }
      const Lexicon lexicon = make_lexicon(pairs);
      ASSERT_EQ(lexicon.entries().size(), pairs.size());
      std::vector<std::string> texts;
      for (int i = 0; i < 4; ++i) texts.push_back(random_text(rng, text_alphabet, 14));
      for (int i = 0; i < 6; ++i) texts.push_back(random_text(rng, alphabet, max_source));
      for (const auto& [source, target] : pairs) texts.push_back(source);
      for (const std::string& text : texts) {
        SCOPED_TRACE("round " + std::to_string(round) + " text '" + text + "'");
        ASSERT_EQ(lexicon.find_exact(text), scan_exact(lexicon, text));
        for (size_t position = 0; position <= text.size(); ++position) {
          const LexiconEntry* phrase = scan_prefix(lexicon, text, position, false);
          ASSERT_EQ(match_phrase(lexicon, text, position), phrase) << "position " << position;
          ASSERT_EQ(match_quoted_entry(lexicon, text, position),
                    scan_prefix(lexicon, text, position, true))
              << "position " << position;
          matched += phrase != nullptr;
          ++compared;
        }
      }
    }
  }
  // Guards the generator: matches must not be rare.
  EXPECT_GT(matched, compared / 10);
}

}  // namespace
}  // namespace quillaret::testing
