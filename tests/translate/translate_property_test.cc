// Random plug-ins and lexicons through read, translate and write in memory:
// whatever the pass replaces, the output must keep the input's structure,
// carry consistent sizes and leave every subrecord no handler owns alone.
#include <cstring>
#include <map>
#include <random>
#include <tuple>

#include "platform/console.h"
#include "plugin/record_tree.h"
#include "translate/translate.h"
#include "translate/translate_test_support.h"

namespace quillaret::testing {
namespace {

struct StringSink : ByteSink {
  bool write(const char* data, size_t size) override { return bytes.append(data, size), true; }
  std::string bytes;
};

// Pieces of text that the lexicons know, plus quoting and word boundaries.
const std::vector<std::string> kSources = {"Iron", "Iron Key", "Old Bridge", "Great",
                                           "Great Hall", "x", ""};
const std::vector<std::string> kPieces = {"Iron", "Iron Key", "Old Bridge", "Great", "Great Hall",
                                          "AddTopic \"", "\"", " ", ".", "-", "x",
                                          std::string(1, '\0')};
const std::vector<std::string> kTargets = {"", "Fer", "Clef de fer", "Vieux Pont",
                                           std::string(40, 'L')};
const std::vector<std::string> kKinds = {"WEAP", "BSGN", "NPC_", "PGRD", "CELL", "FACT",
                                         "DIAL", "INFO", "SCPT", "ACTI", "BOOK", "GMST"};
const std::vector<std::string> kTags = {"NAME", "FNAM", "DNAM", "RNAM", "ANAM",
                                        "BNAM", "SCTX", "SCVR", "DATA", "INAM"};

int below(std::mt19937& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
const std::string& pick(std::mt19937& rng, const std::vector<std::string>& from) {
  return from[static_cast<size_t>(below(rng, static_cast<int>(from.size())))];
}

// Half of the texts are one whole known name, for the whole-string lookups.
std::string random_text(std::mt19937& rng) {
  std::string text = below(rng, 2) ? pick(rng, kSources) : "";
  for (int n = text.empty() ? below(rng, 7) : 0; n > 0; --n) text += pick(rng, kPieces);
  return text;
}

std::string random_payload(std::mt19937& rng, const std::string& tag) {
  const auto count = [&](int n) { return static_cast<size_t>(below(rng, n)); };
  if (tag != "SCVR") return random_text(rng) + std::string(count(2), '\0');
  if (count(5) == 0) return std::string(count(5), 'B');  // too short for a prefix
  const std::string codes = {static_cast<char>(below(rng, 256)), 'B', 'L',
                             below(rng, 3) ? 'X' : 'Y', '\4'};
  return codes + random_text(rng);
}

// Whether a handler may rewrite this subrecord of this record kind. A cell
// owns every DNAM and its first NAME, unless a DNAM came before it.
bool may_rewrite(const std::string& kind, const std::string& tag, bool& cell_name_pending) {
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

// A node as written: its header, then its payload (an SCVR's prefix included)
// or, for a record, its 8 further header bytes.
std::string_view node_bytes(std::string_view file, const RecordNode& node) {
  const int64_t header = node.data_offset - 8 - (node.has_prefix ? 5 : 0);
  return file.substr(static_cast<size_t>(header), node.is_record ? 16 : 8 + node.size);
}

// A plug-in of 1 to 10 records of the kinds above. Half of the
// subrecords are drawn again until a handler owns one.
std::string random_plugin(std::mt19937& rng) {
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

void random_lexicons(std::mt19937& rng, Lexicons* lexicons) {
  for (Lexicon* lexicon : {&lexicons->topics, &lexicons->factions, &lexicons->names}) {
    Pairs pairs(static_cast<size_t>(below(rng, 10)));
    for (auto& pair : pairs) pair = {pick(rng, kSources), pick(rng, kTargets)};
    *lexicon = make_lexicon(pairs);
  }
}

TEST(TranslationProperties, OutputKeepsStructureSizesAndUnownedBytes) {
  std::mt19937 rng(4242);
  int rewritten = 0;
  for (int round = 0; round < 1000; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string input = random_plugin(rng);
    Lexicons lexicons;
    random_lexicons(rng, &lexicons);
    StringConsole console;
    RecordTree tree, in_tree, out_tree;
    ASSERT_EQ(parse_records(input, &in_tree, console), 0);
    ASSERT_EQ(parse_records(input, &tree, console, &translated_entries()), 0);
    TextArena arena;
    Translation translation{input, tree, lexicons, arena, nullptr, console};
    ASSERT_EQ(translate_records(translation), 0);
    StringSink sink;
    ASSERT_EQ(save_records(input, tree, sink, console), 0);
    const std::string& output = sink.bytes;
    ASSERT_EQ(parse_records(output, &out_tree, console), 0) << console.output;
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
        EXPECT_EQ(node_bytes(output, out).substr(8), node_bytes(input, in).substr(8));
        continue;
      }
      const std::string tag = tag_text(in.tag);
      const bool same = node_bytes(output, out) == node_bytes(input, in);
      if (!may_rewrite(kind, tag, cell_name_pending)) {
        EXPECT_TRUE(same) << kind << " " << tag;
      } else if (in.has_prefix) {  // only the length byte of a condition may change
        EXPECT_EQ(0, std::memcmp(out.scvr_prefix, in.scvr_prefix, 4));
      }
      rewritten += !same;
    }
  }
  // Guards the generator: the lexicons must actually hit the plug-ins.
  EXPECT_GT(rewritten, 500);
}

// What one way of running the pass leaves: its status, messages, log and
// output.
struct Result {
  int status;
  std::string console, log, output;
  bool operator==(const Result&) const = default;
};

Result translate(std::string_view input, const Lexicons& lexicons, const NodeFilter* filter,
                 uint64_t min_parallel_work) {
  StringConsole console;
  RecordTree tree;
  EXPECT_EQ(parse_records(input, &tree, console, filter), 0);
  TextArena arena;
  std::string log;
  Translation translation{input, tree, lexicons, arena, &log, console};
  translation.min_parallel_work = min_parallel_work;
  Result result{translate_records(translation), "", log, ""};
  StringSink sink;
  if (result.status == 0) {
    EXPECT_EQ(save_records(input, tree, sink, console), 0);
  }
  result.console = console.output;
  result.output = sink.bytes;
  return result;
}

// The filtered tree, and the second thread, are only ways to go faster: the
// messages, the log and the output must be those of one pass over every
// node, including when a payload too large stops the pass in either half,
// or a response grows too long.
TEST(TranslationProperties, OneThreadOrTwoAndAnyTreeGiveTheSameResult) {
  std::mt19937 rng(777);
  int failures = 0, too_long = 0;
  for (int round = 0; round < 600; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::string input = random_plugin(rng) + random_plugin(rng);
    if (below(rng, 6) == 0) {
      const std::string too_large = builder::record("WEAP", {sub("FNAM", std::string(40000, 'x'))});
      input.insert(below(rng, 2) ? 0 : input.size(), too_large);
    }
    if (below(rng, 4) == 0) {
      std::string response;
      for (int i = 0; i < 120; ++i) response += "Great ";
      input += builder::record("INFO", {sub("NAME", response)});
    }
    Lexicons lexicons;
    random_lexicons(rng, &lexicons);
    const Result whole = translate(input, lexicons, nullptr, UINT64_MAX);
    EXPECT_EQ(translate(input, lexicons, &translated_entries(), UINT64_MAX), whole);
    EXPECT_EQ(translate(input, lexicons, &translated_entries(), 0), whole);
    failures += whole.status != 0;
    too_long += whole.console.find("string too long!") != std::string::npos;
  }
  // Guards the generator: both kinds of message must occur.
  EXPECT_GT(failures, 30);
  EXPECT_GT(too_long, 10);
}

}  // namespace
}  // namespace quillaret::testing
