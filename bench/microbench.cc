// Microbenchmarks of the three parts whose cost depends on the lexicons:
// loading them, rewriting dialogue responses and rewriting scripts. The data
// comes from the benchmark data set (seed 1), built in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

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

Lexicon lexicon_from(const std::string& text) {
  return Lexicon(text);
}

Lexicons lexicons_from(const Vocabulary& v) {
  const LexiconFiles files = lexicon_files(v);
  return {lexicon_from(files.topics), lexicon_from(files.factions), lexicon_from(files.names)};
}

// Full-size lexicon files in a temporary directory, removed at exit.
class LexiconDirectory {
 public:
  LexiconDirectory() {
    // A name of its own, so that two runs at once do not share it.
    dir_ = std::filesystem::temp_directory_path() /
           ("quillaret_microbench_" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(dir_);
    const LexiconFiles files = lexicon_files(vocabulary());
    write("lexique_enfr_dial.txt", files.topics);
    write("lexique_enfr_fact.txt", files.factions);
    write("lexique_enfr_name.txt", files.names);
  }
  ~LexiconDirectory() { std::filesystem::remove_all(dir_); }
  std::string prefix() const { return (dir_ / "lexique_enfr").string(); }

 private:
  void write(const char* name, const std::string& bytes) {
    std::FILE* file = std::fopen((dir_ / name).string().c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  std::filesystem::path dir_;
};

void BM_LoadLexicons(benchmark::State& state) {
  static const LexiconDirectory directory;
  for (auto _ : state) {
    Lexicons lexicons;
    bool loaded = true;
    for (const LexiconFile& file : kLexiconFiles) {
      loaded = loaded && load_lexicon(directory.prefix() + file.suffix, file.phrases,
                                      &(lexicons.*file.lexicon));
    }
    if (!loaded) {
      state.SkipWithError("cannot load the lexicons");
      break;
    }
    benchmark::DoNotOptimize(lexicons.names.find_exact(""));
  }
  // A label rather than a counter: the CSV report of interleaved
  // repetitions wants every benchmark to have the same counters.
  state.SetLabel(std::to_string(vocabulary().topics.size() + vocabulary().factions.size() +
                                vocabulary().names.size()) +
                 " entries");
}
BENCHMARK(BM_LoadLexicons)->Unit(benchmark::kMillisecond);

// A parsed plug-in and the nodes of one subrecord kind in it.
struct Subject {
  std::string bytes;
  RecordTree tree;
  std::vector<int32_t> nodes;

  Subject(std::string plugin, Tag parent, Tag tag) : bytes(std::move(plugin)) {
    RecordReader reader(bytes, nullptr);
    std::string error;
    reader.read_part(bytes.size(), &tree, &error);
    for (size_t i = 0; i < tree.nodes.size(); ++i) {
      const RecordNode& node = tree.nodes[i];
      if (node.tag == tag && node.parent >= 0 &&
          tree.nodes[static_cast<size_t>(node.parent)].tag == parent) {
        nodes.push_back(static_cast<int32_t>(i));
      }
    }
  }
};

// Runs `rewrite` over every node of `subject`, restoring each node and its
// record afterwards so that every iteration does the same work.
template <class Rewrite>
void rewrite_all(benchmark::State& state, Subject& subject, const Lexicons& lexicons,
                 Rewrite rewrite) {
  std::string messages;
  std::vector<RecordNode>& nodes = subject.tree.nodes;
  int64_t bytes = 0;
  for (int32_t index : subject.nodes) bytes += nodes[static_cast<size_t>(index)].size;
  for (auto _ : state) {
    TextArena arena;
    Translation t{subject.bytes, subject.tree, lexicons, arena, nullptr, &messages};
    for (int32_t index : subject.nodes) {
      RecordNode& node = nodes[static_cast<size_t>(index)];
      RecordNode& record = nodes[static_cast<size_t>(node.parent)];
      const RecordNode saved_node = node;
      const RecordNode saved_record = record;
      rewrite(t, index);
      node = saved_node;
      record = saved_record;
    }
    benchmark::DoNotOptimize(arena.bytes_used());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(subject.nodes.size()));
}

// Argument: the number of names in the name lexicon (the topics stay full).
void BM_ResponseRewriting(benchmark::State& state) {
  static Subject subject(make_dialogue(vocabulary(), 5000, 2), make_tag("INFO"), make_tag("NAME"));
  const Lexicons lexicons =
      lexicons_from(with_names(vocabulary(), static_cast<size_t>(state.range(0))));
  rewrite_all(state, subject, lexicons, translate_response_text);
}
BENCHMARK(BM_ResponseRewriting)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_ScriptRewriting(benchmark::State& state) {
  static Subject subject(make_scripts(vocabulary(), 1000, 3), make_tag("SCPT"), make_tag("SCTX"));
  const Lexicons lexicons = lexicons_from(vocabulary());
  rewrite_all(state, subject, lexicons, rewrite_script_text);
}
BENCHMARK(BM_ScriptRewriting)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillaret::bench

BENCHMARK_MAIN();
