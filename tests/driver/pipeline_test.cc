#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>

#include "driver/pipeline.h"
#include "translate/random_plugins.h"

namespace quillaret::testing {
namespace {

// The pipeline on one thread or two, reading parts of at least
// `part_bytes`, and waiting a moment or not before it is handed its sink
// (so that the helper works alone a while).
PassResult pipelined(std::string_view input, const Lexicons& lexicons, uint64_t part_bytes,
                     int threads, bool late_sink) {
  StringSink sink;
  TranslationPipeline pipeline(input, lexicons, {threads, part_bytes});
  if (late_sink) std::this_thread::sleep_for(std::chrono::microseconds(200));
  const PipelineResult result = pipeline.finish(sink);
  if (!result.read_ok) return {-2, result.read_error, "", ""};
  EXPECT_EQ(result.written, result.status == 0);
  return {result.status, result.messages, result.log, result.status == 0 ? sink.bytes : ""};
}

// A node as written: its header, then its payload (an SCVR's prefix included)
// or, for a record, its 8 further header bytes.
std::string_view node_bytes(std::string_view file, const RecordNode& node) {
  const int64_t header = node.data_offset - 8 - (node.has_prefix ? 5 : 0);
  return file.substr(static_cast<size_t>(header), node.is_record ? 16 : 8 + node.size);
}

// Whatever the pass replaced, `output` keeps the structure of `input`,
// carries consistent sizes and leaves every subrecord no handler owns alone;
// counts the subrecords rewritten.
void expect_structure_kept(std::string_view input, std::string_view output, int* rewritten) {
  std::string error;
  RecordTree in_tree, out_tree;
  ASSERT_TRUE(read_whole(input, &in_tree, &error));
  ASSERT_TRUE(read_whole(output, &out_tree, &error)) << error;
  ASSERT_EQ(out_tree.nodes.size(), in_tree.nodes.size());
  std::string kind;
  bool cell_name_pending = true;
  for (size_t i = 0; i < in_tree.nodes.size(); ++i) {
    const RecordNode& in = in_tree.nodes[i];
    const RecordNode& out = out_tree.nodes[i];
    ASSERT_EQ(std::tie(out.tag, out.parent, out.is_record), std::tie(in.tag, in.parent, in.is_record));
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
    } else if (in.has_prefix) {  // a condition keeps its codes and operator
      EXPECT_EQ(0, std::memcmp(out.scvr_prefix, in.scvr_prefix, 5));
    }
    *rewritten += !same;
  }
}

// Reading in parts, the filtered trees, the parts on two threads and the
// writing as they go are only ways to go faster: the messages, the log and
// the output must be those of one read, one pass over every node and the
// writer; including when a payload too large stops the pass in any part,
// a response grows too long, or the input is not a plug-in after
// translated parts (which fails the read, whatever the translation did).
// Random plug-ins fail for no other reason, and their translation keeps
// their structure.
TEST(TranslationPipeline, GivesWhatOneReadOnePassThenTheWriterGive) {
  std::mt19937 rng(777);
  const std::string too_large = builder::record("WEAP", {sub("FNAM", std::string(40000, 'x'))});
  std::string great;
  for (int i = 0; i < 120; ++i) great += "Great ";
  int too_long = 0, rewritten = 0;
  for (int round = 0; round < 800; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::string input = random_plugin(rng) + random_plugin(rng);
    const bool large = below(rng, 6) == 0;
    if (large) input.insert(below(rng, 2) ? 0 : input.size(), too_large);
    if (below(rng, 4) == 0) input += builder::record("INFO", {sub("NAME", great)});
    const bool unreadable = below(rng, 8) == 0;
    if (unreadable) {
      // Not a plug-in from here on: an unknown tag, or a cut record.
      input += below(rng, 2) ? sub("ZZZZ", "x") : builder::record("NPC_", {}).substr(0, 12);
    }
    Lexicons lexicons;
    random_lexicons(rng, &lexicons);
    const PassResult whole = translate_in_memory(input, lexicons);
    ASSERT_EQ(whole.status, unreadable ? -2 : large ? -1 : 0);
    const uint64_t part_bytes = 1 + below(rng, 400);
    EXPECT_EQ(pipelined(input, lexicons, part_bytes, 1, false), whole);
    EXPECT_EQ(pipelined(input, lexicons, part_bytes, 2, below(rng, 2) == 0), whole);
    EXPECT_EQ(pipelined(input, lexicons, 0, 2, false), whole);
    too_long += whole.console.find("string too long!") != std::string::npos;
    if (whole.status == 0) expect_structure_kept(input, whole.output, &rewritten);
  }
  // Guards the generator: responses grow too long, lexicons hit the plug-ins.
  EXPECT_GT(too_long, 10);
  EXPECT_GT(rewritten, 500);
}

// A failed write stops the writing: nothing more reaches the sink, and the
// result says the output is incomplete, whichever write failed (a copy, a
// record's new size, a replaced name's header or text, in the first part or
// a later one). A pipeline that is never finished stops its thread when it goes.
TEST(TranslationPipeline, AFailedWriteOrNoFinishStopsIt) {
  std::string input;
  for (int i = 0; i < 20000; ++i) input += builder::record("WEAP", {name("FNAM", "Iron")});
  Lexicons lexicons;
  lexicons.names = make_lexicon({{"Iron", "Fer"}});
  for (int threads : {1, 2}) {
    for (int failing : {1, 2, 3, 4, 5, 9000}) {
      StringSink sink;
      sink.failing = failing;
      const PipelineResult result = TranslationPipeline(input, lexicons, {threads, 4096}).finish(sink);
      EXPECT_TRUE(result.read_ok);
      EXPECT_EQ(result.status, 0);
      EXPECT_FALSE(result.written);
      EXPECT_EQ(sink.calls, failing) << threads << " threads";
    }
  }
  for (int i = 0; i < 20; ++i) TranslationPipeline pipeline(input, lexicons, {2, 1024});
}

}  // namespace
}  // namespace quillaret::testing
