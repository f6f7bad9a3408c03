#include <gtest/gtest.h>

#include <random>
#include <string>

#include "driver/pipeline.h"
#include "platform/console.h"
#include "plugin/record_tree.h"
#include "translate/random_plugins.h"
#include "translate/text_arena.h"
#include "translate/translate.h"

namespace quillaret::testing {
namespace {

struct StringSink : ByteSink {
  bool write(const char* data, size_t size) override { return bytes.append(data, size), true; }
  std::string bytes;
};

// What one way of running the pass leaves: its status, messages, log and
// output.
struct Result {
  int status;
  std::string console, log, output;
  bool operator==(const Result&) const = default;
};

// One pass over every node, then the writer.
Result in_turn(std::string_view input, const Lexicons& lexicons) {
  StringConsole console;
  RecordTree tree;
  EXPECT_EQ(parse_records(input, &tree, console), 0);
  TextArena arena;
  std::string log;
  Translation translation{input, tree, lexicons, arena, &log, console};
  Result result{translate_records(translation), "", log, ""};
  StringSink sink;
  if (result.status == 0) {
    EXPECT_EQ(save_records(input, tree, sink, console), 0);
  }
  result.console = console.output;
  result.output = sink.bytes;
  return result;
}

// The pipeline over the translation's own tree.
Result pipelined(std::string_view input, const Lexicons& lexicons, uint64_t min_parallel_work) {
  StringConsole console;
  RecordTree tree;
  EXPECT_EQ(parse_records(input, &tree, console, &translated_entries()), 0);
  std::string log;
  StringSink sink;
  TranslationPipeline pipeline(input, tree, lexicons, sink, min_parallel_work);
  Result result{pipeline.translate(console, &log), "", log, ""};
  if (result.status == 0) {
    EXPECT_EQ(pipeline.save(console), 0);
  }
  result.console = console.output;
  result.output = result.status == 0 ? sink.bytes : "";
  return result;
}

// The filtered tree, the runs on two threads and the writing as they go
// are only ways to go faster: the messages, the log and the output must be
// those of one pass over every node then the writer, including when a
// payload too large stops the pass in any run, or a response grows too
// long.
TEST(TranslationPipeline, GivesWhatOnePassThenTheWriterGive) {
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
    const Result whole = in_turn(input, lexicons);
    EXPECT_EQ(pipelined(input, lexicons, UINT64_MAX), whole);
    EXPECT_EQ(pipelined(input, lexicons, 0), whole);
    failures += whole.status != 0;
    too_long += whole.console.find("string too long!") != std::string::npos;
  }
  // Guards the generator: both kinds of message must occur.
  EXPECT_GT(failures, 30);
  EXPECT_GT(too_long, 10);
}

}  // namespace
}  // namespace quillaret::testing
