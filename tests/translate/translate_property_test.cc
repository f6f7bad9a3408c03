// Random plug-ins and lexicons through read, translate and write in memory:
// whatever the pass replaces, the output must keep the input's structure,
// carry consistent sizes and leave every subrecord no handler owns alone.
#include <cstring>
#include <map>
#include <random>
#include <tuple>

#include "translate/random_plugins.h"

namespace quillaret::testing {
namespace {

// A node as written: its header, then its payload (an SCVR's prefix included)
// or, for a record, its 8 further header bytes.
std::string_view node_bytes(std::string_view file, const RecordNode& node) {
  const int64_t header = node.data_offset - 8 - (node.has_prefix ? 5 : 0);
  return file.substr(static_cast<size_t>(header), node.is_record ? 16 : 8 + node.size);
}

TEST(TranslationProperties, OutputKeepsStructureSizesAndUnownedBytes) {
  std::mt19937 rng(4242);
  int rewritten = 0;
  for (int round = 0; round < 1000; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string input = random_plugin(rng);
    Lexicons lexicons;
    random_lexicons(rng, &lexicons);
    const PassResult pass = translate_in_memory(input, lexicons);
    ASSERT_EQ(pass.status, 0);
    std::string error;
    RecordTree in_tree, out_tree;
    ASSERT_TRUE(read_whole(input, &in_tree, &error));
    ASSERT_TRUE(read_whole(pass.output, &out_tree, &error)) << error;
    ASSERT_EQ(out_tree.nodes.size(), in_tree.nodes.size());

    std::string kind;
    bool cell_name_pending = true;
    for (size_t i = 0; i < in_tree.nodes.size(); ++i) {
      const RecordNode& in = in_tree.nodes[i];
      const RecordNode& out = out_tree.nodes[i];
      ASSERT_EQ(std::tie(out.tag, out.parent, out.is_record),
                std::tie(in.tag, in.parent, in.is_record));
      if (in.is_record) {
        kind = tag_text(in.tag);
        cell_name_pending = true;
        uint64_t sum = 0;
        for (int32_t c = out.first_child; c >= 0; c = out_tree.nodes[static_cast<size_t>(c)].next) {
          sum += 8 + out_tree.nodes[static_cast<size_t>(c)].size;
        }
        EXPECT_EQ(out.size, sum) << kind;
        EXPECT_EQ(node_bytes(pass.output, out).substr(8), node_bytes(input, in).substr(8));
        continue;
      }
      const std::string tag = tag_text(in.tag);
      const bool same = node_bytes(pass.output, out) == node_bytes(input, in);
      if (!may_rewrite(kind, tag, cell_name_pending)) {
        EXPECT_TRUE(same) << kind << " " << tag;
      } else if (in.has_prefix) {  // a condition keeps its codes and operator
        EXPECT_EQ(0, std::memcmp(out.scvr_prefix, in.scvr_prefix, 5));
      }
      rewritten += !same;
    }
  }
  // Guards the generator: the lexicons must actually hit the plug-ins.
  EXPECT_GT(rewritten, 500);
}

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
