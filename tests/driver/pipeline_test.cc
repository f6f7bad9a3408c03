#include <gtest/gtest.h>

#include <random>
#include <string>

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

// Reading in parts, the filtered trees, the parts on two threads and the
// writing as they go are only ways to go faster: the messages, the log and
// the output must be those of one read, one pass over every node and the
// writer; including when a payload too large stops the pass in any part,
// a response grows too long, or the input is not a plug-in after
// translated parts (which fails the read, whatever the translation did).
TEST(TranslationPipeline, GivesWhatOneReadOnePassThenTheWriterGive) {
  std::mt19937 rng(777);
  const std::string too_large = builder::record("WEAP", {sub("FNAM", std::string(40000, 'x'))});
  std::string great;
  for (int i = 0; i < 120; ++i) great += "Great ";
  int failures = 0, too_long = 0, unreadable = 0;
  for (int round = 0; round < 600; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::string input = random_plugin(rng) + random_plugin(rng);
    if (below(rng, 6) == 0) input.insert(below(rng, 2) ? 0 : input.size(), too_large);
    if (below(rng, 4) == 0) input += builder::record("INFO", {sub("NAME", great)});
    if (below(rng, 8) == 0) {
      // Not a plug-in from here on: an unknown tag, or a cut record.
      input += below(rng, 2) ? sub("ZZZZ", "x") : builder::record("NPC_", {}).substr(0, 12);
    }
    Lexicons lexicons;
    random_lexicons(rng, &lexicons);
    const PassResult whole = translate_in_memory(input, lexicons);
    const uint64_t part_bytes = 1 + below(rng, 400);
    EXPECT_EQ(pipelined(input, lexicons, part_bytes, 1, false), whole);
    EXPECT_EQ(pipelined(input, lexicons, part_bytes, 2, below(rng, 2) == 0), whole);
    EXPECT_EQ(pipelined(input, lexicons, 0, 2, false), whole);
    failures += whole.status == -1;
    too_long += whole.console.find("string too long!") != std::string::npos;
    unreadable += whole.status == -2;
  }
  // Guards the generator: every kind of message must occur.
  EXPECT_GT(failures, 30);
  EXPECT_GT(too_long, 10);
  EXPECT_GT(unreadable, 30);
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
