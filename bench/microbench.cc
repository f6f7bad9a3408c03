// Microbenchmarks of the three parts whose cost depends on the lexicons:
// loading them, rewriting dialogue responses and rewriting scripts, on the
// data set of seed 1 built in memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "dataset.h"
#include "lexicon/lexicon.h"
#include "plugin/reader.h"
#include "translate/pass.h"

namespace quillaret::bench {
namespace {

const Vocabulary& vocabulary() {
  static const Vocabulary v = make_vocabulary(1);
  return v;
}

// The full lexicon files, written once in a directory of their own,
// removed at exit.
struct LexiconDirectory {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("quillaret_microbench_" + std::to_string(std::random_device()()));
  bool written =
      std::filesystem::create_directories(dir) && write_lexicons(vocabulary(), dir.string());
  ~LexiconDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

void BM_LoadLexicons(benchmark::State& state) {
  static const LexiconDirectory directory;
  const std::string prefix = (directory.dir / "lexique_enfr").string();
  bool loaded = directory.written;
  for (auto _ : state) {
    Lexicons lexicons;
    for (const LexiconFile& file : kLexiconFiles) {
      loaded =
          loaded && load_lexicon(prefix + file.suffix, file.phrases, &(lexicons.*file.lexicon));
    }
    if (!loaded) {
      state.SkipWithError("cannot load the lexicons");
      break;
    }
    benchmark::DoNotOptimize(lexicons.names.find_exact(""));
  }
}
BENCHMARK(BM_LoadLexicons)->Unit(benchmark::kMillisecond);

// Runs `rewrite` over every `tag` subrecord of the `parent` records of a
// master with 5,000 responses, with the lexicons of the data set, the name
// lexicon cut to `names` of its entries evenly spread. Each node and its
// record are restored after it: every iteration does the same work.
void rewrite_all(benchmark::State& state, Tag parent, Tag tag, size_t names,
                 int (*rewrite)(Translation&, int32_t)) {
  static const std::string bytes = make_master(vocabulary(), 80.0 * 5000 / 28000, 2);
  RecordTree tree;
  std::string error;
  RecordReader(bytes, nullptr).read_part(bytes.size(), &tree, &error);
  std::vector<RecordNode>& nodes = tree.nodes;
  std::vector<int32_t> subjects;
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].tag == tag && nodes[i].parent >= 0 && nodes[nodes[i].parent].tag == parent) {
      subjects.push_back(static_cast<int32_t>(i));
    }
  }
  Vocabulary cut = vocabulary();
  cut.names.clear();
  for (size_t i = 0; i < names; ++i) {
    cut.names.push_back(vocabulary().names[i * vocabulary().names.size() / names]);
  }
  const auto files = lexicon_files(cut);
  Lexicons lexicons;
  for (size_t i = 0; i < files.size(); ++i) {
    lexicons.*kLexiconFiles[i].lexicon = Lexicon(files[i], kLexiconFiles[i].phrases);
  }
  std::string messages;
  for (auto _ : state) {
    TextArena arena;
    Translation t{bytes, tree, lexicons, arena, nullptr, &messages};
    for (int32_t index : subjects) {
      const RecordNode node = nodes[index], record = nodes[node.parent];
      rewrite(t, index);
      nodes[index] = node;
      nodes[node.parent] = record;
    }
    benchmark::ClobberMemory();
  }
}

// Argument: the number of names in the name lexicon (the topics stay full).
void BM_ResponseRewriting(benchmark::State& state) {
  rewrite_all(state, make_tag("INFO"), make_tag("NAME"), static_cast<size_t>(state.range(0)),
              translate_response_text);
}
BENCHMARK(BM_ResponseRewriting)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_ScriptRewriting(benchmark::State& state) {
  rewrite_all(state, make_tag("SCPT"), make_tag("SCTX"), vocabulary().names.size(),
              rewrite_script_text);
}
BENCHMARK(BM_ScriptRewriting)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillaret::bench

BENCHMARK_MAIN();
