// Script texts through the whole pass, against a scan written plainly.
#include <random>

#include "translate/random_plugins.h"

namespace quillaret::testing {
namespace {

// Script texts rewritten as the scan once did it, a step at a time: at each
// word or quote, an AddTopic argument (topics first), a quoted name, or
// else the word is passed over.
std::string stepped_script_rewrite(std::string_view text, const Lexicons& lexicons) {
  const auto is_delimiter = [](char c) { return std::string_view(" .,;:!?'()\"\t\n\r").find(c) != std::string_view::npos; };
  const auto quoted = [&](const Lexicon& lexicon, size_t at) -> const LexiconEntry* {
    const size_t quote = text.find('"', at);
    if (quote == std::string_view::npos || quote == at) return nullptr;
    return lexicon.find_exact(text.substr(at, quote - at));
  };
  std::string out;
  size_t copied = 0;
  size_t i = 0;
  const auto replace = [&](const LexiconEntry* entry) {
    if (entry == nullptr) return;
    out.append(text.substr(copied, i - copied)).append(entry->target);
    i += entry->source.size() + 1;
    copied = i - 1;
  };
  while (i < text.size()) {
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("AddTopic \"") || rest.starts_with("addtopic \"")) {
      i += 10;
      const LexiconEntry* entry = quoted(lexicons.topics, i);
      replace(entry != nullptr ? entry : quoted(lexicons.names, i));
    } else if (text[i] == '"') {
      ++i;
      replace(quoted(lexicons.names, i));
    } else {
      while (i < text.size() && !is_delimiter(text[i])) ++i;
    }
    while (i < text.size() && is_delimiter(text[i]) && text[i] != '"') ++i;
  }
  return out.append(text.substr(copied));
}

TEST(ScriptRewriting, EqualsTheStepByStepScan) {
  Lexicons lexicons;
  lexicons.topics = make_lexicon({{"Old Bridge", "Vieux Pont"}, {"Duplicate", "Sujet"}, {"x", "X"}});
  lexicons.names = make_lexicon(
      {{"Iron", "Fer"}, {"Duplicate", "Nom"}, {"AddTopic ", "T"}, {"x", "Y"}, {"Iron Key", "Clef"}});
  const std::vector<std::string> tokens = {"AddTopic ", "addtopic ", "AddTopic", "\"", "\"", " ",
                                           "\r\n", "\t", "x", "Iron", "Old Bridge", "Duplicate",
                                           "A", "(", "Key", "\"Iron\"", "\"Duplicate",
                                           "AddTopic \"Old Bridge\"", "\"x\"", "\"Iron Key"};
  std::mt19937 rng(777);
  int changed = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (size_t n = rng() % 14; n > 0; --n) text += tokens[rng() % tokens.size()];
    SCOPED_TRACE("text '" + text + "'");
    const std::string expected = stepped_script_rewrite(text, lexicons);
    ASSERT_EQ(translate_in_memory(builder::record("SCPT", {sub("SCTX", text)}), lexicons).output,
              builder::record("SCPT", {sub("SCTX", expected)}));
    changed += expected != text;
  }
  EXPECT_GT(changed, 600);  // guards the generator
}

}  // namespace
}  // namespace quillaret::testing
