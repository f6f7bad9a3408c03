// The table finds phrases a word at a time and must still give the answer
// of a scan of the entries in stored order: the first of the longest
// sources that begin the text, taken only when a word ends right after it.
// These tests drive it with sources built from shared stems, so that
// phrases continue one another across word delimiters, end inside the
// words of longer texts, and hide one another.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lexicon/lexicon.h"
#include "plugin/plugin_builder.h"

namespace quillaret {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Lexicon make(const Pairs& pairs) {
  const std::string file = builder::lexicon_file(pairs);
  return Lexicon(std::vector<char>(file.begin(), file.end()));
}

const LexiconEntry* scan_phrase(const Lexicon& lexicon, std::string_view text, size_t position) {
  for (const LexiconEntry& e : lexicon.entries()) {
    if (e.source.empty() || !text.substr(position).starts_with(e.source)) continue;
    const size_t after = position + e.source.size();
    return after == text.size() || is_word_delimiter(text[after]) ? &e : nullptr;
  }
  return nullptr;
}

// Stems that share beginnings and words with one another; one has a last
// word of 70 bytes, past what the table records length by length.
const std::vector<std::string> kStems = {"a",
                                         "ab",
                                         " ",
                                         "Iron",
                                         "Iron Dag",
                                         "Iron Dagger",
                                         "Iron Dagger of F",
                                         "Iron Dagger of Flame",
                                         "\xC9p\xE9"
                                         "e",
                                         "Balmora, Guild",
                                         "Balmora, Guild of M",
                                         "Iron " + std::string(70, 'x')};

std::string random_text(std::mt19937& random, size_t parts) {
  const std::string tails = "ab rg,.\xE9x";
  std::string text;
  for (size_t i = random() % (parts + 1); i > 0; --i) {
    if (random() % 3 == 0) {
      text += tails[random() % tails.size()];
    } else {
      text += kStems[random() % kStems.size()];
    }
  }
  return text;
}

TEST(SourceTable, AgreesWithAScanInStoredOrder) {
  std::mt19937 random(4242);
  int found = 0;
  for (int round = 0; round < 300; ++round) {
    Pairs pairs(random() % 80);
    for (size_t i = 0; i < pairs.size(); ++i) pairs[i] = {random_text(random, 3), std::to_string(i)};
    const Lexicon lexicon = make(pairs);
    for (int query = 0; query < 100; ++query) {
      // Mostly sources themselves, cut or extended, so that walks go deep.
      std::string text = random_text(random, 4);
      if (!pairs.empty() && random() % 2 == 0) {
        text = pairs[random() % pairs.size()].first;
        text = text.substr(0, random() % (text.size() + 2)) + random_text(random, 1);
      }
      const LexiconEntry* exact = nullptr;
      for (const LexiconEntry& e : lexicon.entries()) {
        if (e.source == text) {
          exact = &e;
          break;
        }
      }
      ASSERT_EQ(lexicon.find_exact(text), exact) << round << " '" << text << "'";
      for (size_t position = 0; position <= text.size(); ++position) {
        const LexiconEntry* phrase = scan_phrase(lexicon, text, position);
        ASSERT_EQ(lexicon.phrase_at(text, position), phrase)
            << round << " '" << text << "' at " << position;
        found += phrase != nullptr;
      }
    }
  }
  EXPECT_GT(found, 10000);  // guards the generator
}

TEST(SourceTable, LongerSourcesEndingInsideAWordHideShorterOnes) {
  const std::string long_word(70, 'x');
  const Pairs pairs = {{"Iron", "1"},
                       {"Iron Dagger", "2"},
                       {"Iron Dagger of", "3"},
                       {"Iron Dagger of Fla", "4"},
                       {"Red ", "5"},
                       {"Iron " + long_word, "6"},
                       {"", "7"}};
  const Lexicon lexicon = make(pairs);
  const auto target = [&](std::string_view text) {
    const LexiconEntry* entry = lexicon.phrase_at(text, 0);
    return entry == nullptr ? std::string("-") : std::string(entry->target);
  };
  EXPECT_EQ(target("Iron Dagger of Flame"), "-");  // "Iron Dagger of Fla" ends inside
  EXPECT_EQ(target("Iron Dagger of Fla, at last"), "4");
  EXPECT_EQ(target("Iron Dagger of Frost"), "3");
  EXPECT_EQ(target("Iron Daggers"), "-");
  EXPECT_EQ(target("Iron Dagge"), "1");
  EXPECT_EQ(target("Iron Dagger"), "2");
  EXPECT_EQ(target("Red Mountain"), "-");  // "Red " ends inside the next word
  EXPECT_EQ(target("Red  Mountain"), "5");
  EXPECT_EQ(target("Iron " + long_word + "y"), "-");
  EXPECT_EQ(target("Iron " + long_word), "6");
  EXPECT_EQ(target("Iron " + std::string(69, 'x') + "y"), "1");
  EXPECT_EQ(lexicon.find_exact("")->target, "7");
  EXPECT_EQ(lexicon.find_exact("Iron Dagger of F"), nullptr);  // only a beginning

  // Without phrases (the faction lexicon), whole texts only.
  const std::string file = builder::lexicon_file(pairs);
  const Lexicon whole_only(std::vector<char>(file.begin(), file.end()), false);
  EXPECT_EQ(whole_only.find_exact("Iron Dagger")->target, "2");
  EXPECT_EQ(whole_only.phrase_at("Iron Dagger", 0), nullptr);
}

}  // namespace
}  // namespace quillaret
