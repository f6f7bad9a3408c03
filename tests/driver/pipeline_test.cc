#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "driver/pipeline.h"
#include "platform/platform.h"
#include "translate/random_plugins.h"

namespace quillaret::testing {
namespace {

// How the pipeline gets its second thread, if any.
enum class Helper { none, own, waiting };

// The pipeline, reading parts of at least `part_bytes`: alone, with a
// helper of its own, or with one that waits in it from before the input is
// set, as the program's does; started before `run` (the helper then works
// alone a while) or not.
PassResult pipelined(std::string_view input, const Lexicons& lexicons, uint64_t part_bytes,
                     Helper helper, bool start_early) {
  StringConsole console;
  std::string log;
  StringSink sink;
  TranslationPipeline pipeline(lexicons, sink);
  std::optional<platform::Thread> waiting;
  if (helper == Helper::waiting) waiting.emplace([&] { pipeline.help(); });
  pipeline.set_input(input, part_bytes);
  if (start_early) {
    pipeline.start();
    platform::yield();
  }
  pipeline.run(helper == Helper::own ? 2 : 1);
  if (pipeline.read_status() != 0) return {-2, pipeline.read_messages(), "", ""};
  PassResult result{pipeline.report(console, &log), "", log, ""};
  if (result.status == 0) {
    EXPECT_EQ(pipeline.save(console), 0);
  }
  result.console = console.output;
  result.output = result.status == 0 ? sink.bytes : "";
  return result;
}

// Reading in parts, the filtered trees, the parts on two threads and the
// writing as they go are only ways to go faster: the messages, the log and
// the output must be those of one read, one pass over every node and the
// writer; including when a payload too large stops the pass in any part,
// a response grows too long, or the input is not a plug-in after
// translated parts (which fails the read, whatever the translation did).
TEST(TranslationPipeline, GivesWhatOneReadOnePassThenTheWriterGive) {
  std::mt19937 rng(777);
  int failures = 0, too_long = 0, unreadable = 0;
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
    if (below(rng, 8) == 0) {
      // Not a plug-in from here on: an unknown tag, or a cut record.
      input += below(rng, 2) ? sub("ZZZZ", "x") : builder::record("NPC_", {}).substr(0, 12);
    }
    Lexicons lexicons;
    random_lexicons(rng, &lexicons);
    const PassResult whole = translate_in_memory(input, lexicons);
    const uint64_t part_bytes = 1 + below(rng, 400);
    EXPECT_EQ(pipelined(input, lexicons, part_bytes, Helper::none, false), whole);
    EXPECT_EQ(pipelined(input, lexicons, part_bytes, Helper::own, below(rng, 2) == 0), whole);
    EXPECT_EQ(pipelined(input, lexicons, part_bytes, Helper::waiting, below(rng, 2) == 0), whole);
    EXPECT_EQ(pipelined(input, lexicons, 0, Helper::own, false), whole);
    failures += whole.status == -1;
    too_long += whole.console.find("string too long!") != std::string::npos;
    unreadable += whole.status == -2;
  }
  // Guards the generator: every kind of message must occur.
  EXPECT_GT(failures, 30);
  EXPECT_GT(too_long, 10);
  EXPECT_GT(unreadable, 30);
}

}  // namespace
}  // namespace quillaret::testing
