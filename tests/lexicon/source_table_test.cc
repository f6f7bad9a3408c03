// The table finds phrases a word at a time and must still give the answer
// of a scan of the entries in stored order: the first of the longest
// sources that begin the text, taken only when a word ends right after it.
// Random lexicons are compared with that scan in lookup_equivalence_test;
// here, the cases where a longer source hides shorter ones.
#include <gtest/gtest.h>

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
