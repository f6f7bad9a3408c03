#include "driver/pipeline.h"

#include <atomic>
#include <vector>

#include "platform/console.h"
#include "platform/platform.h"
#include "translate/text_arena.h"
#include "translate/translate.h"

namespace quillaret {
namespace {

// Runs of records per thread: enough for the two threads to finish close
// together and for the writing to follow the translation closely, few
// enough that taking a run costs nothing.
constexpr size_t kRunsPerThread = 24;

// One run of top-level records and what its translation left.
struct Run {
  int32_t first = -1;
  int32_t end = -1;         // the next run's first record, -1 for the last run
  uint64_t end_offset = 0;  // where the next run begins in the input
  StringConsole console;
  std::string log;
  int status = 0;
  std::atomic<bool> done{false};
};

}  // namespace

struct TranslationPipeline::State {
  std::string_view input;
  RecordTree& tree;
  const Lexicons& lexicons;
  PluginWriter writer;
  std::unique_ptr<Run[]> runs;
  size_t run_count = 0;
  bool parallel = false;
  // Each thread's texts; both live until the output is written.
  TextArena arenas[2];
  std::atomic<size_t> next_run{0};
  std::atomic<bool> failed{false};
  size_t written_runs = 0;

  State(std::string_view in, RecordTree& t, const Lexicons& l, ByteSink& sink)
      : input(in), tree(t), lexicons(l), writer(in, t, sink) {}

  // Translates the runs that are left, one at a time, until none is or
  // one failed; on the calling thread, also writes every run that is ready.
  void work(int thread) {
    while (true) {
      if (thread == 0) write_ready_runs();
      if (failed.load(std::memory_order_acquire)) return;
      const size_t index = next_run.fetch_add(1);
      if (index >= run_count) return;
      Run& run = runs[index];
      Translation t{input, tree, lexicons, arenas[thread], &run.log, run.console};
      run.status = translate_range(t, run.first, run.end);
      if (run.status != 0) failed.store(true, std::memory_order_release);
      run.done.store(true, std::memory_order_release);
    }
  }

  // Once no run is left to take: writes the runs as the helper finishes
  // them, until all are written or one failed.
  void write_remaining_runs() {
    while (written_runs < run_count && !failed.load(std::memory_order_acquire)) {
      if (runs[written_runs].done.load(std::memory_order_acquire)) {
        write_ready_runs();
      } else {
        platform::yield();
      }
    }
  }

  void write_ready_runs() {
    while (written_runs < run_count && runs[written_runs].done.load(std::memory_order_acquire) &&
           runs[written_runs].status == 0) {
      writer.write_until(runs[written_runs].end_offset);
      ++written_runs;
    }
  }
};

TranslationPipeline::TranslationPipeline(std::string_view input, RecordTree& tree,
                                         const Lexicons& lexicons, ByteSink& sink,
                                         uint64_t min_parallel_work)
    : state_(std::make_unique<State>(input, tree, lexicons, sink)) {
  uint64_t total_work = 0;
  const std::vector<int32_t> starts = split_work(tree, 2 * kRunsPerThread, &total_work);
  State& s = *state_;
  s.parallel = total_work >= min_parallel_work && starts.size() > 1;
  // On one thread, one run: the pass as a whole.
  s.run_count = s.parallel ? starts.size() : std::min<size_t>(starts.size(), 1);
  s.runs = std::make_unique<Run[]>(s.run_count);
  for (size_t i = 0; i < s.run_count; ++i) {
    Run& run = s.runs[i];
    run.first = starts[i];
    const bool last = i + 1 == s.run_count;
    run.end = last ? -1 : starts[i + 1];
    run.end_offset = last ? tree.end : header_offset(tree.nodes[static_cast<size_t>(run.end)]);
  }
}

TranslationPipeline::~TranslationPipeline() = default;

int TranslationPipeline::translate(Console& console, std::string* trace_log) {
  State& s = *state_;
  if (s.parallel) {
    platform::Thread helper([&s] { s.work(1); });
    s.work(0);
    s.write_remaining_runs();
    // Once the helper is joined, every run before the first failure is
    // translated.
  } else {
    s.work(0);
  }
  // The messages and log lines of every run up to the first that failed;
  // the runs after it may not all have run.
  for (size_t i = 0; i < s.run_count; ++i) {
    const Run& run = s.runs[i];
    console.print(run.console.output);
    if (trace_log != nullptr) *trace_log += run.log;
    if (run.status != 0) return -1;
  }
  console.print("done!\n");
  return 0;
}

int TranslationPipeline::save(Console& console) {
  console.print("saving...\n");
  return state_->writer.finish() ? 0 : -1;
}

}  // namespace quillaret
