// The index sorts sources eight bytes at a time, merges runs of bytes that
// neither branch nor end a source into single edges, and rules out texts by
// their first three bytes. These tests drive it with long sources built
// from shared stems, so that ties run across several eight-byte chunks and
// edges end at every offset, and compare every answer with a scan of the
// entries in stored order.
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

// Stems of 1 to 19 bytes that share prefixes with one another, so that
// sources built from them agree on 8 or 16 bytes and part beyond.
const std::vector<std::string> kStems = {"a",
                                         "ab",
                                         "Iron",
                                         "Iron Dag",
                                         "Iron Dagge",
                                         "Iron Dagger",
                                         "Iron Dagger of F",
                                         "Iron Dagger of Fla",
                                         "Iron Dagger of Flame",
                                         "\xC9p\xE9"
                                         "e",
                                         "Balmora, Guild",
                                         "Balmora, Guild of",
                                         "Balmora, Guild of M"};

std::string random_text(std::mt19937& random, size_t parts) {
  const std::string tails = "ab rg,\xE9";
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

TEST(LexiconIndex, LongSourcesAgreeWithAScanInStoredOrder) {
  std::mt19937 random(4242);
  for (int round = 0; round < 300; ++round) {
    Pairs pairs(random() % 80);
    for (size_t i = 0; i < pairs.size(); ++i) {
      pairs[i] = {random_text(random, 3), std::to_string(i)};
    }
    const std::string file = builder::lexicon_file(pairs);
    const Lexicon lexicon(std::vector<char>(file.begin(), file.end()));
    for (int query = 0; query < 200; ++query) {
      // Mostly sources themselves, cut or extended, so that lookups go deep.
      std::string text = random_text(random, 4);
      if (!pairs.empty() && random() % 2 == 0) {
        text = pairs[random() % pairs.size()].first;
        text = text.substr(0, random() % (text.size() + 2)) + random_text(random, 1);
      }
      const LexiconEntry* exact = nullptr;
      const LexiconEntry* prefix = nullptr;
      for (const LexiconEntry& e : lexicon.entries()) {
        if (exact == nullptr && e.source == text) exact = &e;
        if (prefix == nullptr && !e.source.empty() && text.starts_with(e.source)) prefix = &e;
      }
      ASSERT_EQ(lexicon.find_exact(text), exact) << round << " '" << text << "'";
      ASSERT_EQ(lexicon.longest_prefix(text), prefix) << round << " '" << text << "'";
    }
  }
}

TEST(LexiconIndex, FindsSourcesOfOneAndTwoBytesBesideLongOnes) {
  const Pairs pairs = {{"I", "1"}, {"Ir", "2"}, {"Iron Dagger", "3"}, {"", "4"}};
  const std::string file = builder::lexicon_file(pairs);
  const Lexicon lexicon(std::vector<char>(file.begin(), file.end()));
  EXPECT_EQ(lexicon.longest_prefix("Irk")->target, "2");
  EXPECT_EQ(lexicon.longest_prefix("Iron Dagger of Flame")->target, "3");
  EXPECT_EQ(lexicon.longest_prefix("Iz")->target, "1");
  EXPECT_EQ(lexicon.find_exact("")->target, "4");
  EXPECT_EQ(lexicon.find_exact("Iro"), nullptr);
}

}  // namespace
}  // namespace quillaret
