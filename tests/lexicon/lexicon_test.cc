#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lexicon/lexicon.h"
#include "lexicon/lexicon_order.h"
#include "tools/plugin_builder.h"
#include "support/plugin_io.h"
#include "support/temp_dir.h"

namespace quillaret {
namespace {
using namespace std::string_literals;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs stored_pairs(const Lexicon& lexicon) {
  Pairs pairs;
  for (const LexiconEntry& e : testing::stored_entries(lexicon)) pairs.emplace_back(e.source, e.target);
  return pairs;
}

TEST(LexiconFile, PairsTheQuotedStrings) {
  const Pairs daggers = {{"Iron Dagger", "Dague de fer"}, {"Dagger", "Dague"}};
  const Pairs dagger = {{"Dagger", "Dague"}};
  // File text, and the entries in stored order.
  const std::vector<std::pair<std::string, Pairs>> cases = {
      {"\"Dagger\"\n\"Dague\"\n\"Iron Dagger\"\n\"Dague de fer\"\n", daggers},
      {"\"Dagger\"\r\n\"Dague\"\r\n\"Iron Dagger\"\r\n\"Dague de fer\"\r\n", daggers},
      {"en: \"Dagger\" (short)\nfr: \"Dague\"\nnote\n", dagger},       // text outside strings
      {"\"Dagger\" \"Epee\"\n\"Dague\"\n", dagger},                    // a second string on a line is none
      {"\"Dagger\"\n\"Dague\"\n\"Orphan\"\n", dagger},                 // a source without a target
      {"\"Dagger\"\n\"Dague\"\n\0\"Sword\"\n\"Epee\"\n"s, dagger},     // a NUL ends the scan
      {"\"Dagger\"\n\"Dague de\nfer", {{"Dagger", "Dague de\nfer"}}},  // unterminated: runs to the end
      // A closing quote that is the first of its line opens the next string too.
      {"\"Dagger\n\"Dague\"\n", {{"Dagger\n", "Dague"}}},
  };
  for (const auto& [text, stored] : cases) EXPECT_EQ(stored_pairs(Lexicon(text)), stored) << text;
}

TEST(LexiconFile, NoCapacityLimit) {
  // Well past 4 MiB and 131,072 entries, as real name lexicons are.
  Pairs pairs;
  for (int i = 0; i < 150000; ++i) pairs.emplace_back("Source " + std::to_string(i), "Cible " + std::to_string(i));
  testing::TempDir dir;
  dir.write("names.txt", builder::lexicon_file(pairs));
  ASSERT_GT(dir.read("names.txt").size(), 4u << 20);
  Lexicon lexicon;
  ASSERT_TRUE(load_lexicon(dir.file("names.txt"), true, &lexicon));
  EXPECT_EQ(lexicon.file_entries().size(), pairs.size());
  for (const auto& [source, target] : {pairs.front(), pairs[75000], pairs.back()}) {
    const LexiconEntry* entry = lexicon.find_exact(source);
    EXPECT_TRUE(entry != nullptr && entry->target == target) << source;
  }
}

// The loader's historical exchange sort, run as it was written.
std::vector<uint32_t> quadratic_exchange_sort(const std::vector<size_t>& lengths) {
  std::vector<uint32_t> order(lengths.size());
  std::iota(order.begin(), order.end(), 0u);
  for (size_t j = 0; j < order.size(); ++j) {
    for (size_t k = j + 1; k < order.size(); ++k) {
      if (lengths[order[j]] < lengths[order[k]]) std::swap(order[j], order[k]);
    }
  }
  return order;
}

TEST(LexiconOrder, MatchesTheExchangeSortOnRandomLengths) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 3000; ++round) {
    // A few distinct lengths only, so that most entries tie with others.
    std::vector<size_t> alphabet(1 + random() % 4);
    for (size_t& length : alphabet) length = random() % 12;
    std::vector<size_t> lengths(random() % 201);
    for (size_t& length : lengths) length = alphabet[random() % alphabet.size()];
    const std::vector<uint32_t> expected = quadratic_exchange_sort(lengths);
    ASSERT_EQ(testing::exchange_sort_order(lengths), expected) << "round " << round;
    if (lengths.empty()) continue;
    // A few entries of one length, asked about alone, come in the same order.
    const size_t length = lengths[random() % lengths.size()];
    std::vector<uint32_t> among, in_order;
    for (uint32_t i = 0; i < lengths.size(); ++i) {
      if (lengths[i] == length && random() % 3 == 0) among.push_back(i);
    }
    for (uint32_t i : expected) {
      if (std::find(among.begin(), among.end(), i) != among.end()) in_order.push_back(i);
    }
    std::shuffle(among.begin(), among.end(), random);
    ASSERT_EQ(exchange_sort_among(lengths, length, among), in_order) << "round " << round;
  }
  for (int round = 0; round < 400; ++round) {
    // Many distinct lengths, short entries before long ones: long chains of
    // moves through each pass.
    std::vector<size_t> lengths(random() % 400);
    const size_t spread = 1 + random() % 60;
    for (size_t i = 0; i < lengths.size(); ++i) {
      lengths[i] = random() % 4 == 0 ? random() % spread : i * spread / (lengths.size() + 1);
    }
    ASSERT_EQ(testing::exchange_sort_order(lengths), quadratic_exchange_sort(lengths)) << "round " << round;
  }
}

}  // namespace
}  // namespace quillaret
