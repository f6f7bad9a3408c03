// The lexicon lookups go through an index; whatever it is, each answer must
// be the entry that a plain walk of the entries in stored order gives. The
// walks below are that definition, compared on random lexicons over small
// alphabets, where prefixes, shared stems and identical sources abound.
#include <algorithm>
#include <random>

#include "translate/pass.h"
#include "translate/translate_test_support.h"

namespace quillaret::testing {
namespace {

bool delimiter(char c) { return std::string_view(" .,;:!?'()\"\t\n\r").find(c) != std::string_view::npos; }

// The first non-empty source found at `position` decides: it matches when
// the text goes on with a boundary (or, for a quoted name, a double quote);
// otherwise nothing matches there.
const LexiconEntry* scan_prefix(const std::vector<LexiconEntry>& stored, std::string_view text,
                                size_t position, bool quoted) {
  for (const LexiconEntry& entry : stored) {
    if (entry.source.empty() || !text.substr(position).starts_with(entry.source)) continue;
    const size_t after = position + entry.source.size();
    const bool ends = quoted ? after < text.size() && text[after] == '"'
                             : after == text.size() || delimiter(text[after]);
    return ends ? &entry : nullptr;
  }
  return nullptr;
}

// Every target is distinct: the entry found, by its target.
std::string_view found(const LexiconEntry* entry) { return entry ? entry->target : "(none)"; }

// Texts are made of tokens: single bytes, or whole stems.
using Tokens = std::vector<std::string>;

std::string random_text(std::mt19937& rng, const Tokens& tokens, size_t max_tokens) {
  std::string text;
  std::uniform_int_distribution<size_t> token(0, tokens.size() - 1);
  for (size_t n = std::uniform_int_distribution<size_t>(0, max_tokens)(rng); n > 0; --n) {
    text += tokens[token(rng)];
  }
  return text;
}

Tokens bytes(std::string_view alphabet) {
  Tokens tokens;
  for (char c : alphabet) tokens.emplace_back(1, c);
  return tokens;
}

// Source tokens (never a double quote nor a line end: the lexicon format has
// none; texts get them), the most tokens in a source, the most entries, and
// the rounds. The narrow alphabet makes prefixes and duplicates frequent; the
// wide one gives many branches, bytes of both signs, and every delimiter
// among other bytes below 0x40 in texts longer than the eight bytes in which
// a word's end is looked for at once; the stems make phrases of several
// words that continue one another, end inside the words of longer texts
// and hide one another, with a last word of 70 bytes among them.
struct Case {
  Tokens tokens;
  size_t max_tokens, max_entries;
  int rounds;
};
const Case kCases[] = {
    {bytes("ab ."), 4, 24, 1500},
    {bytes("abcdefgh-09%@\x80\xE9\xFF .,;:!?'()\t"), 3, 120, 1500},
    {{"a", "ab", " ", ",", "x", "\xE9", "Iron", "Iron Dag", "Iron Dagger", "Iron Dagger of F",
      "Iron Dagger of Flame", "Red ", "Balmora, Guild", "Balmora, Guild of M",
      "Iron " + std::string(70, 'x')},
     3, 60, 150},
};

TEST(LookupEquivalence, IndexAnswersEqualTheStoredOrderScan) {
  int compared = 0, matched = 0;
  for (const Case& c : kCases) {
    std::mt19937 rng(20240601);
    Tokens text_tokens = c.tokens;
    text_tokens.insert(text_tokens.end(), {"\"", "\n", "\r"});
    for (int round = 0; round < c.rounds; ++round) {
      Pairs pairs(std::uniform_int_distribution<size_t>(0, c.max_entries)(rng));
      for (size_t i = 0; i < pairs.size(); ++i) {
        pairs[i] = {random_text(rng, c.tokens, c.max_tokens), std::string(1, 't').append(std::to_string(i))};
      }
      const Lexicon lexicon = make_lexicon(pairs);
      const std::vector<LexiconEntry> stored = stored_entries(lexicon);
      ASSERT_EQ(stored.size(), pairs.size());
      std::vector<std::string> texts;
      for (int i = 0; i < 4; ++i) texts.push_back(random_text(rng, text_tokens, c.max_tokens + 20));
      for (int i = 0; i < 6; ++i) texts.push_back(random_text(rng, c.tokens, c.max_tokens + 1));
      for (const auto& [source, target] : pairs) {
        // Sources as they are, and cut or extended, so that walks go deep.
        texts.push_back(source);
        texts.push_back(source.substr(0, rng() % (source.size() + 1)) + random_text(rng, c.tokens, 1));
      }
      for (const std::string& text : texts) {
        SCOPED_TRACE("round " + std::to_string(round) + " text '" + text + "'");
        // Exact: the first entry whose source is the whole text.
        const auto exact = std::find_if(stored.begin(), stored.end(), [&](const auto& e) { return e.source == text; });
        ASSERT_EQ(found(lexicon.find_exact(text)), found(exact == stored.end() ? nullptr : &*exact));
        for (size_t position = 0; position <= text.size(); ++position) {
          const LexiconEntry* phrase = scan_prefix(stored, text, position, false);
          // As the response scan asks, with the word it has found there.
          size_t word_end = position;
          while (word_end < text.size() && !delimiter(text[word_end])) ++word_end;
          ASSERT_EQ(quillaret::word_end(text, position), word_end) << "position " << position;
          const uint64_t key = word_key(std::string_view(text).substr(position, word_end - position));
          ASSERT_EQ(found(lexicon.phrase_at(text, position, word_end, key)), found(phrase))
              << "position " << position;
          ASSERT_EQ(found(match_quoted_entry(lexicon, text, position)),
                    found(scan_prefix(stored, text, position, true)))
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
